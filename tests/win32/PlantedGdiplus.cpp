// A gdiplus.dll of the tests' own, put beside brenvik.exe as one planted in a downloads folder
// would be: loaded, it leaves gdiplus-loaded.txt beside itself.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    DWORD cut = length;
    while (cut > 0 && path[cut - 1] != L'\\')
        --cut;
    const wchar_t name[] = L"gdiplus-loaded.txt";
    for (DWORD i = 0; i < sizeof name / sizeof name[0] && cut + i < MAX_PATH; ++i)
        path[cut + i] = name[i];
    HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE)
        CloseHandle(marker);
    return TRUE;
}
