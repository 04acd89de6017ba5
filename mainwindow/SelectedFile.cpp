#include "mainwindow/SelectedFile.h"

#include "app/ErrorMessages.h"
#include "app/Settings.h"
#include "dialogs/DestinationDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "split/PartSizeSelector.h"

#include <cmath>

namespace brenvik {

namespace {

constexpr const char* Irreversible = "Errore irreversibile";
constexpr const char* Unknown = "Errore sconosciuto";

double wholeKilobytes(double bytes) {
    return std::floor(bytes / 1024.0);
}

} // namespace

std::optional<std::string> SelectedFile::describe(const std::string& name, int64_t size, double kb) {
    const std::string head = "NOME FILE: " + name + "   Dimensione: ";
    if (kb > 0 && kb < 1024)
        return head + formatNumber(kb) + " KB;";
    if (kb > 1023)
        return head + formatNumber(kb) + " KB (" + formatNumber(wholeKilobytes(kb)) + " MB)";
    if (kb == 0)
        return head + formatWhole(size) + " byte;";
    return std::nullopt;
}

void SelectedFile::list_Click() {
    Platform& p = m.platform();
    const std::string name = m.list.fileName();
    if (name.empty()) {
        // Nothing is picked: nothing to describe, no folder to name after it, nothing to split.
        m.split.setEnabled(false);
        m.Frame3.setEnabled(false);
        return;
    }
    // With an empty destination the parts go beside the source: no folder of its own, which
    // would otherwise be the root of no drive.
    const std::string destination = Settings(p.settings).destination();
    m.optionsfrm().outputdir.setText(destination.empty() ? destination : destination + "\\[" + name + "]");
    if (m.Option2.value())
        return;

    m.Frame3.setEnabled(true);
    m.split.setEnabled(true);
    m.list.setToolTip("File selezionato (" + name + ")");
    m.filesel = name;
    m.cartella = m.dir.path();
    if (m.cartella.empty() || m.cartella.back() != '\\')
        m.cartella += '\\';
    m.percorso = m.cartella + m.filesel;

    // Each step is retried, skipped or given up on its own, as the error table's answer says; a
    // skipped measurement leaves the previous size in place.
    auto step = [&p](const std::function<void()>& action) { runWithRetry(p, action, Irreversible, Unknown); };
    step([this, &p] { m.dimensione = p.files.fileLength(m.percorso); });
    step([this] { m.partSize().ContaFile(); });
    step([this] { m.dimkb = wholeKilobytes(static_cast<double>(m.dimensione)); });
    step([this] {
        if (auto caption = describe(m.filesel, m.dimensione, m.dimkb))
            m.infolabel.setCaption(*caption);
    });
    step([this] { m.pathbar.setText(m.percorso); });
}

} // namespace brenvik
