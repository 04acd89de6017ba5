#include "JoinScript.h"

#include "platform/RuntimeError.h"
#include "platform/WinPath.h"

#include <gtest/gtest.h>

namespace brenvik {

void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found) {
    if (found > 0)
        desktop.answer(mb::IdOK);
    const size_t boxes = desktop.boxes.size();
    m.Option2.userClick();
    ASSERT_EQ(desktop.boxes.size(), boxes + (found > 0 ? 1 : 0));
    if (found > 0) {
        EXPECT_EQ(desktop.boxes.back().text, "La ricerca Automatica, ha trovato " + std::to_string(found) +
                                                 " File Da unire!\r\nClicca unisci per assemblarli, o seleziona i "
                                                 "file manualmente.");
    }
}

void answerName(ScriptedDesktop& desktop, std::optional<std::string> typed) {
    desktop.onModal("nomefile", [typed](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        if (typed)
            dialog.nf.userEdit(*typed);
        dialog.ok.userClick();
    });
}

MainWindow& selectToJoin(TestApp& app, const std::vector<std::pair<std::string, std::string>>& files) {
    app.drives.makeFolders("c:\\dati");
    for (const auto& [name, bytes] : files)
        app.drives.write("c:\\dati\\" + name, bytes);
    MainWindow& m = app.startIn("c:\\dati");
    enterJoinMode(app.desktop, m, 0);
    for (int i = 0; i < static_cast<int>(files.size()); ++i)
        m.File2.userClickItem(i);
    return m;
}

void splitAndJoinBack(TestApp& app, const std::string& name, int64_t kb, int parts) {
    MainWindow& m = app.startIn("c:\\src");
    clickFile(m, name);
    m.Text.setText(std::to_string(kb));
    m.split.click();
    ASSERT_EQ(m.numparti, parts);
    m.dir.setPath("c:\\myfiles\\[" + name + "]");
    enterJoinMode(app.desktop, m, parts);
    answerName(app.desktop);
    m.uniscifile.userClick();
    ASSERT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\" + name);
}

TwoSourceJoin::TwoSourceJoin(size_t bytes) : first(patternBytes(bytes, 1)), second(patternBytes(bytes, 2)) {
    selectToJoin(app, {{"a", first}, {"b", second}});
}

void TwoSourceJoin::join(const std::string& name, bool replacing, int error) {
    const std::string out = "c:\\myfiles\\" + name;
    answerName(app.desktop, name);
    if (replacing)
        app.desktop.answer(mb::IdYes);
    if (error)
        app.desktop.answer(mb::IdOK);
    const size_t boxes = app.desktop.boxes.size();
    app.main().uniscifile.userClick();
    ASSERT_EQ(app.desktop.boxes.size(), boxes + (replacing ? 1u : 0u) + (error ? 1u : 0u));
    if (error) {
        EXPECT_EQ(app.desktop.boxes.back().text, "Errore numero " + std::to_string(error) + ":" + describeError(error));
        EXPECT_EQ(app.main().infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!");
    } else {
        EXPECT_EQ(app.main().infolabel.caption(), "File Creato in " + out);
        EXPECT_EQ(app.drives.read(out), first + second);
    }
    EXPECT_EQ(temporaries(), std::vector<std::string>{});
}

std::vector<std::string> TwoSourceJoin::temporaries() {
    std::vector<std::string> out;
    if (app.drives.exists("c:\\myfiles"))
        for (const std::string& name : app.drives.fs().files("c:\\myfiles"))
            if (winpath::isTemporaryName(name))
                out.push_back(name);
    return out;
}

} // namespace brenvik
