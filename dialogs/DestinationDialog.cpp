#include "dialogs/DestinationDialog.h"

#include "app/FolderCreation.h"
#include "app/Settings.h"
#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

namespace brenvik {

DestinationDialog::DestinationDialog(Platform& platform)
    : Form(platform, "optionsfrm"), Frame2(add<Frame>("Frame2")), outputdir(add<TextBox>("outputdir", &Frame2)),
      ok(add<CommandButton>("ok")), annulla(add<CommandButton>("annulla")), reset(add<CommandButton>("reset")),
      Image1(add<Image>("Image1")) {
    ok.onClick = [this] { ok_Click(); };
    annulla.onClick = [this] { annulla_Click(); };
    reset.onClick = [this] { reset_Click(); };
    setStacking({&ok, &annulla, &reset, &Frame2, &outputdir, &Image1});
    setTabOrder({&outputdir, &ok, &annulla, &reset});
    applyDesign();
}

void DestinationDialog::design() {
    setWindow("-----------------=[Destinazione Files]=--------------------", BorderStyle::FixedSingle, 4140, 1515);
    setIcon("brenvik");

    Frame2.setCaption("Specifica la cartella di destinazione dei file Splittati");
    Frame2.setGeometry({120, 120, 3915, 852});
    outputdir.setText(Settings::DefaultDestinazione);
    outputdir.setGeometry({120, 300, 3675, 288});
    ok.setCaption("&OK");
    ok.setGeometry({120, 1020, 1215, 372});
    annulla.setCaption("&Annulla");
    annulla.setGeometry({1380, 1020, 1335, 372});
    reset.setCaption("&Resetta");
    reset.setGeometry({2760, 1020, 1275, 372});
    Image1.setGeometry({0, 0, 4140, 1515});
}

void DestinationDialog::Form_Load() {
    outputdir.setText(Settings(platform().settings).destination());
}

void DestinationDialog::Form_Activate() {
    // Any per-file folder the file selection wrote gives way to the stored destination.
    outputdir.setText(Settings(platform().settings).destination());
    grow();
}

void DestinationDialog::grow() {
    Desktop& d = platform().desktop;
    for (int counter = 0; counter <= 4245; counter += 200) {
        d.yield();
        d.pause(1);
        d.yield();
        // Closed from its frame meanwhile: resizing would only load it again, hidden.
        if (!visible())
            return;
        setOuterWidth(counter);
        setOuterHeight(counter / 2);
        if (outerHeight() > 250)
            setOuterHeight(outerHeight() - 210);
    }
    setOuterWidth(4230);
}

void DestinationDialog::ok_Click() {
    Platform& p = platform();
    try {
        createFolderLevels(p.files, outputdir.text(), LevelFailure::Stop);
    } catch (const RuntimeError& e) {
        // 75 is a level that exists already: the deeper ones are made by the split or the join.
        if (e.number() != err::PathFileAccess) {
            p.msgBox("Percorso non valido!", mb::OK | mb::Exclamation, "Error!");
            return;
        }
    }
    Settings(p.settings).save(Settings::Destinazione, outputdir.text());
    hide();
}

void DestinationDialog::annulla_Click() {
    outputdir.setText(Settings(platform().settings).destination());
    hide();
}

void DestinationDialog::reset_Click() {
    outputdir.setText(Settings::DefaultDestinazione);
}

} // namespace brenvik
