#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"placeholder", L"Kestavine Idle", MB_OK);
    return 0;
}
