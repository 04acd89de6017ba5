#include "QtTestSupport.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <QAbstractButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace brenvik {
namespace {

// A small tool window, closed by its button, that starts as good as invisible.
class ToolWindow : public Form {
public:
    explicit ToolWindow(Platform& platform) : Form(platform, "prova"), chiudi(add<CommandButton>("chiudi")) {
        chiudi.onClick = [this] { hide(); };
        applyDesign();
    }
    CommandButton& chiudi;
    std::function<void()> whenActive;
    int activations = 0;

protected:
    void design() override {
        setWindow("Prova", BorderStyle::FixedToolWindow, 3000, 1500);
        chiudi.setCaption("&Chiudi");
        chiudi.setGeometry({1500, 900, 1200, 375});
    }
    void Form_Activate() override {
        ++activations;
        if (whenActive)
            whenActive();
    }
};

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

TEST(QtDesktopTest, MessageBoxesShowItalianCaptionsAndReturnThePressedButton) {
    QtApp app;
    struct Case {
        int flags;
        const char* press;
        int answer;
        QStringList captions;
    };
    const Case cases[] = {
        {mb::YesNo | mb::Question, "Sì", mb::IdYes, {"Sì", "No"}},
        {mb::YesNo, "No", mb::IdNo, {"Sì", "No"}},
        {mb::OK | mb::Information, "OK", mb::IdOK, {"OK"}},
        {mb::OKCancel | mb::Exclamation, "Annulla", mb::IdCancel, {"OK", "Annulla"}},
        {mb::AbortRetryIgnore | mb::Critical, "Riprova", mb::IdRetry, {"Interrompi", "Riprova", "Ignora"}},
        {mb::AbortRetryIgnore, "Ignora", mb::IdIgnore, {"Interrompi", "Riprova", "Ignora"}},
        {mb::RetryCancel, "Riprova", mb::IdRetry, {"Riprova", "Annulla"}},
    };
    for (const Case& c : cases) {
        auto seen = answerNextBox(QString::fromUtf8(c.press));
        int answer = app.desktop.messageBox("Testo\r\nseconda riga", c.flags, "Titolo");
        EXPECT_EQ(answer, c.answer) << c.press;
        ASSERT_TRUE(seen->shown);
        EXPECT_EQ(sorted(seen->buttons), sorted(c.captions)) << c.press;
        EXPECT_EQ(seen->title, QStringLiteral("Titolo"));
        EXPECT_EQ(seen->text, QStringLiteral("Testo\nseconda riga"));
    }

    // Closing the box without a button gives the answer that gives up.
    auto seen = answerNextBox(QStringLiteral("<none>"));
    EXPECT_EQ(app.desktop.messageBox("?", mb::AbortRetryIgnore, "Errore"), mb::IdAbort);
    EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
}

TEST(QtDesktopTest, ModalWindowRunsUntilTheModelHidesIt) {
    QtApp app;
    MainWindow& m = app.start();
    m.esci.setFocus();

    ToolWindow tool(app.platform);
    tool.setOuterSize(1, 1);
    QPoint placed;
    QSize tiny;
    tool.whenActive = [&] {
        // The click comes from the modal loop, once the window is up.
        QTimer::singleShot(0, [&] {
            QtFormView& window = app.desktop.view(tool);
            tiny = window.size();
            placed = window.pos();
            tool.setOuterSize(tool.clientWidth() + frameWidthTwips(BorderStyle::FixedToolWindow),
                              tool.clientHeight() + frameHeightTwips(BorderStyle::FixedToolWindow));
            EXPECT_EQ(window.size(), QSize(200, 100));
            EXPECT_EQ(window.pos(), placed) << "growing keeps the top-left corner";
            auto* chiudi = window.findChild<QAbstractButton*>(QStringLiteral("chiudi"));
            ASSERT_NE(chiudi, nullptr);
            EXPECT_EQ(chiudi->text(), QStringLiteral("&Chiudi"));
            EXPECT_EQ(chiudi->geometry(), QRect(100, 60, 80, 25));
            chiudi->click();
        });
    };
    tool.showModal();

    QtFormView& window = app.desktop.view(tool);
    EXPECT_EQ(tiny, QSize(1, 1));
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(tool.visible());
    EXPECT_EQ(tool.activations, 1);
    EXPECT_EQ(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Prova"));
    // The main window is the active one again and took its focus button back.
    EXPECT_EQ(m.focused(), &m.Command1);
    EXPECT_EQ(app.platform.activeForms.back(), &m);
}

} // namespace
} // namespace brenvik
