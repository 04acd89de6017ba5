#include "split/Splitter.h"

#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "app/Waits.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "split/AssemblyScript.h"
#include "split/PartNames.h"
#include "split/PartSet.h"
#include "split/PartWriter.h"
#include "split/PostedSplitReport.h"
#include "split/SplitAbort.h"
#include "split/SplitReport.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace brenvik {

namespace {

constexpr const char* ZeroSize = "Grandezza dei file da creare = 0!";
constexpr const char* LargerThanFile = "Il file da creare è più grande grande del file d'origine";
constexpr const char* TooManyParts = "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!";
constexpr int32_t MaxParts = 1000;

} // namespace

void Splitter::split(const SplitRequest& request, SplitFigures& figures) {
    while (runOnce(request, figures) == Outcome::TryAgain) {
    }
}

int16_t Splitter::ControllaGrandezza(int64_t grandezza, int64_t dimensione) {
    if (grandezza == 0) {
        report_.setStatus(ZeroSize);
        return 1;
    }
    if (grandezza > dimensione) {
        report_.setStatus(LargerThanFile);
        return 1;
    }
    return 0;
}

int16_t Splitter::ControllaParti(int64_t numparti) {
    if (numparti > MaxParts) {
        report_.setStatus(TooManyParts);
        return 1;
    }
    return 0;
}

Splitter::Outcome Splitter::runOnce(const SplitRequest& request, SplitFigures& figures) {
    report_.setProgress(0, "0");
    const std::optional<double> typed = strictNumber(request.typedSize);
    if (!typed || *typed == 0) {
        report_.setStatus(ZeroSize);
        return Outcome::Done;
    }
    const Destination d = destination(request, figures);
    try {
        const int64_t dimensione = request.filesel.empty() ? request.dimensione : measure(request);
        if (!count(request.grandezza, dimensione, figures))
            return Outcome::Done;
        if (!PartNames(report_).Ext(request.filesel, figures.prefisso, figures.estensioni))
            return Outcome::Done;
        write(request, d.cartdest, figures);
    } catch (const RuntimeError& e) {
        if (e.number() == err::FileAlreadyOpen)
            return interrupted(std::string("Split interrotto: ") + FolderWait::AnotherBrenvik);
        // A destination that could not be made is reported for the reason it could not, not as
        // a path that is missing.
        return failed(causeOf(e.number(), d.levelFailure), d.cartdest);
    } catch (const SplitAbort& abort) {
        return interrupted(abort.what());
    } catch (const WorkStopped&) {
        return interrupted("Split interrotto");
    } catch (const SetWrittenDiskFailed& failure) {
        // The set stands, whole; only its durability is in doubt.
        const std::string count = std::to_string(figures.numparti);
        report_.setStatus(" " + count + "/ " + count +
                          " files creati, ma il disco ha segnalato un errore: " + describeError(failure.number));
        return Outcome::Done;
    }
    if (Settings(platform_.settings).openAfterSplit()) {
        // With an empty destination the parts are beside the source: that folder is opened.
        platform_.launcher.openFolder(d.cartdest);
    }
    return Outcome::Done;
}

Splitter::Destination Splitter::destination(const SplitRequest& request, SplitFigures& figures) {
    // An empty destination means the source's own folder, which exists already; any other is
    // created level by level before the checks.
    if (request.outputdir.empty()) {
        figures.prefissodest = request.percorso + ".";
        return {request.cartella, 0};
    }
    std::string d = request.outputdir;
    const int levelFailure = FareCartelle(platform_.files, d);
    figures.prefissodest = d + request.filesel + ".";
    return {d, levelFailure};
}

bool Splitter::count(int64_t grandezza, int64_t dimensione, SplitFigures& figures) {
    if (ControllaGrandezza(grandezza, dimensione) == 1)
        return false;
    const int64_t whole = dimensione / grandezza;
    figures.resto = dimensione - whole * grandezza;
    const int64_t parts = whole + (figures.resto > 0 ? 1 : 0);
    figures.numparti = static_cast<int32_t>(std::min<int64_t>(parts, std::numeric_limits<int32_t>::max()));
    return ControllaParti(parts) == 0;
}

void Splitter::write(const SplitRequest& request, const std::string& cartdest, SplitFigures& figures) {
    PostedSplitReport aside(platform_.desktop, report_);
    platform_.runAside([&] {
        // The file list shows what the split left in the folder, once it ends, however it ends.
        struct ListRefresh {
            SplitReport& report;
            ~ListRefresh() { report.folderWritten(); }
        } listRefresh{aside};
        // The parts and the script are written aside and take their names together, once all are
        // on the disk: until then the folder keeps what it held, whatever happens.
        PartSet parts(platform_.files, platform_.folders, figures.prefissodest, figures.estensioni, figures.numparti,
                      cartdest + AssemblyScript::fileName(request.filesel));
        PartWriter writer(platform_.files, aside);
        const FileStamp opened = writer.CreaParti(request.grandezza, figures.resto, figures.numparti, request.percorso,
                                                  figures.prefisso, figures.estensioni, parts);
        const bool withScript = AssemblyScript(aside).CreaAssembla(figures.numparti, figures.prefisso,
                                                                   figures.estensioni, request.filesel, parts);
        // A source rewritten while it was read, even to the same length, gives parts of neither
        // version: they are not named.
        if (platform_.files.stampOf(request.percorso) != opened)
            throw SplitAbort(SplitAbort::SourceChanged);
        parts.commit(
            FolderWait([&aside](const std::string& text) { aside.setStatus(text); }, [&aside] { aside.checkpoint(); }));
        if (!withScript)
            throw SplitAbort(aside.status()); // the script's own reason stands
        writer.reportCreated(figures.numparti);
    });
}

int64_t Splitter::measure(const SplitRequest& request) {
    const int64_t now = platform_.files.fileLength(request.percorso);
    if (now != request.dimensione)
        report_.sourceResized(now);
    return now;
}

Splitter::Outcome Splitter::failed(int number, const std::string& cartdest) {
    const int answer = ErroreDaNumero(platform_, number);
    // Only a message that offers a choice makes OK or Retry a request to try again; an OK-only
    // message is an acknowledgement.
    if (answer == errore::Retry && !offersOnlyOk(number))
        return Outcome::TryAgain;
    std::string status = "Split interrotto: " + describeError(number);
    if (number == err::DiskFull)
        status += leftoversNote(platform_.folders, platform_.files, cartdest);
    return interrupted(status);
}

Splitter::Outcome Splitter::interrupted(const std::string& status) {
    report_.setStatus(status);
    // The bar may have reached 100 before the script failed: a split that did not end shows none.
    report_.setProgress(0, "0");
    return Outcome::Done;
}

} // namespace brenvik
