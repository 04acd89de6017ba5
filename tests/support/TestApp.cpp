#include "support/TestApp.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace brenvik {

TestApp::TestApp() : platform(desktop, drives.fs(), settings, launcher) {}

void TestApp::presetReturningUser() {
    store("Primoavvio", "eseguito", "1");
    store("opzioni", "about", "0");
    store("path", "initialdir", "c:\\");
}

MainWindow& TestApp::start(Platform* other) {
    main_ = std::make_unique<MainWindow>(other ? *other : platform);
    main_->show();
    return *main_;
}

MainWindow& TestApp::startIn(const std::string& folder, Platform* other) {
    presetReturningUser();
    drives.makeFolders(folder);
    store("path", "initialdir", folder);
    return start(other);
}

void clickFile(MainWindow& m, const std::string& name) {
    auto find = [&m, &name] {
        const auto& items = m.list.items();
        auto it = std::find(items.begin(), items.end(), name);
        return it == items.end() ? -1 : static_cast<int>(it - items.begin());
    };
    int index = find();
    if (index < 0) {
        m.list.refresh();
        index = find();
    }
    ASSERT_GE(index, 0) << name << " is not in the list of " << m.list.path();
    m.list.userClickItem(index);
}

void makeSparseFile(TestDrives& drives, const std::string& winPath, int64_t size) {
    makeSparseHostFile(drives.hostFile(winPath), size);
}

} // namespace brenvik
