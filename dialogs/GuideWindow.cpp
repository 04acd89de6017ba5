#include "dialogs/GuideWindow.h"

namespace brenvik {

// Every line ends in CR LF; the first paragraph keeps its space before the break.
const char* const GuideWindow::HelpText =
    "[Splittare Files]\r\n"
    "Per splittare un file basta selezionarlo nel file manager: successivamente possiamo regolare la "
    "dimensione dei file da creare. In seguito clicchiamo sul pulsante splitta e i files (il cui "
    "numero è indicato vicino alla dimensione) verranno creati nella cartella di destinazione file "
    "che a processo finito si aprirà. \r\n"
    "[Unire Files]\r\n"
    "Per unire files selezioniamo questa voce nella parte selziona modalità. Se i file sono stati "
    "creti da Brenvik o da un'altro splitter all'entrata nella cartella la ricerca automatica "
    "individuerà automaticamente questi files e li selezionerà: basta cliccare su Unisci che un file "
    "verra creato nella cartella di destinazione files. Se i file che vogliamo unire sono generici, "
    "basta selezionarli manualmente e verranno cosi uniti nell'ordine in cui appaiono nella lista "
    "files.\r\n"
    "[Destinazione Files]\r\n"
    "Questa è la cartella dove vengono creati tutti i file uniti e splittati. La si puo impostare "
    "facilmente cliccando su pulsante destinazione files.\r\n";

GuideWindow::GuideWindow(Platform& platform) : Form(platform, "guida"), Text1(add<TextBox>("Text1")) {
    applyDesign();
}

void GuideWindow::design() {
    setWindow("--------------------------------[Brenvik Help]-----------------------------------",
              BorderStyle::FixedToolWindow, 5415, 3795);

    Text1.setGeometry({0, 0, 5415, 3795});
    Text1.setMultiLine(true);
    Text1.setText(HelpText);
    // Something to read, not to edit.
    Text1.setLocked(true);
}

} // namespace brenvik
