#include "dialogs/Wizard.h"

#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "platform/Convert.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace brenvik {

namespace {

constexpr Color Shadow{128, 128, 128};
constexpr Color Highlight{255, 255, 255};

// What the wizard stores when the typed folder cannot be walked at all.
constexpr const char* FallbackDestination = "C:\\myfiles";

} // namespace

Wizard::Wizard(Platform& platform)
    : Form(platform, "wizard"), Label1(add<Label>("Label1")), Label2(add<Label>("Label2")),
      Label3(add<Label>("Label3")), Label4(add<Label>("Label4")), Label5(add<Label>("Label5")),
      Label6(add<Label>("Label6")), dest(add<TextBox>("dest")), Label7(add<Label>("Label7")),
      Label8(add<Label>("Label8")), avanti(add<CommandButton>("avanti")), fine(add<CommandButton>("fine")),
      focus(add<CommandButton>("focus")), Image1(add<Image>("Image1")), Line1(add<Shape>("Line1")),
      Line2(add<Shape>("Line2")) {
    avanti.onClick = [this] { avanti_Click(); };
    fine.onClick = [this] { fine_Click(); };
    // Each later page's labels lie in front of the earlier ones at the same places, so a revealed
    // page covers the previous one; `focus` hides behind `avanti`.
    setStacking({&avanti, &focus, &fine, &dest, &Label8, &Label7, &Label6, &Label5, &Label4, &Label3, &Label2, &Label1,
                 &Line1, &Line2, &Image1});
    setTabOrder({&avanti, &fine, &dest, &focus});
    applyDesign();
}

void Wizard::design() {
    setWindow("Interfaccia Guidata primo Avvio!", BorderStyle::FixedSingle, 4890, 3180);
    setIcon("brenvik");

    designPages();

    dest.setTag("3");
    dest.setGeometry({900, 1740, 3495, 315});
    dest.setText("C:\\myfiles");
    dest.setVisible(false);

    avanti.setCaption("&Avanti");
    avanti.setGeometry({60, 2700, 1335, 375});
    avanti.setEnabled(true);
    fine.setCaption("&Fine");
    fine.setGeometry({1380, 2700, 1335, 375});
    fine.setEnabled(false);
    focus.setCaption("Command1");
    focus.setGeometry({300, 2820, 495, 195});

    // A strip of picture beside the pages, and an etched rule above the buttons.
    Image1.setGeometry({60, 120, 735, 2400});
    Image1.setPicture("wizard");
    Line1.setGeometry({60, 2595, 4770, 15});
    Line1.setColors(Shadow, Shadow);
    Line2.setGeometry({60, 2610, 4770, 15});
    Line2.setColors(Highlight, Highlight);
}

void Wizard::designPages() {
    struct Page {
        Label& label;
        const char* tag;
        Geometry place;
        const char* caption;
    };
    for (const Page& p : {
             Page{Label1, "1", {900, 360, 3615, 255}, "Benvenuto Nuovo utente in Brenvik!"},
             Page{Label2,
                  "1",
                  {900, 780, 3675, 495},
                  "L'interfaccia guidata la guiderà all'uso di questo Splitter, illustrandone le principali "
                  "funzionalità."},
             Page{Label3,
                  "2",
                  {900, 360, 3735, 435},
                  "Brenvik permette di splittare e unire file in modo facile e veloce ..."},
             Page{Label4,
                  "2",
                  {900, 780, 3735, 675},
                  "Per scegliere se splittare o unire file utilizzare l'apposita parte \"seleziona modalità\"."},
             Page{Label5,
                  "3",
                  {900, 360, 3735, 975},
                  "Per procedere basta selezionare il file/s e cliccare sul bottone unisci o splitta. I files "
                  "verranno quindi creati in una cartella predefinità del programa che puoi specificare qui sotto, o "
                  "utilizzare la cartella di default."},
             Page{Label6, "3", {900, 1440, 3435, 195}, "Specifica la cartella di \"Destinazione Files\":"},
             Page{Label7,
                  "4",
                  {900, 360, 3735, 1035},
                  "Succesivamente potrai modificare questa cartella dal menù \"Destinazione Files.\" In caso di "
                  "problemi consulta la guida all'interno del menù \"opzioni\". Per informazioni su Brenvik vedi la "
                  "sexione \"About\"."},
             Page{Label8, "4", {900, 1320, 3675, 795}, "Buon lavoro..."},
         }) {
        p.label.setTag(p.tag);
        p.label.setGeometry(p.place);
        p.label.setCaption(p.caption);
        p.label.setTransparent(false);
        p.label.setVisible(std::string(p.tag) == "1");
    }
}

void Wizard::Form_Load() {
    pagina = 2;
}

void Wizard::Form_Activate() {
    focus.setFocus();
}

void Wizard::avanti_Click() {
    if (pagina == 5) {
        avanti.setEnabled(false);
        fine.setEnabled(true);
        return;
    }
    // The box is the one control the later labels cannot cover.
    if (pagina == 4)
        dest.setVisible(false);
    for (Control* c : controls()) {
        // A control without a numeric tag belongs to no page.
        auto page = strictNumber(c->tag());
        if (page && *page == pagina)
            c->setVisible(true);
    }
    pagina = static_cast<uint8_t>(pagina + 1);
}

void Wizard::fine_Click() {
    Platform& p = platform();
    Settings settings(p.settings);
    std::string destination = dest.text();
    try {
        createFolderLevels(p.files, destination, LevelFailure::Stop);
    } catch (const RuntimeError& e) {
        // A level that exists (75) keeps the typed folder; anything else falls back, unreported:
        // the split or the join creates the folder when it first writes there.
        if (e.number() != err::PathFileAccess)
            destination = FallbackDestination;
    }
    settings.save(Settings::Destinazione, destination);
    settings.save(Settings::Eseguito, "1");
    unload();
}

} // namespace brenvik
