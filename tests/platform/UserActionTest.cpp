#include "platform/UserAction.h"

#include "platform/Desktop.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace brenvik {
namespace {

TEST(UserActionTest, NothingAnActionThrowsReachesTheToolkit) {
    TestApp app;
    for (int i = 0; i < 3; ++i)
        app.desktop.answer(mb::IdOK);
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw RuntimeError(err::FileNotFound); }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw std::logic_error("rotto"); }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw 42; }));
    EXPECT_NO_THROW(runUserAction(app.platform, [] { throw ProgramEnded{}; }));

    ASSERT_EQ(app.desktop.boxes.size(), 3u) << "the end of the program is no error";
    EXPECT_EQ(app.desktop.boxes[0].text, "Errore di run-time '53':\r\n\r\nImpossibile trovare il file");
    EXPECT_EQ(app.desktop.boxes[1].text, "Errore di run-time:\r\n\r\nrotto");
    EXPECT_EQ(app.desktop.boxes[2].text, "Errore di run-time");
    for (const ScriptedDesktop::Box& box : app.desktop.boxes)
        EXPECT_EQ(box.flags, mb::OK | mb::Critical);
}

} // namespace
} // namespace brenvik
