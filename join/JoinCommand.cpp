#include "join/JoinCommand.h"

#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "join/Joiner.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/WinPath.h"

namespace brenvik {

void JoinCommand::uniscifile_Click() {
    m.setProgress(0, "0");
    try {
        join();
    } catch (const RuntimeError& e) {
        m.platform().msgBox("Errore numero " + formatWhole(e.number()) + ":" + e.description(), mb::OK | mb::Critical,
                            "Error!");
        m.setProgress(0, "0");
    }
}

void JoinCommand::join() {
    Platform& p = m.platform();
    Settings settings(p.settings);

    if (selectedSources().empty()) {
        m.infolabel.setCaption("Seleziona Almeno un file!");
        return;
    }

    // An empty destination puts the joined file beside its parts, as it puts a split's parts
    // beside their source.
    std::string folder = settings.destination();
    const bool besideParts = folder.empty();
    int levelFailure = 0;
    if (besideParts)
        folder = winpath::join(m.pathbar.text(), "");
    else
        levelFailure = FareCartelle(p.files, folder);

    std::optional<JoinRequest> request = chooseOutput(folder);
    if (!request)
        return;
    const std::string output = request->output;
    Joiner joiner(p.files, std::move(*request));
    try {
        joiner.open();
    } catch (const RuntimeError& e) {
        // A destination that could not be made is reported for the reason it could not.
        throw RuntimeError(causeOf(e.number(), levelFailure));
    }
    m.setProgress(800, "20");
    p.desktop.refresh();
    joiner.write();
    m.setProgress(4000, "100");
    m.infolabel.setCaption("File Creato in " + output);

    // The folder as stored, without the separator FareCartelle may have added.
    const std::string stored = besideParts ? m.pathbar.text() : settings.destination();
    if (settings.openAfterJoin())
        p.launcher.openFolder(stored);
}

std::optional<JoinRequest> JoinCommand::chooseOutput(const std::string& folder) {
    Platform& p = m.platform();
    NameDialog& dialog = m.nomefile();
    if (!m.nomebase.empty())
        dialog.nf.setText(m.nomebase);
    dialog.showModal();
    if (dialog.cancelled()) {
        m.infolabel.setCaption("Unione annullata: nessun file è stato creato.");
        return std::nullopt;
    }
    p.desktop.yield();
    p.desktop.pause(100);
    p.desktop.yield();

    // Windows drops a name's trailing spaces, so a name of spaces names the folder itself, which
    // no file can be opened as; here it must not become a file of blanks either.
    if (dialog.nf.text().find_first_not_of(' ') == std::string::npos)
        throw RuntimeError(err::PathFileAccess);
    const std::string output = folder + dialog.nf.text();
    // Taken again: the dialog's yields may have let the user change the selection.
    std::vector<std::string> sources = selectedSources();
    // Truncating a source to write into it would destroy the very bytes to be copied.
    if (isSource(output, sources)) {
        m.infolabel.setCaption("Unione rifiutata: " + output + " è uno dei file da unire. Scegli un altro nome.");
        return std::nullopt;
    }
    const bool replacing = p.files.fileExists(output);
    if (replacing && p.msgBox("Il file " + output + " esiste già.\r\nVuoi sostituirlo con il file unito?",
                              mb::YesNo | mb::Question) != mb::IdYes) {
        m.infolabel.setCaption("Unione annullata: il file " + output + " non è stato sostituito.");
        return std::nullopt;
    }
    return JoinRequest{std::move(sources), output, replacing};
}

std::vector<std::string> JoinCommand::selectedSources() const {
    std::vector<std::string> out;
    const std::string folder = m.pathbar.text();
    const int count = m.File2.count();
    for (int i = 0; i < count; ++i)
        if (m.File2.selected(i))
            out.push_back(folder + "\\" + m.File2.item(i));
    return out;
}

bool JoinCommand::isSource(const std::string& output, const std::vector<std::string>& sources) const {
    Files& files = m.platform().files;
    const auto spelled = winpath::normalizeFolder(output);
    // An output that does not exist yet is none of the sources: no need to compare identities.
    bool exists = false;
    try {
        exists = files.fileExists(output);
    } catch (const RuntimeError&) {
        // Unreachable: only the spelling can tell.
    }
    for (const std::string& source : sources) {
        // The identity of the files catches links and other drives onto the same folder; the
        // spelling catches a source that cannot be reached at the moment.
        if (exists && files.sameFile(output, source))
            return true;
        if (spelled && spelled == winpath::normalizeFolder(source))
            return true;
    }
    return false;
}

} // namespace brenvik
