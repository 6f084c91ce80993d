# Signed programs made at build time: a code-signing certificate of its own for each signer name,
# made by openssl, a copy of a program signed with it by osslsigncode, and with TAMPERED one byte
# of the copy changed after signing (tools/tamper-file). Debian packages openssl and osslsigncode.
find_program(OPENSSL openssl)
find_program(OSSLSIGNCODE osslsigncode)
find_program(PYTHON3 python3)
if(NOT OPENSSL OR NOT OSSLSIGNCODE OR NOT PYTHON3)
  message(FATAL_ERROR "openssl, osslsigncode and python3 are needed to sign the demo and test programs: tools/install-deps")
endif()
set(RAVELIN_SIGNING_DIR ${CMAKE_BINARY_DIR}/signing)

# The key and certificate of a signer, by an identifier of its own; made once.
function(ravelin_signer id subject)
  set(key ${RAVELIN_SIGNING_DIR}/${id}.key)
  set(certificate ${RAVELIN_SIGNING_DIR}/${id}.pem)
  add_custom_command(OUTPUT ${certificate}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${RAVELIN_SIGNING_DIR}
    COMMAND ${OPENSSL} genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -quiet -out ${key}
    COMMAND ${OPENSSL} req -x509 -key ${key} -sha256 -days 3650 -subj "/CN=${subject}"
      -addext extendedKeyUsage=codeSigning -out ${certificate}
    COMMENT "A code-signing certificate of ${subject}" VERBATIM)
endfunction()

# output: the program of target, signed by the signer id (TAMPERED: and changed after).
function(ravelin_signed_copy output target id)
  set(certificate ${RAVELIN_SIGNING_DIR}/${id}.pem)
  set(steps COMMAND ${CMAKE_COMMAND} -E rm -f ${output}
    COMMAND ${OSSLSIGNCODE} sign -certs ${certificate} -key ${RAVELIN_SIGNING_DIR}/${id}.key -h sha256
      -in $<TARGET_FILE:${target}> -out ${output})
  if("TAMPERED" IN_LIST ARGN)
    list(APPEND steps COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/tamper-file ${output})
  endif()
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    ${steps}
    DEPENDS ${target} ${certificate} ${CMAKE_SOURCE_DIR}/tools/tamper-file
    COMMENT "Signing ${output}" VERBATIM)
endfunction()
