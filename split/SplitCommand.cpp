#include "split/SplitCommand.h"

#include "dialogs/DestinationDialog.h"
#include "mainwindow/MainWindow.h"
#include "split/Splitter.h"

namespace brenvik {

void SplitCommand::Split_Click() {
    const SplitRequest request{m.Text.text(), m.grandezza, m.optionsfrm().outputdir.text(), m.filesel, m.cartella,
                               m.percorso,    m.dimensione};
    SplitFigures figures{m.resto, m.numparti, m.prefisso, m.prefissodest, m.estensioni};
    Splitter(m.platform(), m).split(request, figures);
}

} // namespace brenvik
