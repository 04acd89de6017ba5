#include "dialogs/InstallWindow.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"

namespace brenvik {

InstallWindow::InstallWindow(Platform& platform)
    : Form(platform, "install"), Label1(add<Label>("Label1")), Image1(add<Image>("Image1")) {
    applyDesign();
}

void InstallWindow::design() {
    setWindow("", BorderStyle::FixedDialog, 4710, 885);

    Image1.setGeometry({180, 202, 480, 480});
    Image1.setPicture("install");
    Label1.setCaption("Preparazione al Primo Avvio Brenvik in Corso...");
    Label1.setGeometry({840, 315, 3750, 255});
}

void InstallWindow::Form_Activate() {
    struct Step {
        int pause;
        const char* caption;
    };
    static constexpr Step steps[] = {
        {1000, "Inizio caricamento Brenvik..."}, {400, "Caricamento completato..."},
        {900, "Preparazione primo avvio..."},    {800, "Carico l'interfaccia guidata..."},
        {700, "Caricamento totale completato!"},
    };
    Desktop& d = platform().desktop;
    for (const Step& s : steps) {
        d.yield();
        platform().pauseAnswering(s.pause);
        // Closed from its frame meanwhile: setting the caption would only load it again.
        if (!visible())
            return;
        Label1.setCaption(s.caption);
    }
    unload();
}

} // namespace brenvik
