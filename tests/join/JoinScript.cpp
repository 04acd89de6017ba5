#include "JoinScript.h"

#include <gtest/gtest.h>

namespace brenvik {

void enterJoinMode(ScriptedDesktop& desktop, MainWindow& m, int found) {
    if (found > 0)
        desktop.answer(mb::IdOK);
    size_t boxes = desktop.boxes.size();
    m.Option2.userClick();
    EXPECT_EQ(desktop.boxes.size(), boxes + (found > 0 ? 1 : 0));
    if (found > 0 && desktop.boxes.size() > boxes) {
        EXPECT_EQ(desktop.boxes.back().text, foundMessage(found));
    }
}

void typeName(ScriptedDesktop& desktop, const std::string& name) {
    desktop.onModal("nomefile", [name](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        dialog.nf.userEdit(name);
        dialog.ok.userClick();
    });
}

void confirmName(ScriptedDesktop& desktop, std::string* proposed) {
    desktop.onModal("nomefile", [proposed](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        if (proposed)
            *proposed = dialog.nf.text();
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

std::string foundMessage(int count) {
    return "La ricerca Automatica, ha trovato " + std::to_string(count) +
           " File Da unire!\r\nClicca unisci per assemblarli, o seleziona i file manualmente.";
}

std::string partName(const std::string& name, int number) {
    std::string digits = std::to_string(number);
    return name + "." + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

std::vector<std::string> selectedItems(FileList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i)
        if (list.selected(i))
            out.push_back(list.item(i));
    return out;
}

int writeParts(TestDrives& drives, const std::string& folder, const std::string& name, const std::string& bytes,
               size_t partSize) {
    drives.makeFolders(folder);
    int n = 0;
    for (size_t at = 0; at < bytes.size(); at += partSize, ++n)
        drives.write(folder + "\\" + partName(name, n), bytes.substr(at, partSize));
    return n;
}

} // namespace brenvik
