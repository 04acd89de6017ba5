// Brenvik: the program's entry. It builds the platform (the host's files with c: as the home
// folder, the settings file, the launcher, the Qt desktop), opens the main window and runs the
// event loop. No command-line argument is read. When the system asks it to end (logout, a
// terminating signal) it saves the folder on show and ends, as a confirmed close does.
#include "app/Lifecycle.h"
#include "mainwindow/MainWindow.h"
#include "platform/HostFileSystem.h"
#include "platform/HostLauncher.h"
#include "platform/Platform.h"
#include "platform/UserAction.h"
#include "platform/posix/IniSettingsStore.h"
#include "platform/qt/EndRequest.h"
#include "platform/qt/QtDesktop.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    brenvik::QtDesktop::prepareApplication(app);

    brenvik::HostFileSystem files(brenvik::DriveTable::forThisUser());
    brenvik::IniSettingsStore settings(brenvik::IniSettingsStore::defaultFolder());
    brenvik::HostLauncher launcher(files);
    brenvik::QtDesktop desktop;
    brenvik::Platform platform(desktop, files, files, settings, launcher);

    brenvik::MainWindow main(platform);
    brenvik::onEndRequest(app, [&] { brenvik::runUserAction(platform, [&] { main.lifecycle().endRequested(); }); });
    main.show();
    app.exec();
    // The program ends only through the exit question; should the loop ever return, end the
    // same way, before any window is torn down.
    desktop.endProgram();
}
