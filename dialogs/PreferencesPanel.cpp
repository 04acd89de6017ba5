#include "dialogs/PreferencesPanel.h"

#include "dialogs/GuideWindow.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
PreferencesPanel::PreferencesPanel(Platform& platform, GuideWindow& guida)
    : Form(platform, "helpfrm"), Frame1(add<Frame>("Frame1")), cartsplit(add<CheckBox>("cartsplit", &Frame1)),
      cartunisci(add<CheckBox>("cartunisci", &Frame1)), about(add<CheckBox>("about", &Frame1)),
      Image1(add<Image>("Image1", &Frame1)), Frame2(add<Frame>("Frame2")), help(add<CommandButton>("help", &Frame2)),
      Image2(add<Image>("Image2", &Frame2)), Command1(add<CommandButton>("Command1")),
      Command2(add<CommandButton>("Command2")), focus(add<CommandButton>("focus")), guida_(guida) {
    applyDesign();
}

void PreferencesPanel::design() {}
void PreferencesPanel::Form_Activate() {}
void PreferencesPanel::Command1_Click() {}
void PreferencesPanel::Command2_Click() {}
void PreferencesPanel::help_Click() {}

} // namespace brenvik
