// Entry point used until the launcher core is built: the program carries its resources but
// serves no request yet.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
