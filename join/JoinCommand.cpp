#include "join/JoinCommand.h"

#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "app/Waits.h"
#include "join/JoinMode.h"
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

#include <chrono>

namespace brenvik {

namespace {

constexpr const char* Checking = "Controllo dei file da unire...";

} // namespace

void JoinCommand::uniscifile_Click() {
    m.setProgress(0, "0");
    folder_.clear();
    try {
        join();
    } catch (const RuntimeError& e) {
        failed(e.number());
    } catch (const SourcesChanged&) {
        refuseChanged();
    } catch (const WorkStopped&) {
        m.setProgress(0, "0");
    }
}

void JoinCommand::failed(int number) {
    Platform& p = m.platform();
    if (number == err::FileAlreadyOpen) {
        m.infolabel.setCaption(std::string("Unione interrotta: ") + FolderWait::AnotherBrenvik);
    } else {
        p.msgBox("Errore numero " + formatWhole(number) + ":" + describeError(number), mb::OK | mb::Critical, "Error!");
        if (number == err::DiskFull) {
            const std::string note = leftoversNote(p.folders, p.files, folder_);
            if (!note.empty())
                m.infolabel.setCaption("Unione interrotta: " + describeError(number) + note);
        }
    }
    m.setProgress(0, "0");
}

void JoinCommand::refuseChanged() {
    m.setProgress(0, "0");
    m.infolabel.setCaption("Unione rifiutata: i file selezionati sono cambiati da quando sono stati elencati. "
                           "Ricerca ripetuta: controlla la selezione e premi di nuovo Unisci.");
    try {
        m.File2.refresh();
    } catch (const RuntimeError&) {
        // The folder itself is gone: the list keeps what it showed, now unselected.
    }
    m.Label5.setCaption("0");
    m.joinMode().Trova();
}

void JoinCommand::checkAside(const std::function<void(const std::function<void()>& tick)>& checks) {
    Platform& p = m.platform();
    const std::string before = m.infolabel.caption();
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    const auto tick = [&] {
        if (!shown && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(100)) {
            shown = true;
            p.desktop.post([this] { m.infolabel.setCaption(Checking); });
        }
        p.desktop.throwIfStopped();
    };
    struct Restore {
        MainWindow& m;
        const std::string& before;
        ~Restore() {
            if (m.infolabel.caption() == Checking)
                m.infolabel.setCaption(before);
        }
    } restore{m, before};
    p.runAside([&] { checks(tick); });
}

void JoinCommand::join() {
    Platform& p = m.platform();
    Settings settings(p.settings);

    std::vector<JoinSource> chosen = selectedSources();
    if (chosen.empty()) {
        m.infolabel.setCaption("Seleziona Almeno un file!");
        return;
    }
    // Chosen from the list as it was shown: a file changed since is not what the user chose.
    checkAside([&](const std::function<void()>& tick) {
        for (const JoinSource& source : chosen) {
            tick();
            if (p.files.stampOf(source.path) != source.listed)
                throw SourcesChanged{};
        }
    });

    // An empty destination puts the joined file beside its parts, as it puts a split's parts
    // beside their source.
    std::string folder = settings.destination();
    const bool besideParts = folder.empty();
    int levelFailure = 0;
    if (besideParts)
        folder = winpath::join(m.pathbar.text(), "");
    else
        levelFailure = FareCartelle(p.files, folder);
    folder_ = folder;

    std::optional<JoinRequest> request = chooseOutput(folder, std::move(chosen));
    if (!request)
        return;
    const std::string output = request->output;
    Joiner joiner(p.files, std::move(*request));
    const auto checkpoint = [&p] { p.desktop.throwIfStopped(); };
    p.runAside([&] {
        try {
            joiner.open();
        } catch (const RuntimeError& e) {
            // A destination that could not be made is reported for the reason it could not.
            throw RuntimeError(causeOf(e.number(), levelFailure));
        }
        p.desktop.post([this] { m.setProgress(800, "20"); });
        joiner.write(
            FolderWait(
                [this, &p](const std::string& text) { p.desktop.post([this, text] { m.infolabel.setCaption(text); }); },
                checkpoint),
            checkpoint);
    });
    m.setProgress(4000, "100");
    m.infolabel.setCaption("File Creato in " + output);

    // The folder as stored, without the separator FareCartelle may have added.
    const std::string stored = besideParts ? m.pathbar.text() : settings.destination();
    if (settings.openAfterJoin())
        p.launcher.openFolder(stored);
}

std::optional<JoinRequest> JoinCommand::chooseOutput(const std::string& folder, std::vector<JoinSource> sources) {
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
    p.pauseAnswering(100);
    p.desktop.yield();

    // Windows drops a name's trailing spaces, so a name of spaces names the folder itself, which
    // no file can be opened as; here it must not become a file of blanks either.
    if (dialog.nf.text().find_first_not_of(' ') == std::string::npos)
        throw RuntimeError(err::PathFileAccess);
    const std::string output = folder + dialog.nf.text();
    bool source = false;
    bool replacing = false;
    checkAside([&](const std::function<void()>& tick) {
        tick();
        // Truncating a source to write into it would destroy the very bytes to be copied.
        source = isSource(output, sources);
        replacing = !source && p.files.fileExists(output);
    });
    if (source) {
        m.infolabel.setCaption("Unione rifiutata: " + output + " è uno dei file da unire. Scegli un altro nome.");
        return std::nullopt;
    }
    if (replacing && p.msgBox("Il file " + output + " esiste già.\r\nVuoi sostituirlo con il file unito?",
                              mb::YesNo | mb::Question) != mb::IdYes) {
        m.infolabel.setCaption("Unione annullata: il file " + output + " non è stato sostituito.");
        return std::nullopt;
    }
    return JoinRequest{std::move(sources), output, replacing};
}

std::vector<JoinSource> JoinCommand::selectedSources() const {
    std::vector<JoinSource> out;
    const std::string folder = m.pathbar.text();
    const int count = m.File2.count();
    for (int i = 0; i < count; ++i)
        if (m.File2.selected(i))
            out.push_back({folder + "\\" + m.File2.item(i), m.File2.stamp(i)});
    return out;
}

bool JoinCommand::isSource(const std::string& output, const std::vector<JoinSource>& sources) const {
    Files& files = m.platform().files;
    const auto spelled = winpath::normalizeFolder(output);
    // An output that does not exist yet is none of the sources: no need to compare identities.
    bool exists = false;
    try {
        exists = files.fileExists(output);
    } catch (const RuntimeError&) {
        // Unreachable: only the spelling can tell.
    }
    for (const JoinSource& source : sources) {
        // The identity of the files catches links and other drives onto the same folder; the
        // spelling catches a source that cannot be reached at the moment.
        if (exists && files.sameFile(output, source.path))
            return true;
        if (spelled && spelled == winpath::normalizeFolder(source.path))
            return true;
    }
    return false;
}

} // namespace brenvik
