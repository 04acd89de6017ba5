#include "dialogs/AboutWindow.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
AboutWindow::AboutWindow(Platform& platform, const Image& banner)
    : Form(platform, "aboutform"), Image1(add<Image>("Image1")), Text(add<TextBox>("Text")),
      Picture1(add<PictureBox>("Picture1")), ok(add<CommandButton>("ok")), banner_(banner) {
    applyDesign();
}

void AboutWindow::design() {}
void AboutWindow::Form_Load() {}
void AboutWindow::Form_Activate() {}
void AboutWindow::ok_Click() {}

} // namespace brenvik
