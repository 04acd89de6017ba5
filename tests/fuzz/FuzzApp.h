#pragma once

#include "mainwindow/MainWindow.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Form.h"
#include "platform/Launcher.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "support/UnattendedAnswer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace brenvik::fuzz {

// Stops the run with `what` when a property does not hold; libFuzzer keeps the input.
inline void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what.c_str());
        std::abort();
    }
}

// A desktop that answers every box unattended and closes every modal window at once.
class QuietDesktop : public Desktop {
public:
    int messageBox(const std::string&, int flags, const std::string&) override {
        ++boxes;
        return unattendedAnswer(flags);
    }
    void formShown(Form&) override {}
    void formHidden(Form&) override {}
    void formUnloaded(Form&) override {}
    void runModal(Form& form) override { form.hide(); }
    void yield() override {}
    void pause(int) override {}
    void beep() override {}
    [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
    int boxes = 0;
};

// One drive c: whose root holds the files `names` (each `size` bytes long) and no folders; no
// disk is touched, so that each input costs microseconds.
class NameListFiles : public FileSystem {
public:
    std::vector<std::string> names;
    int64_t size = 0;

    std::vector<DriveInfo> drives() override { return {{'c', "fuzz"}}; }
    std::string currentFolder(char) override { return "c:\\"; }
    void setCurrentFolder(const std::string&) override {}
    void checkFolder(const std::string& path) override {
        if (path != "c:\\")
            throw RuntimeError(err::PathNotFound);
    }
    std::vector<std::string> folders(const std::string&) override { return {}; }
    std::vector<std::string> files(const std::string&) override {
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end(), nameLess);
        return sorted;
    }
    void makeFolder(const std::string&) override { throw RuntimeError(err::PathFileAccess); }
    bool fileExists(const std::string&) override { return false; }
    int64_t fileLength(const std::string&) override { return size; }
    std::unique_ptr<File> openRead(const std::string&) override { throw RuntimeError(err::FileNotFound); }
    std::unique_ptr<File> create(const std::string&) override { throw RuntimeError(err::PermissionDenied); }
    Temporary createTemporary(const std::string&) override { throw RuntimeError(err::PermissionDenied); }
    void removeAbandonedTemporaries(const std::string&) override {}
    void removeFile(const std::string&) override { throw RuntimeError(err::FileNotFound); }
    void rename(const std::string&, const std::string&, Existing) override { throw RuntimeError(err::FileNotFound); }
    void replaceFile(const std::string&, const std::string&) override { throw RuntimeError(err::FileNotFound); }
    bool sameFile(const std::string&, const std::string&) override { return false; }
    std::string hostPath(const std::string&) override { return "/nonexistent"; }
};

class NoLauncher : public Launcher {
public:
    void start(const std::string&) override {}
};

// The main window started on NameListFiles as a returning user, without the start-up picture.
struct FuzzApp {
    FuzzApp() : platform(desktop, files, settings, launcher) {
        settings.save("Brenvik", "Primoavvio", "eseguito", "1");
        settings.save("Brenvik", "opzioni", "about", "0");
        settings.save("Brenvik", "path", "initialdir", "c:\\");
        main = std::make_unique<MainWindow>(platform);
        main->show();
    }

    QuietDesktop desktop;
    NameListFiles files;
    MemorySettingsStore settings;
    NoLauncher launcher;
    Platform platform;
    std::unique_ptr<MainWindow> main;
};

} // namespace brenvik::fuzz
