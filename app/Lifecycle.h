#pragma once

#include "platform/SettingsStore.h"

#include <string>

namespace brenvik {

class MainWindow;

// The life of the main window: its load with the first-run check and the restored folder, the
// first activation with the start-up picture, the buttons that open the secondary windows,
// focus following the pointer, and the two ways of closing with their question.
class Lifecycle {
public:
    explicit Lifecycle(MainWindow& main) : m(main) {}

    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload(bool& cancel);
    void esci_Click();
    // The system asks the program to end (the session closes, or a terminating signal came): no
    // one is there to answer the exit question, so it does what Yes does: the folder on show is
    // saved and the program ends at once.
    void endRequested();
    void about_Click();
    void help_Click();
    void options_Click();

private:
    // Saves the folder on show, asks "Sicuro di voler uscire" and ends the program on Yes.
    void confirmExit();
    // Ends the program; a split or a join under way first stops where it loses nothing.
    void end();
    // While a save of the settings waits for another Brenvik saving them: the status line says
    // so, and the window keeps answering.
    void settingsWait(SettingsStore::Wait wait);
    // Points list, dir and File2 at `folder`, in that order; throws what the first failure threw.
    void applyFolder(const std::string& folder);

    MainWindow& m;
    // The status line before a wait for the settings, shown again once it is over.
    std::string beforeWait_;
};

} // namespace brenvik
