#include "dialogs/DestinationDialog.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
DestinationDialog::DestinationDialog(Platform& platform)
    : Form(platform, "optionsfrm"), Frame2(add<Frame>("Frame2")), outputdir(add<TextBox>("outputdir", &Frame2)),
      ok(add<CommandButton>("ok")), annulla(add<CommandButton>("annulla")), reset(add<CommandButton>("reset")),
      Image1(add<Image>("Image1")) {
    applyDesign();
}

void DestinationDialog::design() {}
void DestinationDialog::Form_Load() {}
void DestinationDialog::Form_Activate() {}
void DestinationDialog::ok_Click() {}
void DestinationDialog::annulla_Click() {}
void DestinationDialog::reset_Click() {}

} // namespace brenvik
