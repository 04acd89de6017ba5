#include "support/TestApp.h"

namespace brenvik {

TestApp::TestApp() : platform(desktop, drives.fs(), settings, launcher) {}

void TestApp::presetReturningUser() {
    store("Primoavvio", "eseguito", "1");
    store("opzioni", "about", "0");
    store("path", "initialdir", "c:\\");
}

MainWindow& TestApp::start() {
    main_ = std::make_unique<MainWindow>(platform);
    main_->show();
    return *main_;
}

} // namespace brenvik
