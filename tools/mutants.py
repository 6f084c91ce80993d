#!/usr/bin/env python3
"""The fault finder behind tools/mutants.

  mutants.py plan TREE SEED        every candidate fault in TREE/src, in sample order (TSV)
  mutants.py apply TREE SEED N     writes fault N of that plan into its file
  mutants.py tests TREE            "folder test" pairs: the test programs that hold tests of a folder

Faults are looked for in the code of src/*.cpp only: comments, string and character literals,
preprocessor lines and asserts are blanked before any search, so nothing there is ever changed.
Headers hold declarations, IDs and tables whose change would rebuild everything.
"""
import random
import re
import sys
from pathlib import Path

KINDS = ["compare", "negate", "drop-check", "constant", "drop-write"]

FLIP = {"==": "!=", "!=": "==", "<": ">=", ">=": "<", ">": "<=", "<=": ">"}

# Calls that change the system: Win32 writers (by return type) and the program's own writers.
WIN32_WRITERS = re.compile(r"(Reg(Set|Delete)\w*|(Delete|Move|Copy|Replace)File\w*|WriteFile|FlushFileBuffers"
                           r"|Write\w*Profile\w*|SetFileAttributes\w*|(Create|Remove)Directory\w*)$")
OWN_WRITERS = re.compile(r"(Write\w*|Save\w*|RemoveFile|RemoveFromSource|DeleteValue|Clear\w*Value"
                         r"|ReplaceFile\w*|CreateShortcut\w*)$")
SUCCESS = {"BOOL": "TRUE", "bool": "true", "HRESULT": "S_OK", "DWORD": "ERROR_SUCCESS", "LONG": "ERROR_SUCCESS",
           "LSTATUS": "ERROR_SUCCESS", "unsigned long": "ERROR_SUCCESS", "int": "0"}
EARLY_EXIT = re.compile(r"\s*\{?\s*(return|break|continue|throw|goto)\b")
ERROR_WORDS = re.compile(r"\b(ERROR_\w+|S_OK|FAILED|SUCCEEDED|nullptr|INVALID_HANDLE_VALUE)\b")
SINGLE_VALUE = re.compile(r"\s*!?\s*[\w.:>-]+\s*$")


def read(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def digit_separator(text, i):
    """Whether the quote at i sits inside a number, as in 1'000."""
    k = i
    while k > 0 and (text[k - 1].isalnum() or text[k - 1] == "_"):
        k -= 1
    return k < i and text[k].isdigit()


def mask(text):
    """The text with comments, literals and preprocessor lines blanked; same length and lines."""
    out = list(text)
    n, i = len(text), 0

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    at_line_start = True
    while i < n:
        c = text[i]
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        if at_line_start and c == "#":
            j = i
            while j < n and (text[j] != "\n" or text[j - 1] == "\\"):
                j += 1
            blank(i, j)
            i = j
            continue
        at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == '"' and i > 0 and text[i - 1] == "R":
            close = text.find("(", i)
            end = text.find(")" + text[i + 1:close] + '"', close)
            j = n if end < 0 else end + close - i + 1
            blank(i, j)
            i = j
        elif c == '"' or (c == "'" and not digit_separator(text, i)):
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            blank(i, min(j + 1, n))
            i = j + 1
        else:
            i += 1
    masked = "".join(out)
    for m in re.finditer(r"\b(static_assert|assert)\s*\(", masked):
        close = match_paren(masked, m.end() - 1)
        if close:
            masked = masked[:m.start()] + re.sub(r"[^\n]", " ", masked[m.start():close + 1]) + masked[close + 1:]
    return masked


def match_paren(m, at, step=1):
    """Where the bracket at `at` is matched, looking forward (step 1) or back (step -1)."""
    opening, closing = ("(", ")") if step > 0 else (")", "(")
    depth = 0
    while 0 <= at < len(m):
        depth += (m[at] == opening) - (m[at] == closing)
        if depth == 0:
            return at
        at += step
    return None


def callee_start(m, name_at):
    """Where the callee expression of a call to the name at name_at begins (obj.f, a->f, ns::f, g(x).f)."""
    i = name_at
    while True:
        if m[i - 1] == ".":
            k = i - 1
        elif m[i - 2:i] in ("->", "::"):
            k = i - 2
        else:
            return i
        if m[k - 1] == ")":
            k = match_paren(m, k - 1, -1)
            if k is None:
                return i
        while k > 0 and (m[k - 1].isalnum() or m[k - 1] == "_"):
            k -= 1
        i = k


def token_before(m, at):
    k = at - 1
    while k >= 0 and m[k].isspace():
        k -= 1
    if k < 0:
        return ""
    if m[k].isalnum() or m[k] == "_":
        j = k
        while j > 0 and (m[j - 1].isalnum() or m[j - 1] == "_"):
            j -= 1
        return m[j:k + 1]
    return m[k]


def return_types(tree):
    """Return type of each function defined or declared in src, by name."""
    types = {}
    pattern = re.compile(r"^[ \t]*(?:static\s+|inline\s+|virtual\s+)*((?:unsigned\s+)?[A-Za-z_][\w:]*)\s*[*&]?\s+"
                         r"(?:\w+::)*(\w+)\s*\(", re.M)
    for path in sorted((tree / "src").rglob("*")):
        if path.suffix in (".cpp", ".h"):
            for m in pattern.finditer(mask(read(path))):
                if m.group(1) not in ("return", "else", "case", "new", "delete", "throw", "goto"):
                    types.setdefault(m.group(2), m.group(1))
    return types


def operands(text, m, start, name_at, open_at, close_at):
    """The object a call is made on and the arguments that name something, as written."""
    found = []
    prefix = m[start:name_at]
    for op in (".", "->"):
        if prefix.endswith(op):
            found.append(text[start:name_at - len(op)])
    depth, cut = 0, open_at + 1
    for k in range(open_at + 1, close_at + 1):
        depth += (m[k] in "([{") - (m[k] in ")]}")
        if k == close_at or (m[k] == "," and depth == 0):
            if not re.fullmatch(r"\s*(L|u8|u|U|TRUE|FALSE|true|false|nullptr|NULL|\d\w*)?\s*", m[cut:k]):
                found.append(text[cut:k].strip())
            cut = k + 1
    return found


def split_condition(text, m, open_at, close_at):
    """(init, condition) of an if or while: an init-statement or a declaration stays as it is."""
    inner = m[open_at + 1:close_at]
    depth, cut = 0, -1
    for k, c in enumerate(inner):
        depth += (c in "([{") - (c in ")]}")
        if c == ";" and depth == 0:
            cut = k
    if cut >= 0:
        return text[open_at + 1:open_at + 2 + cut], text[open_at + 2 + cut:close_at]
    decl = re.match(r"\s*(?:const\s+)?(?:unsigned\s+)?[A-Za-z_][\w:<>]*\s*[*&]?\s+([A-Za-z_]\w*)\s*=[^=]", inner)
    if decl:
        return text[open_at + 1:close_at] + ";", " " + decl.group(1)
    return "", text[open_at + 1:close_at]


def find_faults(tree, rel, types):
    text = read(tree / rel)
    m = mask(text)
    faults = []

    def add(kind, start, end, after, shown=None):
        faults.append({"kind": kind, "file": rel, "start": start, "end": end, "after": after, "shown": shown})

    for op in re.finditer(r"(?<= )(==|!=|<=|>=|<|>)(?= )", m):
        add("compare", op.start(), op.end(), FLIP[op.group()])

    for cond in re.finditer(r"\b(if|while)\s*\(", m):
        open_at = cond.end() - 1
        close_at = match_paren(m, open_at)
        if close_at is None:
            continue
        init, condition = split_condition(text, m, open_at, close_at)
        add("negate", open_at, close_at + 1, f"({init}!({condition.strip()}))")
        guard = cond.group(1) == "if" and EARLY_EXIT.match(m, close_at + 1)
        masked_condition = m[open_at + 1:close_at]
        checks_result = (re.search(r"\w\s*\(", masked_condition) or ERROR_WORDS.search(masked_condition)
                         or SINGLE_VALUE.match(masked_condition))
        if guard and checks_result:
            add("drop-check", open_at, close_at + 1, f"({init}({condition.strip()}) && false)")

    # Rows of a placement table: a pixel more or less is not a fault anyone would notice.
    placements = [(t.start(), t.end()) for t in re.finditer(r"\{\s*IDC_\w+\s*,[^{}]*\}", m)]
    for num in re.finditer(r"(?<![\w.'])(\d+)([uUlL]*)(?![\w.'])", m):
        if any(a < num.start() < b for a, b in placements):
            continue
        value, suffix = int(num.group(1)), num.group(2)
        for changed in (value + 1, value - 1):
            if changed >= 0:
                add("constant", num.start(), num.end(), f"{changed}{suffix}")

    for call in re.finditer(r"\b([A-Za-z_]\w*)\s*\(", m):
        name = call.group(1)
        own = OWN_WRITERS.match(name) and name in types
        if not (own or WIN32_WRITERS.match(name) or (name == "Save" and m[call.start() - 2:call.start()] == "->")):
            continue
        start = callee_start(m, call.start())
        before = token_before(m, start)
        if before and (before[0].isalnum() or before[0] == "_" or before in "*&>~") and \
                before not in ("return", "else", "do"):
            continue  # a definition or a declaration, not a call
        close_at = match_paren(m, call.end() - 1)
        if close_at is None:
            continue
        # What the call was handed stays evaluated, so that no parameter or local becomes unused.
        kept = [f"(void)({e})" for e in operands(text, m, start, call.start(), call.end() - 1, close_at)]
        after_call = re.compile(r"\s*;").match(m, close_at + 1)
        if after_call and (before in ("", ";", "{", "}", ")", "else", "do")):
            add("drop-write", start, after_call.end(), ", ".join(kept) + ";" if kept else "{}", "nothing")
            continue
        kind = types.get(name) if own else ("HRESULT" if name == "Save" else
                                             "LSTATUS" if name.startswith("Reg") else "BOOL")
        value = SUCCESS.get(kind) or (kind + "{}" if kind and kind != "void" else None)
        if value:
            add("drop-write", start, close_at + 1, f"({', '.join(kept + [value])})" if kept else value, value)

    for f in faults:
        f["line"] = text.count("\n", 0, f["start"]) + 1
        f["before"] = text[f["start"]:f["end"]]
        if f["kind"] in ("compare", "constant"):
            # An operator or a number alone says little: show it within its line.
            a = max(text.rfind("\n", 0, f["start"]) + 1, text.find(" ", f["start"] - 30, f["start"]) + 1)
            b = min(text.find("\n", f["end"]), f["end"] + 30)
            b = max(text.rfind(" ", f["end"], b), b if text[b] == "\n" else f["end"])
            f["show"] = (text[a:b], text[a:f["start"]] + f["after"] + text[f["end"]:b])
        else:
            f["show"] = (f["before"], f["shown"] or f["after"])
    return faults


def plan(tree, seed):
    """All faults: shuffled per kind by the seed, then dealt one kind after another."""
    types = return_types(tree)
    faults = []
    for path in sorted((tree / "src").rglob("*.cpp")):
        faults += find_faults(tree, path.relative_to(tree).as_posix(), types)
    faults.sort(key=lambda f: (f["file"], f["start"], f["end"], f["kind"], f["after"]))
    rng = random.Random(seed)
    queues = []
    for kind in KINDS:
        queue = [f for f in faults if f["kind"] == kind]
        rng.shuffle(queue)
        queues.append(queue)
    dealt = []
    while any(queues):
        for queue in queues:
            if queue:
                dealt.append(queue.pop(0))
    return dealt


def one_line(text, width=70):
    text = " ".join(text.split())
    return text if len(text) <= width else text[:width - 3] + "..."


def main(argv):
    tree = Path(argv[2])
    if argv[1] == "plan":
        for n, f in enumerate(plan(tree, int(argv[3]))):
            before, after = f["show"]
            print(f"{n}\t{f['kind']}\t{f['file']}:{f['line']}\t{one_line(before)} -> {one_line(after)}")
    elif argv[1] == "apply":
        f = plan(tree, int(argv[3]))[int(argv[4])]
        path = tree / f["file"]
        text = read(path)
        assert text[f["start"]:f["end"]] == f["before"]
        with open(path, "w", encoding="utf-8", newline="") as out:
            out.write(text[:f["start"]] + f["after"] + text[f["end"]:])
    elif argv[1] == "tests":
        cmake = read(tree / "tests/CMakeLists.txt")
        for test in re.finditer(r"ravelin_test\((\w+)([^)]*)\)", cmake):
            folders = sorted({f.split("/")[0] for f in test.group(2).split() if f.endswith("Test.cpp")})
            for folder in folders:
                print(folder, test.group(1))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
