#pragma once

#include <string>
#include <vector>

namespace brenvik {

class Desktop;
class FileSystem;
class Form;
class Launcher;
class SettingsStore;

// The platform's services as one bundle handed to every window, plus the stack of windows in
// front of one another (the active one last).
class Platform {
public:
    Platform(Desktop& desktop, FileSystem& files, SettingsStore& settings, Launcher& launcher)
        : desktop(desktop), files(files), settings(settings), launcher(launcher) {}
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    Desktop& desktop;
    FileSystem& files;
    SettingsStore& settings;
    Launcher& launcher;

    // A message box; an empty title shows the application's title.
    int msgBox(const std::string& text, int flags, const std::string& title = "");

    std::vector<Form*> activeForms;
};

} // namespace brenvik
