#include "JoinScript.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(JoinCommandTest, JoinsTheSelectionInListOrderIntoTheDestination) {
    TestApp app;
    app.drives.makeFolders("c:\\dati");
    const std::string a1 = patternBytes(5000, 1), a2 = patternBytes(7000, 2), a3 = patternBytes(3000, 3);
    app.drives.write("c:\\dati\\a1", a1);
    app.drives.write("c:\\dati\\a2", a2);
    app.drives.write("c:\\dati\\a3", a3);
    app.drives.write("c:\\dati\\altro", "non unire");
    MainWindow& m = app.startIn("c:\\dati");
    enterJoinMode(app.desktop, m, 0);
    m.File2.userClickItem(2);
    m.File2.userClickItem(0);
    m.File2.userClickItem(1);
    EXPECT_EQ(m.Label5.caption(), "3");

    m.setProgress(4000, "100");
    app.desktop.onModal("nomefile", [&m](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        EXPECT_EQ(dialog.nf.text(), "nuovofile.exe") << "the first join proposes the design name";
        EXPECT_EQ(f.focused(), &dialog.nf);
        EXPECT_EQ(m.bianco.caption(), "0") << "the progress is emptied before the dialog";
        EXPECT_EQ(m.barra.width(), 0);
        dialog.ok.userClick();
    });
    m.uniscifile.userClick();

    EXPECT_EQ(app.drives.read("c:\\myfiles\\nuovofile.exe"), a1 + a2 + a3);
    EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\nuovofile.exe");
    EXPECT_EQ(m.barra.width(), 4000);
    EXPECT_EQ(m.bianco.caption(), "100");
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{"explorer.exe c:\\myfiles"});
    auto hidden = std::find(app.desktop.log.begin(), app.desktop.log.end(), "hide nomefile");
    ASSERT_NE(hidden, app.desktop.log.end());
    EXPECT_EQ(std::vector<std::string>(hidden + 1, std::min(hidden + 4, app.desktop.log.end())),
              (std::vector<std::string>{"yield", "pause 100", "yield"}));
    EXPECT_EQ(app.desktop.pendingModals(), 0u);
}

TEST(JoinCommandTest, NothingSelectedAsksForAFileAndShowsNoDialog) {
    TestApp app;
    app.drives.makeFolders("c:\\dati");
    app.drives.write("c:\\dati\\uno", "1");
    MainWindow& m = app.startIn("c:\\dati");
    enterJoinMode(app.desktop, m, 0);
    m.uniscifile.userClick();
    EXPECT_EQ(m.infolabel.caption(), "Seleziona Almeno un file!");
    EXPECT_EQ(m.bianco.caption(), "0");
    EXPECT_FALSE(app.drives.exists("c:\\myfiles"));
    EXPECT_TRUE(app.launcher.started.empty());
}

TEST(JoinCommandTest, BlockBoundariesAndADriveRootAsTheSourceFolder) {
    TestApp app;
    const std::string p0 = patternBytes(8193, 4), p2 = patternBytes(8192, 5), p3 = patternBytes(1, 6);
    app.drives.write("d:\\p.000", p0);
    app.drives.write("d:\\p.001", "");
    app.drives.write("d:\\p.002", p2);
    app.drives.write("d:\\p.003", p3);
    app.store("opzioni", "cartunisci", "0");
    MainWindow& m = app.startIn("d:\\");
    enterJoinMode(app.desktop, m, 4);
    ASSERT_EQ(m.pathbar.text(), "d:\\");
    std::string proposed;
    confirmName(app.desktop, &proposed);
    m.uniscifile.userClick();
    EXPECT_EQ(proposed, "p") << "the detected base name is proposed";
    EXPECT_EQ(app.drives.read("c:\\myfiles\\p"), p0 + p2 + p3);
    EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\p");
    EXPECT_TRUE(app.launcher.started.empty()) << "cartunisci 0 opens no folder";
}

TEST(JoinCommandTest, TheDialogKeepsTheNameLastTypedUnlessPartsWereFound) {
    TestApp app;
    app.drives.makeFolders("c:\\parti");
    app.drives.write("c:\\parti\\s.000", "AB");
    app.store("Destinazione", "dir", "c:\\uscita\\nuova");
    MainWindow& m = selectToJoin(app, {{"uno", "uno"}});
    typeName(app.desktop, "primo.txt");
    m.uniscifile.userClick();
    EXPECT_EQ(app.drives.read("c:\\uscita\\nuova\\primo.txt"), "uno") << "missing levels are created";
    EXPECT_EQ(app.launcher.started, std::vector<std::string>{"explorer.exe c:\\uscita\\nuova"});

    std::string shown;
    app.desktop.onModal("nomefile", [&shown](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        shown = dialog.nf.text();
        dialog.nf.userEdit("secondo.txt");
        dialog.ok.userClick();
    });
    m.uniscifile.userClick();
    EXPECT_EQ(shown, "primo.txt");

    app.desktop.answer(mb::IdOK);
    m.dir.setPath("c:\\parti");
    confirmName(app.desktop, &shown);
    m.uniscifile.userClick();
    EXPECT_EQ(shown, "s");
    EXPECT_EQ(app.drives.read("c:\\uscita\\nuova\\s"), "AB");
    EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\uscita\\nuova\\s");
}

TEST(JoinCommandTest, AnOutputNameThatCannotBeOpenedShowsTheJoinsErrorBoxAndWritesNothing) {
    struct Case {
        std::string name;
        int number;
    };
    // A name of spaces names the folder itself, as Windows drops a name's trailing spaces.
    std::vector<Case> cases = {{"", 75},
                               {"   ", 75},
                               {"cartella", 75},
                               {"\\", 75},
                               {"/", 75},
                               {"manca\\out.bin", 76},
                               {std::string(256, 'x'), 75}};
    for (char c : std::string("\\:*?\"<>|"))
        if (c != '\\')
            cases.push_back({std::string("out") + c + "bin", 52});
    for (const Case& c : cases) {
        TestApp app;
        app.drives.makeFolders("c:\\myfiles\\cartella");
        MainWindow& m = selectToJoin(app, {{"uno", "uno"}});
        typeName(app.desktop, c.name);
        app.desktop.answer(mb::IdOK);
        m.uniscifile.userClick();
        ASSERT_EQ(app.desktop.boxes.size(), 1u) << c.name;
        EXPECT_EQ(app.desktop.boxes[0].text,
                  "Errore numero " + std::to_string(c.number) + ":" + describeError(c.number))
            << c.name;
        EXPECT_EQ(app.desktop.boxes[0].title, "Error!");
        EXPECT_EQ(app.desktop.boxes[0].flags, 16);
        EXPECT_EQ(m.barra.width(), 0);
        EXPECT_EQ(m.bianco.caption(), "0");
        EXPECT_EQ(m.infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!") << "the status is not changed";
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::recursive_directory_iterator(app.drives.host("c:\\myfiles")))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"cartella"}) << c.name;
        EXPECT_TRUE(app.launcher.started.empty());
    }
}

TEST(JoinCommandTest, AnExistingOutputIsReplacedOnlyAfterAYes) {
    for (int reply : {mb::IdYes, mb::IdNo}) {
        TestApp app;
        const std::string old = patternBytes(20000, 9);
        app.drives.makeFolders("c:\\myfiles");
        app.drives.write("c:\\myfiles\\out.bin", old);
        MainWindow& m = selectToJoin(app, {{"a", "corto"}, {"b", "-pezzo"}});
        typeName(app.desktop, "out.bin");
        app.desktop.answer(reply);
        m.uniscifile.userClick();

        ASSERT_EQ(app.desktop.boxes.size(), 1u);
        EXPECT_EQ(app.desktop.boxes[0].flags, mb::YesNo | mb::Question);
        EXPECT_NE(app.desktop.boxes[0].text.find("c:\\myfiles\\out.bin"), std::string::npos);
        if (reply == mb::IdYes) {
            EXPECT_EQ(app.drives.read("c:\\myfiles\\out.bin"), "corto-pezzo") << "no tail of the old file is left";
            EXPECT_EQ(app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"}) << "no temporary left";
            EXPECT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\out.bin");
        } else {
            EXPECT_EQ(app.drives.read("c:\\myfiles\\out.bin"), old);
            EXPECT_EQ(m.infolabel.caption(), "Unione annullata: il file c:\\myfiles\\out.bin non è stato sostituito.");
            EXPECT_EQ(m.bianco.caption(), "0");
            EXPECT_TRUE(app.launcher.started.empty());
        }
    }
}

TEST(JoinCommandTest, AnOutputThatIsOneOfTheSourcesIsRefusedHoweverSpelled) {
    struct Case {
        std::string destination;
        std::string name;
        bool vanishes; // the named source is deleted while the dialog is open
    };
    const Case cases[] = {
        {"c:\\parti", "a.avi.001", false},
        {"C:/altro/../parti/", "a.avi.000", false},
        // Another drive onto the same folder: only the files' identity tells.
        {"e:\\", "a.avi.002", false},
        // Only the spelling tells; writing there would have the join read its own output.
        {"c:\\parti", "a.avi.002", true},
    };
    for (const Case& c : cases) {
        TestApp app;
        const std::string p0 = patternBytes(300, 1), p1 = patternBytes(200, 2), p2 = patternBytes(100, 3);
        app.drives.makeFolders("c:\\parti");
        app.drives.write("c:\\parti\\a.avi.000", p0);
        app.drives.write("c:\\parti\\a.avi.001", p1);
        app.drives.write("c:\\parti\\a.avi.002", p2);
        app.drives.mapDrive('e', app.drives.host("c:\\parti"));
        app.store("Destinazione", "dir", c.destination);
        MainWindow& m = app.startIn("c:\\parti");
        enterJoinMode(app.desktop, m, 3);
        app.desktop.onModal("nomefile", [&app, c](Form& f) {
            auto& dialog = static_cast<NameDialog&>(f);
            if (c.vanishes)
                std::remove(app.drives.host("c:\\parti\\" + c.name).c_str());
            dialog.nf.userEdit(c.name);
            dialog.ok.userClick();
        });
        m.uniscifile.userClick();
        EXPECT_EQ(app.desktop.boxes.size(), 1u) << c.destination << ": no question, no error";
        EXPECT_NE(m.infolabel.caption().find("è uno dei file da unire"), std::string::npos) << c.destination;
        EXPECT_EQ(app.drives.read("c:\\parti\\a.avi.000"), p0);
        EXPECT_EQ(app.drives.read("c:\\parti\\a.avi.001"), p1);
        if (!c.vanishes)
            EXPECT_EQ(app.drives.read("c:\\parti\\a.avi.002"), p2);
        else
            EXPECT_FALSE(app.drives.exists("c:\\parti\\a.avi.002"));
        EXPECT_EQ(m.bianco.caption(), "0");
        EXPECT_TRUE(app.launcher.started.empty());
    }
}

TEST(JoinCommandTest, ClosingTheNameDialogFromItsFrameCancelsTheJoin) {
    TestApp app;
    MainWindow& m = selectToJoin(app, {{"uno", "uno"}});
    app.desktop.onModal("nomefile", [](Form& f) {
        static_cast<NameDialog&>(f).nf.userEdit("ripensato.bin");
        f.userClose();
    });
    const size_t before = app.desktop.log.size();
    m.uniscifile.userClick();
    EXPECT_FALSE(app.drives.exists("c:\\myfiles\\ripensato.bin"));
    EXPECT_FALSE(app.drives.exists("c:\\myfiles\\nuovofile.exe"));
    EXPECT_EQ(m.infolabel.caption(), "Unione annullata: nessun file è stato creato.");
    EXPECT_EQ(m.bianco.caption(), "0");
    EXPECT_TRUE(app.launcher.started.empty());
    EXPECT_EQ(
        std::vector<std::string>(app.desktop.log.begin() + static_cast<std::ptrdiff_t>(before), app.desktop.log.end()),
        (std::vector<std::string>{"show nomefile", "hide nomefile"}));
    EXPECT_TRUE(m.nomefile.loaded()) << "the dialog is hidden, not unloaded";
    EXPECT_FALSE(m.nomefile.visible());

    // The next showing is a fresh one: OK joins, with the text the user left in the box.
    confirmName(app.desktop);
    m.uniscifile.userClick();
    EXPECT_EQ(app.drives.read("c:\\myfiles\\ripensato.bin"), "uno");
}

TEST(JoinCommandTest, ASourceThatVanishesStopsTheJoinAndLeavesNoPartialOutput) {
    TestApp app;
    MainWindow& m = selectToJoin(app, {{"a", patternBytes(10000)}, {"b", "b"}});
    app.desktop.onModal("nomefile", [&app](Form& f) {
        std::remove(app.drives.host("c:\\dati\\b").c_str());
        static_cast<NameDialog&>(f).ok.userClick();
    });
    app.desktop.answer(mb::IdOK);
    m.uniscifile.userClick();
    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(app.desktop.boxes[0].text, "Errore numero 53:" + describeError(err::FileNotFound));
    EXPECT_EQ(app.desktop.boxes[0].title, "Error!");
    EXPECT_EQ(m.bianco.caption(), "0");
    EXPECT_EQ(m.barra.width(), 0);
    EXPECT_FALSE(app.drives.exists("c:\\myfiles\\nuovofile.exe")) << "an incomplete output must not stay";
    EXPECT_TRUE(app.launcher.started.empty());

    // The next join starts clean and works.
    app.drives.write("c:\\dati\\b", "b");
    confirmName(app.desktop);
    m.uniscifile.userClick();
    EXPECT_EQ(app.drives.read("c:\\myfiles\\nuovofile.exe"), patternBytes(10000) + "b");
}

} // namespace
} // namespace brenvik
