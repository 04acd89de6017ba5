#pragma once

#include <functional>
#include <string>
#include <vector>

namespace brenvik {

class Desktop;
class Files;
class Folders;
class Form;
class Launcher;
class SettingsStore;

// The platform's services as one bundle handed to every window, plus the stack of windows in
// front of one another (the active one last).
class Platform {
public:
    Platform(Desktop& theDesktop, Folders& theFolders, Files& theFiles, SettingsStore& theSettings,
             Launcher& theLauncher)
        : desktop(theDesktop), folders(theFolders), files(theFiles), settings(theSettings), launcher(theLauncher) {}
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    Desktop& desktop;
    // The drives and folders the browser shows, and the files the commands read and write.
    Folders& folders;
    Files& files;
    SettingsStore& settings;
    Launcher& launcher;

    // A message box; an empty title shows the application's title.
    int msgBox(const std::string& text, int flags, const std::string& title = "");

    // Runs `work` aside (Desktop::runAside) while the windows open now take no input but on the
    // controls that answer while busy: a running split or join is not started again, nor its
    // window changed under it, yet the window repaints, moves, opens About and asks before it
    // closes.
    void runAside(const std::function<void()>& work);
    // Handles the window events pending now, the windows open now taking input as they would
    // during runAside: for a wait on the user-interface thread that must not freeze the window.
    void answerWhileWaiting();
    // A fixed pause of a window's (a picture shown for a while, a moment for the screen to catch
    // up), the windows repainting, moving and minimising through it; the user's input waits for
    // its end, as through a plain pause.
    void pauseAnswering(int milliseconds);

    std::vector<Form*> activeForms;
};

} // namespace brenvik
