// The Windows front end in this process, on real windows (under Wine, on a virtual display): what
// the user sees of the model, and how soon.
#include "dialogs/AboutWindow.h"
#include "dialogs/GuideWindow.h"
#include "dialogs/PreferencesPanel.h"
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
    FaultyFiles files{drives.table()};
    UnattendedDesktop desktop{GetModuleHandleW(nullptr)};
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform{desktop, files, files, settings, launcher};
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

// The pixels of the text colour in the strip of a frame where its caption stands.
int captionTextPixels(HWND frame) {
    UpdateWindow(frame);
    RECT client{};
    GetClientRect(frame, &client);
    HDC dc = GetDC(frame);
    int found = 0;
    for (LONG y = 0; y < 14; ++y)
        for (LONG x = 0; x < client.right; ++x)
            found += GetPixel(dc, x, y) == GetSysColor(COLOR_BTNTEXT) ? 1 : 0;
    ReleaseDC(frame, dc);
    return found;
}

// As in the system's own dialogs, and as the Linux program draws them: the frame's contents and
// its caption.
TEST(FrontEndTest, ADisabledFramesControlsAreDrawnDisabled) {
    Win32App app;
    app.drives.write("c:\\dati.bin", patternBytes(5000));
    MainWindow& m = app.start();
    const std::vector<Control*> inside = {&m.Text, &m.VScroll1, &m.Option3, &m.Option4, &m.numfile, &m.Label4};
    for (Control* c : inside)
        EXPECT_FALSE(IsWindowEnabled(app.hwnd(*c))) << c->name() << " at start";
    EXPECT_EQ(captionTextPixels(app.hwnd(m.Frame3)), 0) << "the caption is drawn disabled too";
    clickFile(m, "dati.bin");
    app.desktop.yield();
    for (Control* c : inside)
        EXPECT_TRUE(IsWindowEnabled(app.hwnd(*c))) << c->name() << " once a file is chosen";
    EXPECT_GT(captionTextPixels(app.hwnd(m.Frame3)), 0);
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

// What a timer of the window's thread sees while a split runs aside.
struct DuringSplit {
    Win32App* app = nullptr;
    MainWindow* m = nullptr;
    int ticks = 0;
    std::string status = {};
    int figurePixels = 0; // of the progress figure's white, inside the bar's filled part
    bool minimised = false;
};
DuringSplit* during = nullptr;

// The pixels of the colour `color` the window shows over the filled part of the progress bar.
int pixelsOverTheFill(Win32App& app, MainWindow& m, COLORREF color) {
    HWND window = GetParent(app.hwnd(m.barra));
    RECT fill{};
    GetWindowRect(app.hwnd(m.barra), &fill);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&fill), 2);
    HDC dc = GetDC(window);
    int found = 0;
    for (LONG y = fill.top; y < fill.bottom; ++y)
        for (LONG x = fill.left; x < fill.right; ++x)
            found += GetPixel(dc, x, y) == color ? 1 : 0;
    ReleaseDC(window, dc);
    return found;
}

void CALLBACK duringSplitTick(HWND, UINT, UINT_PTR timer, DWORD) {
    DuringSplit& d = *during;
    HWND main = d.app->desktop.existingView(*d.m)->hwnd();
    if (++d.ticks == 1) {
        d.status = d.m->infolabel.caption();
        d.figurePixels = pixelsOverTheFill(*d.app, *d.m, RGB(255, 255, 255));
        PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (d.ticks == 3) {
        d.minimised = IsIconic(main) != FALSE;
        ShowWindow(main, SW_RESTORE);
        KillTimer(nullptr, timer);
    }
}

// A split of many parts on a slow disk runs aside: the window takes a minimise posted meanwhile,
// and draws the progress figure over the bar at the value it shows then.
TEST(FrontEndTest, TheWindowAnswersAndDrawsItsFigureWhileASplitRuns) {
    Win32App app;
    app.drives.write("c:\\dati.bin", patternBytes(60 * 1024));
    MainWindow& m = app.start();
    clickFile(m, "dati.bin");
    m.Text.setText("1");
    app.files.beforeWrite = [](const std::string&, size_t) { Sleep(20); };
    DuringSplit d{&app, &m};
    during = &d;
    SetTimer(nullptr, 0, 300, duringSplitTick);
    m.split.userClick();
    during = nullptr;
    EXPECT_EQ(d.status.rfind("Creando dati.bin.0", 0), 0u) << d.status;
    EXPECT_GT(d.figurePixels, 0) << "the figure 60 on the blue fill";
    EXPECT_TRUE(d.minimised);
    EXPECT_EQ(m.infolabel.caption(), " 60/ 60 files creati con  SUCCESSO");
}

// About's OK takes the focus once its text is typed, whatever window was open before it.
TEST(FrontEndTest, AboutsOkTakesTheFocusOnceItsTextIsTyped) {
    Win32App app;
    MainWindow& m = app.start();
    AboutWindow& about = m.aboutform();
    about.Text.setText("Brenvik"); // typed out in a moment
    for (int opening = 0; opening < 2; ++opening) {
        if (opening == 1) {
            // The guide, opened from the preferences and closed, and the preferences closed.
            m.helpfrm().show();
            m.guida().show();
            app.desktop.yield();
            m.guida().userClose();
            m.helpfrm().hide();
        }
        about.show();
        app.desktop.yield();
        EXPECT_EQ(GetFocus(), app.hwnd(about.ok)) << "opening " << opening;
        about.hide();
    }
}

// A click during a fixed pause of the program's waits for its end: neither lost nor taken in the
// middle of it.
TEST(FrontEndTest, AClickDuringAPauseIsTakenOnceItEnds) {
    Win32App app;
    MainWindow& m = app.start();
    PostMessageW(app.hwnd(m.Option2), BM_CLICK, 0, 0);
    app.platform.pauseAnswering(50);
    EXPECT_FALSE(m.Option2.value()) << "not in the middle of the pause";
    app.desktop.yield();
    EXPECT_TRUE(m.Option2.value()) << "taken once it is over";
}

} // namespace
} // namespace brenvik
