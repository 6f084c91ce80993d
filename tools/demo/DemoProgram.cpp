// A stand-in for a vendor's startup program in the demo prefix: its version resource names
// the vendor, and run at a logon it ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
