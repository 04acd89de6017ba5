#include "JoinScript.h"
#include "join/AppendCopy.h"
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
        EXPECT_EQ(app.launcher.started, std::vector<std::string>{"explorer.exe " + folder});
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
    std::string proposed;
    answerName(app.desktop, {}, &proposed);
    m.uniscifile.userClick();
    EXPECT_EQ(proposed, "p") << "the detected base name is proposed";
    EXPECT_EQ(app.drives.read("c:\\myfiles\\p"), p0 + p2 + p3);
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

TEST(JoinCommandTest, AnExistingOutputIsReplacedOnlyAfterAYesAndClosingTheNameDialogCancels) {
    // 0: the user closes the name dialog from its frame instead of pressing OK.
    const std::pair<int, std::string> cases[] = {
        {mb::IdYes, "File Creato in c:\\myfiles\\out.bin"},
        {mb::IdNo, "Unione annullata: il file c:\\myfiles\\out.bin non è stato sostituito."},
        {0, "Unione annullata: nessun file è stato creato."}};
    for (const auto& [reply, caption] : cases) {
        TestApp app;
        const std::string old = patternBytes(20000, 9);
        app.drives.makeFolders("c:\\myfiles");
        app.drives.write("c:\\myfiles\\out.bin", old);
        MainWindow& m = selectToJoin(app, {{"a", "corto"}, {"b", "-pezzo"}});
        if (reply) {
            answerName(app.desktop, "out.bin");
            app.desktop.answer(reply);
        } else {
            app.desktop.onModal("nomefile", [](Form& f) {
                static_cast<NameDialog&>(f).nf.userEdit("ripensato.bin");
                f.userClose();
            });
        }
        m.uniscifile.userClick();
        ASSERT_EQ(app.desktop.boxes.size(), reply ? 1u : 0u);
        if (reply) {
            EXPECT_EQ(app.desktop.boxes[0].flags, mb::YesNo | mb::Question);
        }
        EXPECT_EQ(app.drives.read("c:\\myfiles\\out.bin"), reply == mb::IdYes ? "corto-pezzo" : old)
            << "no tail of the old file is left";
        EXPECT_EQ(app.drives.fs().files("c:\\myfiles"), std::vector<std::string>{"out.bin"}) << "no temporary left";
        EXPECT_EQ(m.infolabel.caption(), caption);
    }
}

TEST(JoinCommandTest, AnOutputThatIsOneOfTheSourcesIsRefusedHoweverSpelled) {
    // On e: (the same folder) only the files' identity tells. The last case's file is deleted
    // while the dialog is open: only the spelling tells, and the join would read its own output.
    const std::pair<std::string, std::string> cases[] = {
        {"C:/altro/../parti/", "a.avi.000"}, {"e:\\", "a.avi.002"}, {"c:\\parti", "a.avi.002"}};
    for (const auto& [destination, name] : cases) {
        const bool vanishes = destination == "c:\\parti";
        TestApp app;
        app.drives.makeFolders("c:\\parti");
        for (int i = 0; i < 3; ++i)
            app.drives.write("c:\\parti\\a.avi.00" + std::to_string(i), patternBytes(300, i + 1u));
        app.drives.mapDrive('e', app.drives.host("c:\\parti"));
        app.store("Destinazione", "dir", destination);
        MainWindow& m = app.startIn("c:\\parti");
        enterJoinMode(app.desktop, m, 3);
        app.desktop.onModal("nomefile", [&app, vanishes, name = name](Form& f) {
            if (vanishes)
                std::remove(app.drives.host("c:\\parti\\" + name).c_str());
            static_cast<NameDialog&>(f).nf.userEdit(name);
            static_cast<NameDialog&>(f).ok.userClick();
        });
        m.uniscifile.userClick();
        EXPECT_EQ(app.desktop.boxes.size(), 1u) << destination << ": no question, no error";
        EXPECT_NE(m.infolabel.caption().find("è uno dei file da unire"), std::string::npos) << destination;
        for (int i = 0; i < (vanishes ? 2 : 3); ++i)
            EXPECT_EQ(app.drives.read("c:\\parti\\a.avi.00" + std::to_string(i)), patternBytes(300, i + 1u));
    }
}

} // namespace
} // namespace brenvik
