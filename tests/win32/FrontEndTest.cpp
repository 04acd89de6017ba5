// The Windows front end in this process, on real windows (under Wine, on a virtual display): what
// the user sees of the model, and how soon.
#include "mainwindow/MainWindow.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/win32/Win32ControlView.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FormView.h"
#include "support/TestApp.h"
#include "support/TestDrives.h"

#include <chrono>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>

namespace brenvik {
namespace {

// The real desktop, but no one at the screen: boxes are answered OK, modal windows hidden again.
class UnattendedDesktop : public Win32Desktop {
public:
    using Win32Desktop::Win32Desktop;
    int messageBox(const std::string& text, int, const std::string&) override {
        boxes.push_back(text);
        return mb::IdOK;
    }
    void runModal(Form& form) override {
        modals.push_back(form.name());
        form.hide();
    }
    std::vector<std::string> boxes;
    std::vector<std::string> modals;
};

struct Win32App {
    Win32App() {
        static const bool controls = [] {
            INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
            return InitCommonControlsEx(&init) != FALSE;
        }();
        (void)controls;
        settings.save("Brenvik", "Primoavvio", "eseguito", "1");
        settings.save("Brenvik", "opzioni", "about", "0");
        settings.save("Brenvik", "path", "initialdir", "c:\\");
    }
    MainWindow& start() {
        main = std::make_unique<MainWindow>(platform);
        main->show();
        desktop.yield();
        return *main;
    }
    HWND hwnd(const Control& control) {
        Win32FormView* form = desktop.existingView(control.form());
        Win32ControlView* view = form ? form->viewOf(control) : nullptr;
        return view ? view->hwnd() : nullptr;
    }
    // Milliseconds until the window answers again after `action`.
    double timed(const std::function<void()>& action) {
        const auto t0 = std::chrono::steady_clock::now();
        action();
        desktop.yield();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }

    TestDrives drives;
    UnattendedDesktop desktop{GetModuleHandleW(nullptr)};
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform{desktop, drives.fs(), drives.fs(), settings, launcher};
    std::unique_ptr<MainWindow> main;
};

// The detection selects a thousand parts one by one; the list box is told of the last state
// only, and draws it once.
TEST(FrontEndTest, AFolderOfAThousandPartsOpensAndTurnsToJoinModeAtOnce) {
    Win32App app;
    app.drives.makeFolders("c:\\parti");
    for (int i = 0; i < 1000; ++i)
        app.drives.write("c:\\parti\\film.avi." + std::to_string(1000 + i).substr(1), "x");
    MainWindow& m = app.start();
    // Generous bounds: the figures themselves are measured in bench/ (some 0.1 s each).
    EXPECT_LT(app.timed([&] { m.dir.setPath("c:\\parti"); }), 10000.0);
    EXPECT_LT(app.timed([&] { m.Option2.userClick(); }), 10000.0);
    ASSERT_EQ(app.desktop.boxes.size(), 1u);
    EXPECT_EQ(SendMessageW(app.hwnd(m.File2), LB_GETSELCOUNT, 0, 0), 1000) << "the box shows the model's selection";
    wchar_t counter[16] = {};
    GetWindowTextW(app.hwnd(m.Label5), counter, 16);
    EXPECT_EQ(std::wstring(counter), L"1000");
}

// As in the system's own dialogs, and as the Linux program draws them.
TEST(FrontEndTest, ADisabledFramesControlsAreDrawnDisabled) {
    Win32App app;
    app.drives.write("c:\\dati.bin", patternBytes(5000));
    MainWindow& m = app.start();
    const std::vector<Control*> inside = {&m.Text, &m.VScroll1, &m.Option3, &m.Option4, &m.numfile, &m.Label4};
    for (Control* c : inside)
        EXPECT_FALSE(IsWindowEnabled(app.hwnd(*c))) << c->name() << " at start";
    clickFile(m, "dati.bin");
    app.desktop.yield();
    for (Control* c : inside)
        EXPECT_TRUE(IsWindowEnabled(app.hwnd(*c))) << c->name() << " once a file is chosen";
}

// At 96 dpi, in the system's font, no frame, check box or option button cuts its caption: the
// system draws a frame's caption from some 8 pixels in and cuts it as far short of the right
// edge, and a check box's caption after its box and a gap.
TEST(FrontEndTest, NoCaptionIsCut) {
    Win32App app;
    MainWindow& m = app.start();
    for (Form* form : {static_cast<Form*>(&m), static_cast<Form*>(&m.optionsfrm()), static_cast<Form*>(&m.helpfrm())}) {
        if (form != &m)
            form->show();
        app.desktop.yield();
        for (Control* c : form->controls()) {
            const bool frame = c->kind() == ControlKind::Frame;
            const bool indicator = c->kind() == ControlKind::CheckBox || c->kind() == ControlKind::OptionButton;
            HWND h = app.hwnd(*c);
            if ((!frame && !indicator) || !h || !IsWindowVisible(h) || c->caption().empty())
                continue;
            wchar_t text[256] = {};
            GetWindowTextW(h, text, 256);
            HDC dc = GetDC(h);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
            SelectObject(dc, old);
            ReleaseDC(h, dc);
            RECT r{};
            GetClientRect(h, &r);
            const int room = frame ? r.right - 24 : r.right - GetSystemMetrics(SM_CXMENUCHECK) - 8;
            EXPECT_LE(extent.cx, room) << form->name() << "." << c->name();
        }
        if (form != &m)
            form->hide();
    }
}

// Enter presses the push button with the focus, as Space does.
TEST(FrontEndTest, EnterPressesTheFocusedButton) {
    Win32App app;
    MainWindow& m = app.start();
    SetFocus(app.hwnd(m.help));
    PostMessageW(app.hwnd(m.help), WM_KEYDOWN, VK_RETURN, 0);
    app.desktop.yield();
    EXPECT_EQ(app.desktop.modals, std::vector<std::string>{"helpfrm"});
}

} // namespace
} // namespace brenvik
