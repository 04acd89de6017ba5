#include "support/TestApp.h"

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

} // namespace brenvik
