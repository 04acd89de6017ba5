#pragma once

#include "app/Lifecycle.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/DestinationDialog.h"
#include "dialogs/GuideWindow.h"
#include "dialogs/InstallWindow.h"
#include "dialogs/PreferencesPanel.h"
#include "dialogs/Wizard.h"
#include "join/JoinCommand.h"
#include "join/JoinMode.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartupPicture.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "split/PartSizeSelector.h"
#include "split/SplitCommand.h"
#include "support/FaultyFiles.h"
#include "support/ScriptedDesktop.h"
#include "support/TestDrives.h"

#include <memory>

namespace brenvik {

// The whole program headless, every window and handler declared for the tests to reach: scripted desktop, real
// temporary drives (behind hooks that can break them), settings in memory and a launcher that records. start() loads
// and shows the main window as the program does.
class TestApp {
public:
    TestApp() : platform(desktop, files, files, settings, launcher) {}

    // Settings that skip the first run and the start-up picture, with c:\ as the last folder.
    void presetReturningUser() {
        store("Primoavvio", "eseguito", "1");
        store("opzioni", "about", "0");
        store("path", "initialdir", "c:\\");
    }

    // Creates the main window, loads it and shows it (first activation included).
    MainWindow& start() {
        main_ = std::make_unique<MainWindow>(platform);
        main_->show();
        return *main_;
    }
    // A returning user whose last folder is `folder` (created when missing), then start().
    MainWindow& startIn(const std::string& folder = "c:\\") {
        presetReturningUser();
        drives.makeFolders(folder);
        store("path", "initialdir", folder);
        return start();
    }
    MainWindow& main() { return *main_; }

    ScriptedDesktop desktop;
    TestDrives drives;
    FaultyFiles files{drives.table()};
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform;

    std::string setting(const std::string& section, const std::string& key) {
        return settings.read("Brenvik", section, key, "<absent>");
    }
    void store(const std::string& section, const std::string& key, const std::string& value) {
        settings.save("Brenvik", section, key, value);
    }

private:
    std::unique_ptr<MainWindow> main_;
};

// Clicks `name` in the split-mode file list, reading the folder again when the list does not
// show it yet. Fails the test when the file is not there.
void clickFile(MainWindow& m, const std::string& name);

} // namespace brenvik
