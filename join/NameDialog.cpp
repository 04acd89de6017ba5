#include "join/NameDialog.h"

namespace brenvik {

// STUB: filled in by the join work.
NameDialog::NameDialog(Platform& platform)
    : Form(platform, "nomefile"), Label1(add<Label>("Label1")), nf(add<TextBox>("nf")), ok(add<CommandButton>("ok")) {
    applyDesign();
}

void NameDialog::design() {}
void NameDialog::Form_Activate() {}
void NameDialog::Form_QueryUnload(bool& cancel) {
    (void)cancel;
}

} // namespace brenvik
