#include "join/AppendCopy.h"
#include "join/JoinScript.h"
#include "platform/RuntimeError.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

TEST(JoinCommandTest, JoinsTheSelectionInListOrderIntoTheStoredDestinationOrBesideItsParts) {
    // The stored destination, whose missing levels are made, or none; the name typed, if any.
    const std::pair<std::string, std::optional<std::string>> cases[] = {{"c:\\uscita\\nuova", {}}, {"", "unito.bin"}};
    for (const auto& [stored, typed] : cases) {
        TestApp app;
        app.store("Destinazione", "dir", stored);
        const std::string a1 = patternBytes(5000, 1), a2 = patternBytes(7000, 2), a3 = patternBytes(3000, 3);
        MainWindow& m = selectToJoin(app, {{"a1", a1}, {"a2", a2}, {"a3", a3}, {"altro", "non unire"}});
        for (int i : {3, 0, 0})
            m.File2.userClickItem(i);
        answerName(app.desktop, typed);
        m.uniscifile.userClick();
        const std::string folder = stored.empty() ? "c:\\dati" : stored;
        const std::string out = folder + "\\" + typed.value_or("nuovofile.exe");
        EXPECT_EQ(app.drives.read(out), a1 + a2 + a3) << "in list order";
        EXPECT_EQ(m.infolabel.caption(), "File Creato in " + out);
        EXPECT_FALSE(app.drives.exists("c:\\myfiles"));
        EXPECT_EQ(app.launcher.opened, std::vector<std::string>{folder});
    }
}

TEST(JoinCommandTest, AnEmptyPartPartsAroundABlockAndADriveRootAsTheSourceFolder) {
    TestApp app;
    constexpr size_t Block = AppendCopy::BlockSize;
    const std::string p0 = patternBytes(Block + 1, 4), p2 = patternBytes(Block, 5), p3 = patternBytes(1, 6);
    app.drives.write("d:\\p.000", p0);
    app.drives.write("d:\\p.001", "");
    app.drives.write("d:\\p.002", p2);
    app.drives.write("d:\\p.003", p3);
    MainWindow& m = app.startIn("d:\\");
    enterJoinMode(app.desktop, m, 4);
    answerName(app.desktop);
    m.uniscifile.userClick();
    EXPECT_EQ(app.drives.read("c:\\myfiles\\p"), p0 + p2 + p3) << "under the detected base name";
}

TEST(JoinCommandTest, AnOutputNameThatCannotBeOpenedShowsTheJoinsErrorBoxAndWritesNothing) {
    // A name of spaces names the folder itself, as Windows drops a name's trailing spaces.
    std::vector<std::pair<std::string, int>> cases = {
        {"", 75}, {"   ", 75}, {"cartella", 75}, {"/", 75}, {"manca\\out.bin", 76}, {std::string(256, 'x'), 75}};
    for (char c : std::string(":*?\"<>|"))
        cases.push_back({std::string("out") + c + "bin", 52});
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(name);
        TwoSourceJoin j;
        j.app.drives.makeFolders("c:\\myfiles\\cartella");
        j.join(name, false, number);
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::recursive_directory_iterator(j.app.drives.host("c:\\myfiles")))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"cartella"});
    }
}

TEST(JoinCommandTest, AnExistingOutputIsReplacedWholeOnlyAfterAYesAndClosingTheNameDialogCancels) {
    // 0: the user closes the name dialog from its frame instead of pressing OK.
    for (int reply : {mb::IdYes, mb::IdNo, 0}) {
        TwoSourceJoin j(5);
        const std::string out = "c:\\myfiles\\out.bin", old = patternBytes(20000, 9);
        j.app.drives.makeFolders("c:\\myfiles");
        j.app.drives.write(out, old);
        if (reply == mb::IdYes) {
            j.join("out.bin", true); // the whole file compared: no tail of the old one is left
            continue;
        }
        if (reply == mb::IdNo) {
            answerName(j.app.desktop, "out.bin");
            j.app.desktop.answer(reply);
        } else {
            j.app.desktop.onModal("nomefile", [](Form& f) {
                static_cast<NameDialog&>(f).nf.userEdit("ripensato.bin");
                f.userClose();
            });
        }
        j.app.main().uniscifile.userClick();
        ASSERT_EQ(j.app.desktop.boxes.size(), reply ? 1u : 0u);
        if (reply) {
            EXPECT_EQ(j.app.desktop.boxes[0].flags, mb::YesNo | mb::Question);
        }
        EXPECT_EQ(j.app.drives.read(out), old);
        EXPECT_EQ(j.app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"});
        EXPECT_EQ(j.app.main().infolabel.caption(),
                  reply ? "Unione annullata: il file " + out + " non è stato sostituito."
                        : "Unione annullata: nessun file è stato creato.");
    }
}

TEST(JoinCommandTest, AnOutputThatIsOneOfTheSourcesIsRefusedHoweverSpelled) {
    // On e: (the same folder) only the files' identity tells. The last case's file is deleted
    // after it was selected: only the spelling tells, and the join would read its own output.
    const std::pair<std::string, std::string> cases[] = {{"C:/altro/../dati/", "a"}, {"e:\\", "c"}, {"c:\\dati", "c"}};
    for (const auto& [destination, name] : cases) {
        const bool vanishes = destination == "c:\\dati";
        TestApp app;
        app.store("Destinazione", "dir", destination);
        app.drives.mapDrive('e', app.drives.host("c:\\dati"));
        selectToJoin(app, {{"a", "uno"}, {"b", "due"}, {"c", "tre"}});
        if (vanishes)
            std::remove(app.drives.host("c:\\dati\\c").c_str());
        answerName(app.desktop, name);
        app.main().uniscifile.userClick();
        EXPECT_TRUE(app.desktop.boxes.empty()) << destination << ": no question, no error";
        EXPECT_NE(app.main().infolabel.caption().find("è uno dei file da unire"), std::string::npos) << destination;
        EXPECT_EQ(app.drives.read("c:\\dati\\a") + app.drives.read("c:\\dati\\b") +
                      (vanishes ? "" : app.drives.read("c:\\dati\\c")),
                  vanishes ? "unodue" : "unoduetre")
            << destination;
    }
}

} // namespace
} // namespace brenvik
