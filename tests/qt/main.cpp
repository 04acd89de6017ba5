// The Qt tests' entry: Qt runs offscreen unless told otherwise, with the program's own look.
#include "platform/qt/QtDesktop.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // 0: a platform already chosen stays
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    brenvik::QtDesktop::prepareApplication(app);
    return RUN_ALL_TESTS();
}
