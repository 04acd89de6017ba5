#include "split/SplitCommand.h"

#include "app/ErrorMessages.h"
#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "dialogs/DestinationDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Files.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "split/AssemblyScript.h"
#include "split/PartNames.h"
#include "split/PartSet.h"
#include "split/PartSizeSelector.h"
#include "split/PartWriter.h"
#include "split/SplitAbort.h"

#include <cmath>
#include <limits>
#include <optional>

namespace brenvik {

namespace {

constexpr const char* ZeroSize = "Grandezza dei file da creare = 0!";
constexpr const char* LargerThanFile = "Il file da creare è più grande grande del file d'origine";
constexpr const char* TooManyParts = "Aumenta le dimensioni dei File da creare.Impossibile eseguire oltre 1000 parti!";
constexpr int32_t MaxParts = 1000;

} // namespace

void SplitCommand::Split_Click() {
    while (runOnce() == Outcome::TryAgain) {
    }
}

int16_t SplitCommand::ControllaGrandezza(int64_t grandezza, int64_t dimensione) {
    if (grandezza == 0) {
        m.infolabel.setCaption(ZeroSize);
        return 1;
    }
    if (grandezza > dimensione) {
        m.infolabel.setCaption(LargerThanFile);
        return 1;
    }
    return 0;
}

int16_t SplitCommand::ControllaParti(int64_t numparti) {
    if (numparti > MaxParts) {
        m.infolabel.setCaption(TooManyParts);
        return 1;
    }
    return 0;
}

void SplitCommand::measureSourceAgain() {
    // The file may have changed since it was selected: the parts hold it as it is now.
    int64_t now = m.platform().files.fileLength(m.percorso);
    if (now == m.dimensione)
        return;
    m.dimensione = now;
    m.dimkb = std::floor(static_cast<double>(now) / 1024.0);
    m.partSize.ContaFile();
}

SplitCommand::Outcome SplitCommand::runOnce() {
    Platform& p = m.platform();
    m.setProgress(0, "0");

    std::optional<double> typed = strictNumber(m.Text.text());
    if (!typed || *typed == 0) {
        m.infolabel.setCaption(ZeroSize);
        return Outcome::Done;
    }

    // An empty destination means the source's own folder, which exists already; any other is
    // created level by level before the checks.
    std::string d = m.optionsfrm.outputdir.text();
    std::string cartdest;
    int levelFailure = 0;
    if (d.empty()) {
        cartdest = m.cartella;
        m.prefissodest = m.percorso + ".";
    } else {
        levelFailure = FareCartelle(p.files, d);
        cartdest = d;
        m.prefissodest = d + m.filesel + ".";
    }

    // The file list shows what the split left in the folder, once it ends, however it ends.
    struct ListRefresh {
        FileList& list;
        bool armed = false;
        ~ListRefresh() {
            try {
                if (armed)
                    list.refresh();
            } catch (const RuntimeError&) {
                // The list's folder may be gone; what was written stays written.
            }
        }
    } listRefresh{m.list};

    try {
        if (!m.filesel.empty())
            measureSourceAgain();
        if (ControllaGrandezza(m.grandezza, m.dimensione) == 1)
            return Outcome::Done;

        const int64_t whole = m.dimensione / m.grandezza;
        m.resto = m.dimensione - whole * m.grandezza;
        const int64_t count = whole + (m.resto > 0 ? 1 : 0);
        m.numparti = static_cast<int32_t>(std::min<int64_t>(count, std::numeric_limits<int32_t>::max()));
        if (ControllaParti(count) == 1)
            return Outcome::Done;

        if (!PartNames(m).Ext(m.filesel, m.prefisso, m.estensioni))
            return Outcome::Done;
        listRefresh.armed = true;
        // The parts and the script are written aside and take their names together, once all
        // are on the disk: until then the folder keeps what it held, whatever happens.
        PartSet parts(p.files, p.folders, m.prefissodest, m.numparti, cartdest + AssemblyScript::fileName(m.filesel));
        PartWriter writer(p.files, m);
        writer.CreaParti(m.grandezza, m.resto, m.numparti, m.percorso, m.prefisso, parts);
        const bool withScript = AssemblyScript(m).CreaAssembla(m.numparti, m.prefisso, m.filesel, parts);
        parts.commit();
        if (!withScript)
            return interrupted(m.status()); // the script's own reason stands
        writer.reportCreated(m.numparti);

    } catch (const RuntimeError& e) {
        // A destination that could not be made is reported for the reason it could not, not as
        // a path that is missing.
        return failed(causeOf(e.number(), levelFailure));
    } catch (const SplitAbort& abort) {
        return interrupted(abort.status);
    }

    if (Settings(p.settings).openAfterSplit()) {
        // With an empty destination the parts are beside the source: that folder is opened.
        p.launcher.openFolder(d.empty() ? cartdest : d);
    }
    return Outcome::Done;
}

SplitCommand::Outcome SplitCommand::failed(int number) {
    const int answer = ErroreDaNumero(m.platform(), number);
    // Only a message that offers a choice makes OK or Retry a request to try again; an OK-only
    // message is an acknowledgement.
    if (answer == errore::Retry && !offersOnlyOk(number))
        return Outcome::TryAgain;
    return interrupted("Split interrotto: " + describeError(number));
}

SplitCommand::Outcome SplitCommand::interrupted(const std::string& status) {
    m.infolabel.setCaption(status);
    // The bar may have reached 100 before the script failed: a split that did not end shows none.
    m.setProgress(0, "0");
    return Outcome::Done;
}

} // namespace brenvik
