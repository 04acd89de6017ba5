#include "mainwindow/StartupPicture.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"

namespace brenvik {

StartupPicture::StartupPicture(Platform& platform) : Form(platform, "mainform") {
    applyDesign();
}

void StartupPicture::design() {
    setWindow("", BorderStyle::None, 6000, 3600);
    setPicture("splash");
}

void StartupPicture::Form_Activate() {
    Desktop& d = platform().desktop;
    d.yield();
    platform().pauseAnswering(3000);
    d.yield();
    d.beep();
    unload();
}

} // namespace brenvik
