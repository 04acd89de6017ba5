#include "join/NameDialog.h"

namespace brenvik {

NameDialog::NameDialog(Platform& platform)
    : Form(platform, "nomefile"), Label1(add<Label>("Label1")), nf(add<TextBox>("nf")), ok(add<CommandButton>("ok")) {
    ok.onClick = [this] { ok_Click(); };
    setTabOrder({&nf, &ok, &Label1});
    applyDesign();
}

void NameDialog::design() {
    setWindow(std::string(21, '-') + "=[Nome File Da Creare]=" + std::string(24, '-'), BorderStyle::FixedDialog, 4860,
              1380);
    Label1.setCaption("Inserisci Nome e Estensione del File da creare!");
    Label1.setGeometry({120, 120, 4575, 255});
    nf.setText("nuovofile.exe");
    nf.setGeometry({120, 360, 4575, 285});
    ok.setCaption("&OK");
    ok.setGeometry({1680, 840, 1575, 375});
}

void NameDialog::ok_Click() {
    cancelled_ = false;
    hide();
}

void NameDialog::Form_Activate() {
    // Each showing starts as a confirmation; only the frame's close turns it into a cancel.
    cancelled_ = false;
    nf.setFocus();
}

void NameDialog::Form_QueryUnload(bool& cancel) {
    // Unloading would put nf back to its design text; hiding keeps the name and still ends the
    // modal showing.
    cancel = true;
    cancelled_ = true;
    hide();
}

} // namespace brenvik
