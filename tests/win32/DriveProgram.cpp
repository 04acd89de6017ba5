// The Windows program end to end, as a user drives it, from another process: brenvik.exe is
// started with its settings preset in the registry, its windows are found by their captions and
// their controls by their ids, and the messages a user's clicks send are sent to them. Files with
// an accented and a Japanese name are split, rebuilt by the script under cmd where the script can
// be written, and their parts joined back under the name the name dialog proposes; each result
// must be the original, byte for byte.
//
// Usage: brenvik-drive brenvik.exe folder [--at-144-dpi]   (the folder is made afresh; it must not
// hold anything of value). With --at-144-dpi, on a screen set to 144 dpi, only the window's
// scaled geometry is checked.
//        brenvik-drive --planted brenvik.exe   started from a folder that also holds a gdiplus.dll of
// the tests' own (PlantedGdiplus.cpp), that DLL must not be loaded.
//        brenvik-drive --first-run brenvik.exe   a first start as a new user has it (no settings):
// the preparation window, the wizard through its pages to "Fine", then the main window, closed
// with Esci; the wizard's settings must then be in the registry.
// Exit status 0 when everything held, 1 with the failures on the standard error.
#include "dialogs/InstallWindow.h"
#include "dialogs/Wizard.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/HostFileSystem.h"
#include "platform/HostLauncher.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/windows/RegistrySettingsStore.h"
#include "platform/windows/Win32.h"
#include "win32/Redirected.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using brenvik::runRedirected;
using brenvik::win::narrow;
using brenvik::win::widen;

namespace {

int failures = 0;

void fail(const std::string& what) {
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    std::fflush(stderr);
    ++failures;
}

void step(const std::string& what) {
    std::printf("-- %s\n", what.c_str());
    std::fflush(stdout);
}

// ---- The model of the windows, only for their captions and each control's id (1000 + its position).

// Its desktop is the program's own, never asked to show a window.
struct Model {
    brenvik::Win32Desktop desktop{GetModuleHandleW(nullptr)};
    brenvik::HostFileSystem files{brenvik::DriveTable::forThisUser()};
    brenvik::MemorySettingsStore settings;
    brenvik::HostLauncher launcher{files};
    brenvik::Platform platform{desktop, files, files, settings, launcher};
    brenvik::MainWindow main{platform};
};

// The main window's model; the dialogs' are its members.
const brenvik::MainWindow& model() {
    static Model m;
    return m.main;
}

int idOf(const brenvik::Form& form, const std::string& name) {
    const auto& controls = form.controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i]->name() == name)
            return 1000 + static_cast<int>(i);
    fail("no control " + name + " in " + form.name());
    return -1;
}

// ---- Finding windows and controls.

// Whether `done` holds within about `seconds`, asked every tenth of a second.
bool waitFor(const std::function<bool()>& done, int seconds) {
    for (int tenths = 0; tenths < seconds * 10 && !done(); ++tenths)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return done();
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

// The first window under `parent` (among the top-level ones when null) that `match` accepts, or
// null.
HWND findWindow(HWND parent, const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>& match;
        HWND found;
    } search{match, nullptr};
    const WNDENUMPROC visit = [](HWND window, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (!s->match(window))
            return TRUE;
        s->found = window;
        return FALSE;
    };
    if (parent)
        EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The control `name` of `form` in its window.
HWND controlOf(HWND window, const brenvik::Form& form, const std::string& name) {
    return findWindow(window, [id = idOf(form, name)](HWND child) { return GetDlgCtrlID(child) == id; });
}

// A visible window of the program's process of the class `cls` and, when one is given, with the
// caption `caption`; or null.
HWND findWindowOf(DWORD process, const std::wstring& cls, const std::optional<std::wstring>& caption = {}) {
    return findWindow(nullptr, [&](HWND window) {
        wchar_t name[64] = {};
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        GetClassNameW(window, name, 64);
        return owner == process && name == cls && IsWindowVisible(window) && (!caption || textOf(window) == *caption);
    });
}

std::wstring boxText(HWND box) {
    return textOf(GetDlgItem(box, 0xFFFF));
}

// Presses a button as a click does, without waiting for what the click starts.
void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

// ---- Files and settings.

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    std::generate(bytes.begin(), bytes.end(),
                  [x = std::minstd_rand(12345)]() mutable { return static_cast<char>(x()); });
    return bytes;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The program's settings, where it keeps them: the registry's layout is checked by the tests of
// the store and of the installer.
void setting(const std::string& section, const std::string& key, const std::string& value) {
    brenvik::RegistrySettingsStore().save("Brenvik", section, key, value);
}

std::string settingOf(const std::string& section, const std::string& key) {
    return brenvik::RegistrySettingsStore().read("Brenvik", section, key, "<none>");
}

// ---- The program, and the keyboard as its thread receives it.

struct Program {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    HWND control(const std::string& name) const { return controlOf(main, model(), name); }
    HWND box() const { return findWindowOf(process.dwProcessId, L"#32770"); } // a message box, or null
};

// The window of `form` once the program shows it, or null after a failure.
HWND awaitWindow(const Program& p, const brenvik::Form& form, const std::string& what, int seconds = 60) {
    HWND window = nullptr;
    const std::wstring caption = widen(form.caption());
    if (!waitFor([&] { return (window = findWindowOf(p.process.dwProcessId, L"BrenvikForm", caption)) != nullptr; },
                 seconds))
        fail("the " + what + " did not come up");
    return window;
}

bool launch(Program& p, const fs::path& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &p.process))
        fail("cannot start " + exe.string());
    return p.process.hProcess != nullptr;
}

// Starts the program on `folder` and waits for its main window.
bool start(Program& p, const fs::path& exe, const fs::path& folder) {
    setting("path", "initialdir", narrow(folder.wstring()));
    if (!launch(p, exe))
        return false;
    WaitForInputIdle(p.process.hProcess, 30000);
    return (p.main = awaitWindow(p, model(), "main window")) != nullptr;
}

HWND focusedWindow(const Program& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(program.process.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

// The name of the control with the keyboard focus in the program, or "<none>".
std::string focusedName(const Program& program) {
    const int index = GetDlgCtrlID(focusedWindow(program)) - 1000;
    const auto& controls = model().controls();
    return index >= 0 && index < static_cast<int>(controls.size()) ? controls[static_cast<size_t>(index)]->name()
                                                                   : "<none>";
}

// A key pressed on the focused control: its key-down message as the system queues it.
void key(const Program& program, WPARAM code) {
    HWND focus = focusedWindow(program);
    PostMessageW(focus, WM_KEYDOWN, code, 1);
    PostMessageW(focus, WM_KEYUP, code, 1 | (1u << 30) | (1u << 31));
    // Taken once the program waits for input again.
    WaitForInputIdle(program.process.hProcess, 5000);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// Alt with a letter: the character message the system translates it into.
void altKey(const Program& program, wchar_t letter) {
    PostMessageW(focusedWindow(program), WM_SYSCHAR, letter, 1u << 29);
}

// Tab, from the focused control, visits `expected` and comes back to it.
void expectCycle(const Program& program, const std::vector<std::string>& expected) {
    const std::string start = focusedName(program);
    std::vector<std::string> visited;
    do {
        key(program, VK_TAB);
        visited.push_back(focusedName(program));
    } while (visited.back() != start && visited.size() < 40);
    std::string text;
    for (const std::string& name : visited)
        text += name + " ";
    if (visited != expected)
        fail("Tab visits " + text);
}

void tabTo(const Program& program, const std::string& name) {
    for (int i = 0; i < 40 && focusedName(program) != name; ++i)
        key(program, VK_TAB);
    if (focusedName(program) != name)
        fail("Tab does not reach " + name);
}

// Answers the message box that must come up, after checking its button's Italian caption.
void answerBox(const Program& p, int button, const std::wstring& caption, const std::wstring& expectText) {
    HWND box = nullptr;
    if (!waitFor([&] { return (box = p.box()) != nullptr; }, 30)) {
        fail("no message box came up (expected \"" + narrow(expectText) + "\")");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (boxText(box).find(expectText) == std::wstring::npos)
        fail("message box says \"" + narrow(boxText(box)) + "\", expected \"" + narrow(expectText) + "\"");
    HWND b = GetDlgItem(box, button);
    if (!b || textOf(b) != caption)
        fail("the message box's button " + std::to_string(button) + " reads \"" + narrow(textOf(b)) + "\", not \"" +
             narrow(caption) + "\"");
    if (b)
        click(b);
    if (!waitFor([&] { return !IsWindow(box); }, 30))
        fail("the message box did not close");
}

// Ends the program as a user does: Esci, clicked or by its access key, then Sì to the question.
void quit(Program& p, bool fromKeyboard = false) {
    if (fromKeyboard)
        altKey(p, L'e');
    else
        click(p.control("esci"));
    answerBox(p, IDYES, L"S\u00ec", L"Sicuro di voler uscire");
    if (WaitForSingleObject(p.process.hProcess, 30000) != WAIT_OBJECT_0) {
        fail("the program did not end after Sì");
        TerminateProcess(p.process.hProcess, 1);
    }
    CloseHandle(p.process.hThread);
    CloseHandle(p.process.hProcess);
}

// ---- The steps.

struct Folders {
    fs::path exe, root, src, out;
    fs::path parts(const std::wstring& name) const { return out / (L"[" + name + L"]"); }
    fs::path script(const std::wstring& name) const { return parts(name) / (L"Assembla[" + name + L"].bat"); }
};

// Chooses `name` in the file list of a program started on the source folder and splits it at the
// preset 500 KB, from the keyboard alone (Tab, the arrow keys, Alt+S, Alt+E), checking the Tab
// order on the way when asked. True when the status says the script was written, which depends
// on the system's OEM code page.
bool splitStep(const Folders& f, const std::wstring& name, bool checkTabOrder) {
    step("split " + narrow(name) + " from the keyboard");
    Program program;
    if (!start(program, f.exe, f.src))
        return false;
    HWND info = program.control("infolabel");
    const int index = static_cast<int>(SendMessageW(program.control("list"), LB_FINDSTRINGEXACT,
                                                    static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
    if (index < 0)
        fail("the file list does not show " + narrow(name));
    tabTo(program, "list");
    // Nothing chosen yet: the split button and the size selector are skipped.
    if (checkTabOrder)
        expectCycle(program, {"help", "pathbar", "options", "Option1", "Option2", "about", "esci", "Command1", "drive",
                              "dir", "list"});
    key(program, VK_HOME);
    for (int i = 0; i < index; ++i)
        key(program, VK_DOWN);
    if (textOf(info).find(name) == std::wstring::npos)
        fail("the arrow keys did not choose " + narrow(name) + ": status \"" + narrow(textOf(info)) + "\"");
    if (checkTabOrder)
        expectCycle(program, {"split", "help", "Text", "pathbar", "options", "Option1", "Option2", "Option3", "Option4",
                              "about", "esci", "VScroll1", "Command1", "drive", "dir", "list"});
    altKey(program, L's');
    const auto says = [&](const wchar_t* text) { return textOf(info).find(text) != std::wstring::npos; };
    waitFor([&] { return says(L"SUCCESSO") || says(L"script non creato") || program.box(); }, 60);
    const bool written = says(L"SUCCESSO");
    if (!written && !says(L"script non creato")) {
        HWND box = program.box();
        fail("the split did not succeed: status \"" + narrow(textOf(info)) + "\"" +
             (box ? ", box \"" + narrow(boxText(box)) + "\"" : ""));
    }
    quit(program, true); // Alt+E
    return written;
}

// Copies the parts and the script into a folder of their own and runs the script there under cmd.
void rebuildStep(const Folders& f, const std::wstring& name, const std::string& original) {
    step("rebuild " + narrow(name) + " with the script under cmd");
    const fs::path folder = f.root / L"rebuilt";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::copy(f.parts(name), folder);
    // The script's Pause reads a key from its input.
    writeFile(f.root / L"keys.txt", "\r\n\r\n\r\n");
    const int status = runRedirected(L"cmd.exe /c \"" + f.script(name).filename().wstring() + L"\"", folder,
                                     f.root / L"keys.txt", f.root / L"cmd.log");
    if (readFile(folder / name) != original)
        fail("the script's rebuilt file differs from the original; cmd (exit status " + std::to_string(status) +
             ") said:\n" + readFile(f.root / L"cmd.log"));
}

// Join mode over the parts' folder finds the three parts; they are joined under the name the name
// dialog proposes, into the destination folder.
void joinStep(const Folders& f, const std::wstring& name, const std::string& original) {
    step("join " + narrow(name));
    Program program;
    if (!start(program, f.exe, f.parts(name)))
        return;
    click(program.control("Option2"));
    answerBox(program, IDOK, L"OK", L"ha trovato 3 File");
    click(program.control("uniscifile"));
    if (HWND dialog = awaitWindow(program, model().nomefile(), "name dialog", 30)) {
        const std::wstring proposed = textOf(controlOf(dialog, model().nomefile(), "nf"));
        if (proposed != name)
            fail("the name dialog proposes \"" + narrow(proposed) + "\"");
        click(controlOf(dialog, model().nomefile(), "ok"));
    }
    HWND info = program.control("infolabel");
    if (!waitFor([&] { return textOf(info).find(L"File Creato") != std::wstring::npos; }, 60))
        fail("the join did not end: status \"" + narrow(textOf(info)) + "\"");
    if (readFile(f.out / name) != original)
        fail("the joined file " + narrow(name) + " differs from the original");
    quit(program);
}

// `r` at 144 dpi within a pixel of `want` (left, top, width, height), as rounding leaves it.
void expectScaled(const std::string& what, const RECT& r, const std::vector<long>& want) {
    const std::vector<long> got{r.left, r.top, r.right - r.left, r.bottom - r.top};
    const auto text = [](const std::vector<long>& v) {
        return std::to_string(v[0]) + "," + std::to_string(v[1]) + " sized " + std::to_string(v[2]) + "x" +
               std::to_string(v[3]);
    };
    if (!std::equal(got.begin(), got.end(), want.begin(), [](long g, long w) { return g >= w - 1 && g <= w + 1; }))
        fail("at 144 dpi " + what + " is at " + text(got) + ", not " + text(want));
}

// The main window on a 144 dpi screen (150 %, set before the driver starts): its inner area and a
// button in logical pixels of the 96 dpi design, times 1.5, to the pixel.
void scaledScreenStep(const Folders& f) {
    step("main window at 150 %");
    Program program;
    if (!start(program, f.exe, f.src))
        return;
    if (GetDpiForWindow(program.main) != 144)
        fail("the program's window is at " + std::to_string(GetDpiForWindow(program.main)) + " dpi, not 144");
    RECT client{}, button{};
    GetClientRect(program.main, &client);
    expectScaled("the main window's inner area", client, {0, 0, 728, 710});
    GetWindowRect(program.control("split"), &button);
    MapWindowPoints(nullptr, program.main, reinterpret_cast<POINT*>(&button), 2);
    expectScaled("the split button", button, {558, 84, 152, 104});
    quit(program);
}

// A marker left by the installer would skip the wizard, which then does not come up.
void firstRun(const fs::path& exe) {
    step("first start of " + exe.string());
    Program program;
    if (!launch(program, exe))
        return;
    // The preparation window has no caption; it closes itself after a few seconds.
    awaitWindow(program, model().install(), "preparation window");
    if (HWND wizard = awaitWindow(program, model().wizard(), "wizard")) {
        step("the wizard: Avanti four times, then Fine");
        HWND avanti = controlOf(wizard, model().wizard(), "avanti");
        HWND fine = controlOf(wizard, model().wizard(), "fine");
        for (int i = 0; i < 4; ++i) {
            if (IsWindowEnabled(fine))
                fail("Fine is enabled before the last page");
            click(avanti);
            WaitForInputIdle(program.process.hProcess, 5000);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        if (!waitFor([&] { return IsWindowEnabled(fine) != FALSE; }, 10))
            fail("Fine is still disabled after four Avanti");
        click(fine);
    }
    step("the main window, closed with Esci");
    if (!(program.main = awaitWindow(program, model(), "main window"))) {
        TerminateProcess(program.process.hProcess, 1);
        return;
    }
    quit(program);
    if (settingOf("Primoavvio", "eseguito") != "1")
        fail("the wizard did not mark the first run as done");
    if (settingOf("Destinazione", "dir") != "C:\\myfiles")
        fail("the wizard stored the destination \"" + settingOf("Destinazione", "dir") + "\"");
}

// The program started from a folder that holds a gdiplus.dll of the tests' own, which leaves
// gdiplus-loaded.txt beside itself when loaded: the program must take the system's GDI+, and still
// draw its pictures with it.
void plantedStep(const fs::path& exe) {
    setting("Primoavvio", "eseguito", "1");
    setting("opzioni", "about", "0");
    Program p;
    step("started beside a planted gdiplus.dll");
    if (!start(p, exe, exe.parent_path()))
        return;
    // Long enough for every button's picture to be drawn.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    if (fs::exists(exe.parent_path() / "gdiplus-loaded.txt"))
        fail("the gdiplus.dll beside the program was loaded");
    quit(p);
}

void run(const fs::path& exe, const fs::path& root, bool scaled) {
    const Folders f{exe, root, root / L"src", root / L"out"};
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(f.src);
    fs::create_directories(f.out);

    setting("Primoavvio", "eseguito", "1");
    setting("opzioni", "about", "0");
    setting("opzioni", "cartsplit", "0");
    setting("opzioni", "cartunisci", "0");
    setting("Destinazione", "dir", narrow(f.out.wstring()));
    if (scaled) {
        scaledScreenStep(f);
    } else {
        // Three parts of the preset 500 KB each, the last one short. The first name is in the OEM
        // code page of a Western system, so its script is always written; the second is in few OEM
        // pages: where it is not, the parts are written and the status says why the script is not.
        for (const std::wstring& name : {std::wstring(L"citt\u00e0.txt"), std::wstring(L"\u65e5\u672c.bin")}) {
            const std::string original = pattern(1100000 + name.size());
            writeFile(f.src / name, original);
            const bool western = name == L"citt\u00e0.txt";
            if (splitStep(f, name, western))
                rebuildStep(f, name, original);
            else if (western)
                fail("no script for " + narrow(name));
            else if (fs::exists(f.script(name)))
                fail("a script for " + narrow(name) + " although the status says none was written");
            joinStep(f, name, original);
        }
    }
    fs::remove_all(root, ec);
}

} // namespace

int main(int argc, char* argv[]) {
    const bool scaled = argc == 4 && std::string(argv[3]) == "--at-144-dpi";
    const bool first = argc == 3 && std::string(argv[1]) == "--first-run";
    const bool planted = argc == 3 && std::string(argv[1]) == "--planted";
    if (argc != 3 && !scaled) {
        std::fprintf(stderr,
                     "usage: %s brenvik.exe folder [--at-144-dpi]\n       %s --first-run brenvik.exe\n"
                     "       %s --planted brenvik.exe\n",
                     argv[0], argv[0], argv[0]);
        return 2;
    }
    try {
        if (first)
            firstRun(fs::absolute(argv[2]));
        else if (planted)
            plantedStep(fs::absolute(argv[2]));
        else
            run(fs::absolute(argv[1]), fs::absolute(argv[2]), scaled);
        std::printf(failures == 0 ? "PASSED\n" : "FAILED\n");
        return failures == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FAILED: %s\n", e.what());
        return 1;
    }
}
