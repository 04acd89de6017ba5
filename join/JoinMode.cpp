#include "join/JoinMode.h"

#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/Utf8.h"
#include "split/PartNames.h"

namespace brenvik {

namespace {

constexpr const char* FirstNumber = "000";

// The number after `found` parts: three digits, back to "000" after "999".
std::string expectedAfter(int found) {
    return threeDigits(found % 1000);
}

} // namespace

void JoinMode::Option1_Click() {
    m.file1.setVisible(false);
    m.setProgress(0, "0");
    m.unisci.setVisible(false);
    m.infolabel.setCaption("Seleziona il file da splittare!");
}

void JoinMode::Option2_Click() {
    // The join reads its sources from the folder in pathbar, which in split mode may hold the
    // path of the file picked last.
    m.pathbar.setText(m.dir.path());
    m.file1.setVisible(true);
    m.setProgress(0, "0");
    m.unisci.setVisible(true);
    m.infolabel.setCaption("Seleziona i File da Unire e Premi Unisci!");
    m.split.setEnabled(false);
    m.Frame3.setEnabled(false);
    for (int i = 0; i < m.list.count(); ++i)
        m.list.setSelected(i, false);
    for (int i = 0; i < m.File2.count(); ++i)
        m.File2.setSelected(i, false);
    m.Label5.setCaption("0");
    Trova();
}

void JoinMode::File2_Click() {
    if (!m.Option2.value())
        return;
    int current = m.File2.listIndex();
    m.File2.setToolTip("File selezionato (" + (current >= 0 ? m.File2.item(current) : std::string()) + ")");
    // Counted at every click, so once per part while Trova selects a run of them.
    m.Label5.setCaption(formatWhole(m.File2.selCount()));
}

void JoinMode::Trova() {
    m.nomebase.clear();
    std::string expected = FirstNumber;
    int found = 0;
    const int count = m.File2.count();
    for (int i = 0; i < count; ++i) {
        const std::string name = m.File2.item(i);
        if (utf8::right(name, 3) != expected)
            continue;
        // The run keeps the base name of its part 000: a next number under another name belongs
        // to another set, and joining it would mix the two. It counts as any name that does not
        // match, which does not end the run.
        const std::string base = utf8::dropRight(name, 4);
        if (found > 0 && base != m.nomebase)
            continue;
        // A name that is only the number ("000") is a part without a base name: it is taken
        // into the run, and nomebase is left empty so the join proposes the name typed last.
        m.nomebase = base;
        m.File2.setSelected(i, true);
        ++found;
        expected = expectedAfter(found);
    }

    const std::string counter = m.Label5.caption();
    if (leadingNumber(counter) < 1)
        return;
    m.platform().msgBox("La ricerca Automatica, ha trovato " + counter + " File Da unire!\r\n" +
                            "Clicca unisci per assemblarli, o seleziona i file manualmente.",
                        mb::OK | mb::Information);
    m.uniscifile.setFocus();
}

} // namespace brenvik
