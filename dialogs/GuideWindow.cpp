#include "dialogs/GuideWindow.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
const char* const GuideWindow::HelpText = "";

GuideWindow::GuideWindow(Platform& platform) : Form(platform, "guida"), Text1(add<TextBox>("Text1")) {
    applyDesign();
}

void GuideWindow::design() {}

} // namespace brenvik
