#pragma once

#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace brenvik {

// The user checks "Unisci Files"; `found` is the count the detection is expected to report, 0
// for no message.
inline void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found) {
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

// While `nomefile` is shown, the user types `typed` (when given) and presses OK.
inline void answerName(ScriptedDesktop& desktop, std::optional<std::string> typed = {}) {
    desktop.onModal("nomefile", [typed](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        if (typed)
            dialog.nf.userEdit(*typed);
        dialog.ok.userClick();
    });
}

// Writes `files` (name and bytes, in list order) into c:\dati, starts there, enters join mode
// (nothing detected) and selects them all.
inline MainWindow& selectToJoin(TestApp& app, const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [name, bytes] : files)
        app.drives.write("c:\\dati\\" + name, bytes);
    MainWindow& m = app.startIn("c:\\dati");
    enterJoinMode(app.desktop, m, 0);
    for (int i = 0; i < static_cast<int>(files.size()); ++i)
        m.File2.userClickItem(i);
    return m;
}

// `name`, selected in c:\src, split through the window at `kb` into `parts` parts, then joined
// back from the parts' folder under the name the detection proposes, into c:\myfiles.
inline void splitAndJoinBack(TestApp& app, const std::string& name, int64_t kb, int parts) {
    MainWindow& m = app.main();
    m.Text.setText(std::to_string(kb));
    m.split.click();
    ASSERT_EQ(m.numparti, parts);
    ASSERT_EQ(m.infolabel.caption(),
              " " + std::to_string(parts) + "/ " + std::to_string(parts) + " files creati con  SUCCESSO");
    m.dir.setPath("c:\\myfiles\\[" + name + "]");
    enterJoinMode(app.desktop, m, parts);
    answerName(app.desktop);
    m.uniscifile.userClick();
    ASSERT_EQ(m.infolabel.caption(), "File Creato in c:\\myfiles\\" + name);
}

// Two sources of `bytes` each selected in c:\dati, to be joined into c:\myfiles.
struct TwoSourceJoin {
    explicit TwoSourceJoin(size_t bytes = 40000) : first(patternBytes(bytes, 1)), second(patternBytes(bytes, 2)) {
        selectToJoin(app, {{"a", first}, {"b", second}});
    }

    // Joins into c:\myfiles\`name`, answering Yes to the question whether to replace it when
    // `replacing`. With `error` 0 the file must be created from both sources; otherwise the error
    // box of that number must end the join, claiming nothing done. No temporary is left either way.
    void join(const std::string& name, bool replacing, int error = 0) {
        answerName(app.desktop, name);
        if (replacing)
            app.desktop.answer(mb::IdYes);
        if (error)
            app.desktop.answer(mb::IdOK);
        const size_t boxes = app.desktop.boxes.size();
        app.main().uniscifile.userClick();
        ASSERT_EQ(app.desktop.boxes.size(), boxes + (replacing ? 1u : 0u) + (error ? 1u : 0u));
        if (error) {
            EXPECT_EQ(app.desktop.boxes.back().text,
                      "Errore numero " + std::to_string(error) + ":" + describeError(error));
            EXPECT_EQ(app.main().infolabel.caption(), "Seleziona i File da Unire e Premi Unisci!");
        } else {
            EXPECT_EQ(app.main().infolabel.caption(), "File Creato in c:\\myfiles\\" + name);
            EXPECT_EQ(app.drives.read("c:\\myfiles\\" + name), first + second);
        }
        EXPECT_EQ(temporariesIn(app.drives, "c:\\myfiles"), std::vector<std::string>{});
    }

    // The user reads the folder again and selects both files anew.
    void chooseAgain() {
        app.main().File2.refresh();
        for (int i = 0; i < 2; ++i)
            app.main().File2.userClickItem(i);
    }

    TestApp app;
    const std::string first, second;
};

} // namespace brenvik
