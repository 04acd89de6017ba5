#include "app/ErrorMessages.h"
#include "platform/RuntimeError.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

namespace brenvik {
namespace {

// The table's texts and buttons stand in the code as they stand on screen; what is tested is how
// the button pressed becomes the handler's next step.
TEST(ErrorTableTest, TheButtonPressedDecidesRetryContinueOrGiveUp) {
    TestApp app;
    struct Row {
        int number, answer, result;
    };
    for (const Row& r :
         {Row{err::InputPastEnd, mb::IdAbort, errore::Irreversible},
          Row{err::DeviceUnavailable, mb::IdRetry, errore::Retry}, Row{err::DiskNotReady, mb::IdOK, errore::Retry},
          Row{err::LoadFailed, mb::IdIgnore, errore::Continue}}) {
        app.desktop.answer(r.answer);
        EXPECT_EQ(ErroreDaNumero(app.platform, r.number), r.result) << r.number;
        EXPECT_EQ(app.desktop.boxes.back().title, "Errore");
    }
    // An unlisted number shows nothing: with no answer left, a box would fail the test.
    EXPECT_EQ(ErroreDaNumero(app.platform, err::TypeMismatch), errore::Unlisted);
}

} // namespace
} // namespace brenvik
