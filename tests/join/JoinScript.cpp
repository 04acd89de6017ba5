#include "JoinScript.h"

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

void answerName(ScriptedDesktop& desktop, std::optional<std::string> typed, std::string* proposed) {
    desktop.onModal("nomefile", [typed, proposed](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        if (proposed)
            *proposed = dialog.nf.text();
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

} // namespace brenvik
