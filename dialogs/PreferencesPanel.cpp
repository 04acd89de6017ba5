#include "dialogs/PreferencesPanel.h"

#include "app/Settings.h"
#include "dialogs/GuideWindow.h"
#include "platform/Platform.h"

#include <string>

namespace brenvik {

PreferencesPanel::PreferencesPanel(Platform& platform, GuideWindow& guida)
    : Form(platform, "helpfrm"), Frame1(add<Frame>("Frame1")), cartsplit(add<CheckBox>("cartsplit", &Frame1)),
      cartunisci(add<CheckBox>("cartunisci", &Frame1)), about(add<CheckBox>("about", &Frame1)),
      Image1(add<Image>("Image1", &Frame1)), Frame2(add<Frame>("Frame2")), help(add<CommandButton>("help", &Frame2)),
      Image2(add<Image>("Image2", &Frame2)), Command1(add<CommandButton>("Command1")),
      Command2(add<CommandButton>("Command2")), focus(add<CommandButton>("focus")), guida_(guida) {
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    help.onClick = [this] { help_Click(); };
    // `focus` lies wholly behind "&Chiudi": it only holds the keyboard focus.
    setStacking(
        {&Command1, &Command2, &focus, &Frame1, &cartsplit, &cartunisci, &about, &Image1, &Frame2, &help, &Image2});
    setTabOrder({&cartsplit, &cartunisci, &about, &help, &Command1, &Command2, &focus});
    applyDesign();
}

void PreferencesPanel::design() {
    setWindow("------------------------[Pannello Opzioni]-------------------------", BorderStyle::FixedSingle, 4560,
              4230);
    setIcon("brenvik");

    Frame1.setCaption("Opzioni");
    Frame1.setGeometry({120, 180, 4335, 2355});
    cartsplit.setCaption("Apri cartella destinazione files dopo lo split.");
    cartsplit.setGeometry({180, 360, 3315, 195});
    cartunisci.setCaption("Apri cartella destinazione files dopo l'unione.");
    cartunisci.setGeometry({180, 780, 3675, 255});
    about.setCaption("Visualizza Finestra About all'entrata!");
    about.setGeometry({180, 1260, 3075, 195});
    Image1.setGeometry({3480, 1560, 720, 720});
    Image1.setPicture("prefs_options");

    Frame2.setCaption("Help");
    Frame2.setGeometry({120, 2580, 4335, 975});
    help.setCaption("Visualizza la guida");
    help.setGeometry({1320, 360, 1635, 375});
    Image2.setGeometry({480, 300, 480, 480});
    Image2.setPicture("prefs_help");

    Command1.setCaption("&Applica");
    Command1.setGeometry({540, 3720, 1455, 375});
    Command2.setCaption("&Chiudi");
    Command2.setGeometry({2520, 3720, 1455, 375});
    focus.setCaption("Command3");
    focus.setGeometry({2880, 3840, 675, 195});
}

void PreferencesPanel::Form_Activate() {
    focus.setFocus();
    // Refilled at every showing, so changes that were not applied are gone.
    Settings settings(platform().settings);
    cartsplit.setValue(settings.checkState(Settings::CartSplit, 0));
    cartunisci.setValue(settings.checkState(Settings::CartUnisci, 1));
    about.setValue(settings.checkState(Settings::About, 1));
}

void PreferencesPanel::Command1_Click() {
    Settings settings(platform().settings);
    settings.save(Settings::CartSplit, std::to_string(cartsplit.value()));
    settings.save(Settings::CartUnisci, std::to_string(cartunisci.value()));
    settings.save(Settings::About, std::to_string(about.value()));
    hide();
}

void PreferencesPanel::Command2_Click() {
    hide();
}

void PreferencesPanel::help_Click() {
    guida_.showModal();
}

} // namespace brenvik
