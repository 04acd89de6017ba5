#include "dialogs/Wizard.h"

namespace brenvik {

// STUB: filled in by the dialogs work.
Wizard::Wizard(Platform& platform)
    : Form(platform, "wizard"), Label1(add<Label>("Label1")), Label2(add<Label>("Label2")),
      Label3(add<Label>("Label3")), Label4(add<Label>("Label4")), Label5(add<Label>("Label5")),
      Label6(add<Label>("Label6")), dest(add<TextBox>("dest")), Label7(add<Label>("Label7")),
      Label8(add<Label>("Label8")), avanti(add<CommandButton>("avanti")), fine(add<CommandButton>("fine")),
      focus(add<CommandButton>("focus")), Image1(add<Image>("Image1")), Line1(add<Shape>("Line1")),
      Line2(add<Shape>("Line2")) {
    applyDesign();
}

void Wizard::design() {}
void Wizard::Form_Load() {}
void Wizard::Form_Activate() {}
void Wizard::avanti_Click() {}
void Wizard::fine_Click() {}

} // namespace brenvik
