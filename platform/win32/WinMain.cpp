// Brenvik on Windows: the program's entry. It builds the platform (the system's drives, the
// settings in the user's registry, the launcher, the Win32 desktop), opens the main window and
// runs the message loop. No command-line argument is read. When the system asks it to end (logoff,
// shutdown) it saves the folder on show and ends, as a confirmed close does.
#include "app/Lifecycle.h"
#include "mainwindow/MainWindow.h"
#include "platform/HostFileSystem.h"
#include "platform/HostLauncher.h"
#include "platform/Platform.h"
#include "platform/UserAction.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/windows/RegistrySettingsStore.h"

#include <commctrl.h>

namespace {

brenvik::MainWindow* mainWindow = nullptr;
brenvik::Platform* thePlatform = nullptr;

// The session's end reaches a hidden window of its own, whatever window is on show or modal.
LRESULT CALLBACK sessionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION)
        return TRUE;
    if (message == WM_ENDSESSION && wParam && mainWindow)
        brenvik::runUserAction(*thePlatform, [] { mainWindow->lifecycle().endRequested(); });
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void watchSessionEnd(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = sessionProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"BrenvikSession";
    RegisterClassExW(&wc);
    // A top-level window (not a message-only one), since only those are told the session ends.
    CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Every DLL loaded from here on comes from the system's folder, never from the program's own
    // (a downloads folder may hold anything). The imports were resolved before: all are the
    // system's, and the common controls come through the manifest, from the system's store.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    brenvik::HostFileSystem files(brenvik::DriveTable::forThisUser());
    brenvik::RegistrySettingsStore settings;
    brenvik::HostLauncher launcher(files);
    brenvik::Win32Desktop desktop(instance);
    brenvik::Platform platform(desktop, files, files, settings, launcher);

    brenvik::MainWindow main(platform);
    mainWindow = &main;
    thePlatform = &platform;
    watchSessionEnd(instance);
    main.show();
    desktop.run();
    // The program ends only through the exit question; should the loop ever return, end the same
    // way, before any window is torn down.
    desktop.endProgram();
}
