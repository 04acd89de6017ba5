#include "dialogs/DialogTestHelpers.h"
#include "platform/Utf8.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// Every drawing of the About box as "<enabled of ok>|<text drawn>", in order.
struct TypingRecorder {
    TypingRecorder(AboutWindow& w)
        : view(w.Picture1, Property::Drawing, draws,
               [&w] { return std::string(w.ok.enabled() ? "1|" : "0|") + w.Picture1.drawnText(); }) {}
    std::vector<std::string> draws;
    dialogtest::ControlRecorder view;
};

void openAbout(TestApp& app, MainWindow& m, std::function<void(AboutWindow&)> action) {
    app.desktop.onModal("aboutform", [&m, action](Form&) { action(m.aboutform); });
    m.about.click();
}

TEST(AboutTest, TypesTheTextOneCharacterAtATimeWithOkDisabledUntilTheEnd) {
    TestApp app;
    MainWindow& m = app.startIn();
    AboutWindow& a = m.aboutform;
    const std::string text = a.Text.text();
    const size_t chars = utf8::length(text);
    ASSERT_LT(chars, text.size()) << "the text has letters of more than one byte";
    TypingRecorder rec(a);
    app.desktop.pauses.clear();
    openAbout(app, m, [&text](AboutWindow& w) {
        EXPECT_TRUE(w.ok.enabled());
        EXPECT_EQ(w.Picture1.drawnText(), text);
        w.ok.userClick();
    });
    EXPECT_FALSE(a.visible());
    EXPECT_TRUE(a.loaded()) << "hidden, not unloaded";
    EXPECT_EQ(app.desktop.pauses, std::vector<int>(chars, 25)) << "one pause per character";

    std::vector<std::string> typed;
    for (const std::string& d : rec.draws) {
        EXPECT_EQ(d.substr(0, 2), "0|") << "ok stays disabled while typing";
        if (d.size() > 2)
            typed.push_back(d.substr(2));
    }
    ASSERT_EQ(typed.size(), chars);
    for (size_t i = 0; i < chars; ++i)
        ASSERT_EQ(typed[i], utf8::left(text, i + 1)) << "step " << i;
}

TEST(AboutTest, ReopeningReplaysFromTheFirstCharacter) {
    TestApp app;
    MainWindow& m = app.startIn();
    AboutWindow& a = m.aboutform;
    const size_t chars = utf8::length(a.Text.text());
    openAbout(app, m, [](AboutWindow& w) { w.ok.userClick(); });
    TypingRecorder rec(a);
    app.desktop.pauses.clear();
    openAbout(app, m, [](AboutWindow& w) {
        EXPECT_TRUE(w.ok.enabled());
        w.ok.userClick();
    });
    ASSERT_GE(rec.draws.size(), 3u);
    EXPECT_EQ(rec.draws[0], "0|") << "blank before the first character";
    EXPECT_EQ(rec.draws[2], "0|" + utf8::left(a.Text.text(), 1));
    EXPECT_EQ(app.desktop.pauses.size(), chars);
    EXPECT_EQ(m.focused(), &m.Command1);
}

TEST(AboutTest, AnEmptyTextLeavesTheBoxBlankAndOkEnabledAtOnce) {
    TestApp app;
    MainWindow& m = app.startIn();
    openAbout(app, m, [](AboutWindow& w) { w.ok.userClick(); });
    m.aboutform.Text.setText("");
    app.desktop.pauses.clear();
    openAbout(app, m, [](AboutWindow& w) {
        EXPECT_TRUE(w.ok.enabled());
        EXPECT_EQ(w.Picture1.drawnText(), "");
        w.ok.userClick();
    });
    EXPECT_TRUE(app.desktop.pauses.empty());
}

TEST(AboutTest, ClosingDuringTheTypingStopsItWithoutLoadingTheWindowAgain) {
    dialogtest::YieldingApp y;
    MainWindow& m = y.m;
    y.clickAndCloseAt(m.about, m.aboutform, 9);
    EXPECT_FALSE(m.aboutform.loaded());
    EXPECT_EQ(y.desktop.pauses.size(), 5u);
    EXPECT_TRUE(m.aboutform.ok.enabled()) << "a window loaded again starts as designed";
}

TEST(AboutTest, WindowShowsTheBannerAndTheCompanyText) {
    TestApp app;
    MainWindow& m = app.startIn();
    AboutWindow& a = m.aboutform;
    EXPECT_EQ(a.caption(), "------------------------[About Tavora]-------------------------");
    EXPECT_FALSE(m.Image1.picture().empty());
    EXPECT_EQ(a.Image1.picture(), m.Image1.picture()) << "copied from the main window at load";
    EXPECT_FALSE(a.Text.visible());

    const std::string text = a.Text.text();
    EXPECT_EQ(text, AboutWindow::AboutText);
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "lines are joined by CR LF only";
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Brenvik\u00ae 1.0");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines.back().rfind("Tavora [", 0), 0u);
    EXPECT_EQ(lines.back().back(), ']');
    EXPECT_GE(utf8::length(text), 200u);
    EXPECT_LE(utf8::length(text), 1000u);
}

TEST(GuideTest, HoldsTheHelpTextByteForByte) {
    const std::string expected =
        "[Splittare Files]\r\n"
        "Per splittare un file basta selezionarlo nel file manager: successivamente possiamo regolare la dimensione "
        "dei file da creare. In seguito clicchiamo sul pulsante splitta e i files (il cui numero \xC3\xA8 indicato "
        "vicino alla dimensione) verranno creati nella cartella di destinazione file che a processo finito si "
        "aprir\xC3\xA0. \r\n"
        "[Unire Files]\r\n"
        "Per unire files selezioniamo questa voce nella parte selziona modalit\xC3\xA0. Se i file sono stati creti "
        "da Brenvik o da un'altro splitter all'entrata nella cartella la ricerca automatica individuer\xC3\xA0 "
        "automaticamente questi files e li selezioner\xC3\xA0: basta cliccare su Unisci che un file verra creato "
        "nella cartella di destinazione files. Se i file che vogliamo unire sono generici, basta selezionarli "
        "manualmente e verranno cosi uniti nell'ordine in cui appaiono nella lista files.\r\n"
        "[Destinazione Files]\r\n"
        "Questa \xC3\xA8 la cartella dove vengono creati tutti i file uniti e splittati. La si puo impostare "
        "facilmente cliccando su pulsante destinazione files.\r\n";
    TestApp app;
    GuideWindow& g = app.startIn().guida;
    EXPECT_EQ(g.Text1.text(), expected);
    EXPECT_EQ(g.caption(), "--------------------------------[Brenvik Help]-----------------------------------");
    EXPECT_EQ(g.borderStyle(), BorderStyle::FixedToolWindow);
    EXPECT_EQ(g.Text1.geometry(), (Geometry{0, 0, g.clientWidth(), g.clientHeight()}));
    EXPECT_TRUE(g.Text1.multiLine());
    EXPECT_TRUE(g.Text1.locked());
}

} // namespace
} // namespace brenvik
