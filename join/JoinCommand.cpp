#include "join/JoinCommand.h"

#include "app/FolderCreation.h"
#include "app/Settings.h"
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

JoinCommand::JoinCommand(MainWindow& main) : m(main) {}

JoinCommand::~JoinCommand() = default;

void JoinCommand::uniscifile_Click() {
    abandonOutput();
    m.setProgress(0, "0");
    try {
        join();
    } catch (const RuntimeError& e) {
        abandonOutput();
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

    NameDialog& dialog = m.nomefile;
    if (!m.nomebase.empty())
        dialog.nf.setText(m.nomebase);
    dialog.showModal();
    if (dialog.cancelled()) {
        m.infolabel.setCaption("Unione annullata: nessun file è stato creato.");
        return;
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
    const std::vector<std::string> sources = selectedSources();
    // Truncating a source to write into it would destroy the very bytes to be copied.
    if (isSource(output, sources)) {
        m.infolabel.setCaption("Unione rifiutata: " + output + " è uno dei file da unire. Scegli un altro nome.");
        return;
    }
    const bool replacing = p.files.fileExists(output);
    if (replacing && p.msgBox("Il file " + output + " esiste già.\r\nVuoi sostituirlo con il file unito?",
                              mb::YesNo | mb::Question) != mb::IdYes) {
        m.infolabel.setCaption("Unione annullata: il file " + output + " non è stato sostituito.");
        return;
    }

    // The joined file is written aside and takes its name only once complete and on the disk:
    // a join that stops half-way, even killed, never leaves a partial file under the name, nor
    // costs the user a file it was to replace, and a link of that name is replaced, never
    // written through.
    try {
        output_ = p.files.createNew(output);
    } catch (const RuntimeError& e) {
        // A destination that could not be made is reported for the reason it could not.
        throw RuntimeError(causeOf(e.number(), levelFailure));
    }
    m.setProgress(800, "20");
    p.desktop.refresh();
    std::vector<FileStamp> stamps;
    for (const std::string& path : sources) {
        source_ = p.files.openRead(path);
        stamps.push_back(source_->stamp());
        copier_.AccodaFile(*source_, output_->file(), source_->length());
        source_->close();
        source_.reset();
    }
    // "File Creato" must mean the bytes are on the disk, not in a cache a power cut would lose.
    output_->flush();
    // Nor a mix: a source written to or replaced since it was opened (a split naming its set in
    // that folder, a download still running) would put in the joined file bytes of before and
    // after. Such a file is in use elsewhere.
    for (size_t i = 0; i < sources.size(); ++i)
        if (p.files.stampOf(sources[i]) != stamps[i])
            throw RuntimeError(err::FileAlreadyOpen);
    const std::string outputFolder = winpath::folderOf(output);
    {
        // A split naming its parts in the same folder meanwhile waits, and so does this.
        const std::unique_ptr<FolderLock> lock = p.files.lockFolder(outputFolder);
        output_->commit(replacing ? Existing::Replace : Existing::Keep);
    }
    output_.reset();
    p.files.syncFolder(outputFolder);
    m.setProgress(4000, "100");
    m.infolabel.setCaption("File Creato in " + output);

    // The folder as stored, without the separator FareCartelle may have added.
    const std::string stored = besideParts ? m.pathbar.text() : settings.destination();
    if (settings.openAfterJoin())
        p.launcher.openFolder(stored);
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

void JoinCommand::abandonOutput() {
    source_.reset();
    output_.reset();
}

} // namespace brenvik
