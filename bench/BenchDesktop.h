#pragma once

#include "platform/Desktop.h"
#include "platform/Launcher.h"
#include "support/HeadlessDesktop.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace brenvik {

// A desktop for measuring: message boxes are answered unattended and remembered,
// modal windows run the action registered for their name, pauses do not sleep (the benchmark
// measures the disk, not the program's fixed waits).
class BenchDesktop : public HeadlessDesktop {
public:
    BenchDesktop() : HeadlessDesktop(std::chrono::milliseconds(50)) {}
    std::map<std::string, std::function<void(Form&)>> modalActions;
    std::vector<std::string> boxes;

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void formShown(Form&) override {}
    void formHidden(Form&) override {}
    void formUnloaded(Form&) override {}
    void runModal(Form& form) override;
    void yield() override {}
    void pause(int) override {}
    void beep() override {}
    [[noreturn]] void endProgram() override;
};

class NoLauncher : public Launcher {
public:
    void openFolder(const std::string&) override {}
};

} // namespace brenvik
