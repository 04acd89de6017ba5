#include "app/Lifecycle.h"

#include "app/Settings.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/DestinationDialog.h"
#include "dialogs/GuideWindow.h"
#include "dialogs/InstallWindow.h"
#include "dialogs/PreferencesPanel.h"
#include "dialogs/Wizard.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/StartupPicture.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Folders.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <string>
#include <vector>

namespace brenvik {

void Lifecycle::Form_Load() {
    Platform& p = m.platform();
    Settings settings(p.settings);

    p.settings.onWaiting([this](SettingsStore::Wait wait) { settingsWait(wait); });
    m.optionsfrm().load();
    m.nomefile().load();
    m.helpfrm().load();
    m.aboutform().load();
    m.guida().load();

    if (settings.firstRun()) {
        m.install().showModal();
        m.wizard().showModal();
    }

    m.AvvioCompletato = "0";

    m.barra.setWidth(0);
    m.split.setEnabled(false);
    m.Frame3.setEnabled(false);

    m.drive.setToolTip("Drive Corrente (" + m.drive.drive() + ")");
    m.dir.setToolTip(m.dir.path());
    m.list.setToolTip("File selezionato (" + m.list.fileName() + ")");

    const std::optional<double> typed = strictNumber(m.Text.text());
    m.grandezza = typed ? fitInt64(*typed * 1024.0).value_or(0) : 0;

    m.pathbar.setText(settings.initialDir());
    try {
        applyFolder(m.pathbar.text());
    } catch (const RuntimeError&) {
        // Neither the stored folder nor the default (current Windows and Linux have no
        // windows\desktop): the user's own desktop folder where a drive shows it, and the root of
        // c:, which is always there, after it.
        std::vector<std::string> fallbacks = {Settings::DefaultInitialDir};
        if (auto desktop = p.folders.desktopFolder())
            fallbacks.push_back(*desktop);
        fallbacks.push_back("c:\\");
        for (const std::string& folder : fallbacks) {
            m.pathbar.setText(folder);
            try {
                applyFolder(folder);
                break;
            } catch (const RuntimeError&) {
                // The next one; where even c: cannot be read, the lists stay where they started.
            }
        }
    }
    m.infolabel.setCaption("Brenvik caricato!");
}

void Lifecycle::applyFolder(const std::string& folder) {
    // Each assignment raises the browser's handlers even when the lists already show the folder
    // (c:\ as the design left them): the tool tips and the search depend on them.
    m.list.setPath(folder, Raise::Always);
    m.dir.setPath(folder, Raise::Always);
    m.File2.setPath(folder, Raise::Always);
}

void Lifecycle::Form_Activate() {
    Platform& p = m.platform();
    m.Command1.setFocus();
    if (leadingNumber(m.AvvioCompletato) == 0) {
        p.desktop.yield();
        p.pauseAnswering(100);
        p.desktop.yield();
        m.MostraAbout = Settings(p.settings).showStartupPicture();
        if (m.MostraAbout)
            m.mainform().showModal();
        m.AvvioCompletato = "1";
    }
}

void Lifecycle::confirmExit() {
    Platform& p = m.platform();
    Settings(p.settings).save(Settings::InitialDir, m.dir.path());
    if (p.msgBox("Sicuro di voler uscire", mb::YesNo | mb::Question) == mb::IdYes)
        end();
}

void Lifecycle::end() {
    Platform& p = m.platform();
    // What a split or a join wrote aside is discarded and the folder keeps what it held; a set
    // taking its names finishes first, which takes milliseconds.
    p.desktop.stopWork();
    p.desktop.endProgram();
}

void Lifecycle::settingsWait(SettingsStore::Wait wait) {
    constexpr const char* Waiting = "Un altro Brenvik sta scrivendo nella cartella delle impostazioni: attendo...";
    switch (wait) {
    case SettingsStore::Wait::Waiting:
        if (m.infolabel.caption() != Waiting) {
            beforeWait_ = m.infolabel.caption();
            m.infolabel.setCaption(Waiting);
        }
        m.platform().answerWhileWaiting();
        break;
    case SettingsStore::Wait::Over:
        m.infolabel.setCaption(beforeWait_);
        break;
    case SettingsStore::Wait::GaveUp:
        m.infolabel.setCaption("Impostazione non salvata: un altro Brenvik sta scrivendo nella cartella delle "
                               "impostazioni");
        break;
    }
}

void Lifecycle::Form_QueryUnload(bool& cancel) {
    cancel = true;
    confirmExit();
}

void Lifecycle::esci_Click() {
    confirmExit();
}

void Lifecycle::endRequested() {
    Platform& p = m.platform();
    Settings(p.settings).save(Settings::InitialDir, m.dir.path());
    end();
}

void Lifecycle::about_Click() {
    m.aboutform().showModal();
}

void Lifecycle::help_Click() {
    m.helpfrm().showModal();
}

void Lifecycle::options_Click() {
    // The dialog grows itself to full size when it is activated.
    m.optionsfrm().setOuterSize(1, 1);
    m.optionsfrm().showModal();
}

} // namespace brenvik
