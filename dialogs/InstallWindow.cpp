#include "dialogs/InstallWindow.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
InstallWindow::InstallWindow(Platform& platform)
    : Form(platform, "install"), Label1(add<Label>("Label1")), Image1(add<Image>("Image1")) {
    applyDesign();
}

void InstallWindow::design() {}
void InstallWindow::Form_Activate() {
    unload();
}

} // namespace brenvik
