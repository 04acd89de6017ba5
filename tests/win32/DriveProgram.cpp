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
//        brenvik-drive --first-run brenvik.exe   a first start as a new user has it (no settings):
// the preparation window, the wizard through its pages to "Fine", then the main window, closed
// with Esci; the wizard's settings must then be in the registry.
// Exit status 0 when everything held, 1 with the failures on the standard error.
#include "dialogs/InstallWindow.h"
#include "dialogs/Wizard.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/Desktop.h"
#include "platform/HostFileSystem.h"
#include "platform/HostLauncher.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/windows/Win32.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
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

// ---- The model of the windows, only to know each control's id (1000 + its position).

class NoDesktop : public brenvik::Desktop {
public:
    int messageBox(const std::string&, int, const std::string&) override { return brenvik::mb::IdOK; }
    void formShown(brenvik::Form&) override {}
    void formHidden(brenvik::Form&) override {}
    void formUnloaded(brenvik::Form&) override {}
    void runModal(brenvik::Form&) override {}
    void yield() override {}
    void pause(int) override {}
    void beep() override {}
    [[noreturn]] void endProgram() override { std::abort(); }
};

int idOf(const brenvik::Form& form, const std::string& name) {
    const auto& controls = form.controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i]->name() == name)
            return 1000 + static_cast<int>(i);
    fail("no control " + name + " in " + form.name());
    return -1;
}

// ---- Finding windows and controls.

bool waitFor(const std::function<bool()>& done, int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
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

HWND findControl(HWND window, int id) {
    return findWindow(window, [id](HWND child) { return GetDlgCtrlID(child) == id; });
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

// A message box of the program's process, or null.
HWND findBox(DWORD process) {
    return findWindowOf(process, L"#32770");
}

std::wstring boxText(HWND box) {
    return textOf(GetDlgItem(box, 0xFFFF));
}

// Presses a button as a click does, without waiting for what the click starts.
void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

// Answers the message box that must come up, after checking its button's Italian caption.
void answerBox(DWORD process, int button, const std::wstring& caption, const std::wstring& expectText) {
    HWND box = nullptr;
    if (!waitFor([&] { return (box = findBox(process)) != nullptr; }, 30)) {
        fail("no message box came up (expected \"" + narrow(expectText) + "\")");
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::wstring text = boxText(box);
    if (text.find(expectText) == std::wstring::npos)
        fail("message box says \"" + narrow(text) + "\", expected \"" + narrow(expectText) + "\"");
    HWND b = GetDlgItem(box, button);
    if (!b)
        fail("the message box has no button " + std::to_string(button));
    else if (textOf(b) != caption)
        fail("the message box's button reads \"" + narrow(textOf(b)) + "\", not \"" + narrow(caption) + "\"");
    if (b)
        click(b);
    if (!waitFor([&] { return !IsWindow(box); }, 30))
        fail("the message box did not close");
}

// ---- Files and settings.

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    uint32_t x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245 + 12345;
        c = static_cast<char>(x >> 16);
    }
    return bytes;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void setting(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
    HKEY k = nullptr;
    const std::wstring path = std::wstring(L"Software\\Brenvik\\") + section;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
            ERROR_SUCCESS ||
        RegSetValueExW(k, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        fail("cannot preset the setting " + narrow(key));
    if (k)
        RegCloseKey(k);
}

// ---- The program.

struct Program {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
};

bool start(Program& p, const fs::path& exe, const std::wstring& caption) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &p.process)) {
        fail("cannot start " + exe.string());
        return false;
    }
    WaitForInputIdle(p.process.hProcess, 30000);
    if (!waitFor([&] { return (p.main = FindWindowW(L"BrenvikForm", caption.c_str())) != nullptr; }, 60)) {
        fail("the main window did not come up");
        return false;
    }
    return true;
}

// Ends the program as a user does: Esci (pressed by `press`), then Sì to the question.
void quit(Program& p, const std::function<void()>& press) {
    press();
    answerBox(p.process.dwProcessId, IDYES, L"S\u00ec", L"Sicuro di voler uscire");
    if (WaitForSingleObject(p.process.hProcess, 30000) != WAIT_OBJECT_0) {
        fail("the program did not end after Sì");
        TerminateProcess(p.process.hProcess, 1);
    }
    CloseHandle(p.process.hThread);
    CloseHandle(p.process.hProcess);
}

// The windows' models, only for their captions and their controls' ids.
struct Model {
    NoDesktop desktop;
    brenvik::HostFileSystem files{brenvik::DriveTable::forThisUser()};
    brenvik::MemorySettingsStore settings;
    brenvik::HostLauncher launcher{files};
    brenvik::Platform platform{desktop, files, settings, launcher};
    brenvik::MainWindow main{platform};
};

struct Folders {
    fs::path exe, root, src, out;
    fs::path parts(const std::wstring& name) const { return out / (L"[" + name + L"]"); }
};

enum class Script { Written, Refused };

// ---- The keyboard, as the program's thread receives it.

HWND focusedWindow(const Program& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(program.process.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

// The name of the control with the keyboard focus in the program, or "<none>".
std::string focusedName(const Model& model, const Program& program) {
    const int index = GetDlgCtrlID(focusedWindow(program)) - 1000;
    const auto& controls = model.main.controls();
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

// The controls Tab visits after the focused one, until it comes back to it.
std::vector<std::string> tabCycle(const Model& model, const Program& program) {
    const std::string start = focusedName(model, program);
    std::vector<std::string> visited;
    for (int i = 0; i < 40; ++i) {
        key(program, VK_TAB);
        visited.push_back(focusedName(model, program));
        if (visited.back() == start)
            return visited;
    }
    fail("Tab never came back to " + start);
    return visited;
}

void expectCycle(const Model& model, const Program& program, const std::vector<std::string>& expected) {
    const std::vector<std::string> got = tabCycle(model, program);
    if (got != expected) {
        std::string text;
        for (const std::string& name : got)
            text += name + " ";
        fail("Tab visits " + text);
    }
}

void tabTo(const Model& model, const Program& program, const std::string& name) {
    for (int i = 0; i < 40 && focusedName(model, program) != name; ++i)
        key(program, VK_TAB);
    if (focusedName(model, program) != name)
        fail("Tab does not reach " + name);
}

// Chooses `name` in the file list of a program started on the source folder and splits it at the
// preset 500 KB, from the keyboard alone (Tab, the arrow keys, Alt+S, Alt+E), checking the Tab
// order on the way when asked. Whether its script can be written depends on the system's OEM
// code page.
Script splitStep(Model& model, const Folders& f, const std::wstring& name, bool checkTabOrder) {
    step("split " + narrow(name) + " from the keyboard");
    setting(L"path", L"initialdir", f.src.wstring());
    Program program;
    if (!start(program, f.exe, widen(model.main.caption())))
        return Script::Refused;
    HWND list = findControl(program.main, idOf(model.main, "list"));
    HWND info = findControl(program.main, idOf(model.main, "infolabel"));
    const int index = static_cast<int>(
        SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
    if (index < 0)
        fail("the file list does not show " + narrow(name));
    tabTo(model, program, "list");
    // Nothing chosen yet: the split button and the size selector are skipped.
    if (checkTabOrder)
        expectCycle(
            model, program,
            {"help", "pathbar", "options", "Option1", "Option2", "about", "esci", "Command1", "drive", "dir", "list"});
    key(program, VK_HOME);
    for (int i = 0; i < index; ++i)
        key(program, VK_DOWN);
    if (textOf(info).find(name) == std::wstring::npos)
        fail("the arrow keys did not choose " + narrow(name) + ": status \"" + narrow(textOf(info)) + "\"");
    if (checkTabOrder)
        expectCycle(model, program,
                    {"split", "help", "Text", "pathbar", "options", "Option1", "Option2", "Option3", "Option4", "about",
                     "esci", "VScroll1", "Command1", "drive", "dir", "list"});
    altKey(program, L's');
    const auto ended = [&] {
        const std::wstring status = textOf(info);
        return status.find(L"SUCCESSO") != std::wstring::npos ||
               status.find(L"script non creato") != std::wstring::npos;
    };
    Script script = Script::Refused;
    if (!waitFor([&] { return ended() || findBox(program.process.dwProcessId); }, 60) || !ended()) {
        HWND box = findBox(program.process.dwProcessId);
        fail("the split did not succeed: status \"" + narrow(textOf(info)) + "\"" +
             (box ? ", box \"" + narrow(boxText(box)) + "\"" : ""));
    } else if (textOf(info).find(L"SUCCESSO") != std::wstring::npos) {
        script = Script::Written;
    }
    quit(program, [&] { altKey(program, L'e'); });
    return script;
}

// Copies the parts and the script into a folder of their own and runs the script there under cmd.
void rebuildStep(const Folders& f, const std::wstring& name, const std::string& original) {
    step("rebuild " + narrow(name) + " with the script under cmd");
    const fs::path script = f.parts(name) / (L"Assembla[" + name + L"].bat");
    if (!fs::exists(script)) {
        fail("no script " + narrow(script.wstring()));
        return;
    }
    const fs::path folder = f.root / L"rebuilt";
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(f.parts(name)))
        fs::copy_file(e.path(), folder / e.path().filename());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // The script's Pause reads a key from its input.
    writeFile(f.root / L"keys.txt", "\r\n\r\n\r\n");
    startup.hStdInput =
        CreateFileW((f.root / L"keys.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput =
        CreateFileW((f.root / L"cmd.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    startup.hStdError = startup.hStdOutput;
    std::wstring command = L"cmd.exe /c \"" + script.filename().wstring() + L"\"";
    PROCESS_INFORMATION cmd{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &cmd)) {
        fail("cannot run cmd");
    } else {
        if (WaitForSingleObject(cmd.hProcess, 60000) != WAIT_OBJECT_0) {
            TerminateProcess(cmd.hProcess, 1);
            fail("the script did not end");
        }
        CloseHandle(cmd.hThread);
        CloseHandle(cmd.hProcess);
    }
    CloseHandle(startup.hStdInput);
    CloseHandle(startup.hStdOutput);
    if (readFile(folder / name) != original)
        fail("the script's rebuilt file differs from the original; cmd said:\n" + readFile(f.root / L"cmd.log"));
}

// Join mode over the parts' folder finds the three parts; they are joined under the name the name
// dialog proposes, into the destination folder.
void joinStep(Model& model, const Folders& f, const std::wstring& name, const std::string& original) {
    step("join " + narrow(name));
    setting(L"path", L"initialdir", f.parts(name).wstring());
    Program program;
    if (!start(program, f.exe, widen(model.main.caption())))
        return;
    click(findControl(program.main, idOf(model.main, "Option2")));
    answerBox(program.process.dwProcessId, IDOK, L"OK", L"ha trovato 3 File");
    click(findControl(program.main, idOf(model.main, "uniscifile")));
    HWND dialog = nullptr;
    const std::wstring nameCaption = widen(model.main.nomefile.caption());
    if (!waitFor([&] { return (dialog = FindWindowW(L"BrenvikForm", nameCaption.c_str())) && IsWindowVisible(dialog); },
                 30)) {
        fail("the name dialog did not come up");
    } else {
        const std::wstring proposed = textOf(findControl(dialog, idOf(model.main.nomefile, "nf")));
        if (proposed != name)
            fail("the name dialog proposes \"" + narrow(proposed) + "\"");
        click(findControl(dialog, idOf(model.main.nomefile, "ok")));
    }
    HWND info = findControl(program.main, idOf(model.main, "infolabel"));
    if (!waitFor([&] { return textOf(info).find(L"File Creato") != std::wstring::npos; }, 60))
        fail("the join did not end: status \"" + narrow(textOf(info)) + "\"");
    if (readFile(f.out / name) != original)
        fail("the joined file " + narrow(name) + " differs from the original");
    quit(program, [&] { click(findControl(program.main, idOf(model.main, "esci"))); });
}

// The main window on a 144 dpi screen (150 %, set before the driver starts): its inner area and a
// button in logical pixels of the 96 dpi design, times 1.5, to the pixel.
void scaledScreenStep(Model& model, const Folders& f) {
    step("main window at 150 %");
    const UINT dpi = 144;
    setting(L"path", L"initialdir", f.src.wstring());
    Program program;
    if (start(program, f.exe, widen(model.main.caption()))) {
        const auto within = [](long got, long want) { return got >= want - 1 && got <= want + 1; };
        RECT client{};
        GetClientRect(program.main, &client);
        if (GetDpiForWindow(program.main) != dpi)
            fail("the program's window is at " + std::to_string(GetDpiForWindow(program.main)) + " dpi, not 144");
        else if (!within(client.right, 728) || !within(client.bottom, 710))
            fail("at 144 dpi the main window's inner area is " + std::to_string(client.right) + "x" +
                 std::to_string(client.bottom) + ", not 728x710");
        RECT button{};
        HWND split = findControl(program.main, idOf(model.main, "split"));
        GetWindowRect(split, &button);
        MapWindowPoints(nullptr, program.main, reinterpret_cast<POINT*>(&button), 2);
        if (!within(button.left, 558) || !within(button.top, 84) || !within(button.right - button.left, 152) ||
            !within(button.bottom - button.top, 104))
            fail("at 144 dpi the split button is at " + std::to_string(button.left) + "," + std::to_string(button.top) +
                 " sized " + std::to_string(button.right - button.left) + "x" +
                 std::to_string(button.bottom - button.top) + ", not 558,84 sized 152x104");
        quit(program, [&] { click(findControl(program.main, idOf(model.main, "esci"))); });
    }
}

std::wstring settingOf(const wchar_t* section, const wchar_t* key) {
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    const std::wstring path = std::wstring(L"Software\\Brenvik\\") + section;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

int firstRun(const fs::path& exe) {
    Model model;
    step("first start of " + exe.string());
    if (settingOf(L"Primoavvio", L"eseguito") != L"<none>")
        fail("the first-run marker is set before the first start");
    Program program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &program.process)) {
        fail("cannot start " + exe.string());
        return 1;
    }
    const DWORD id = program.process.dwProcessId;
    // The preparation window has no caption; it closes itself after a few seconds.
    if (!waitFor([&] { return findWindowOf(id, L"BrenvikForm", widen(model.main.install.caption())) != nullptr; }, 60))
        fail("the preparation window did not come up");
    HWND wizard = nullptr;
    const std::wstring wizardCaption = widen(model.main.wizard.caption());
    if (!waitFor([&] { return (wizard = findWindowOf(id, L"BrenvikForm", wizardCaption)) != nullptr; }, 60)) {
        fail("the wizard did not come up");
    } else {
        step("the wizard: Avanti four times, then Fine");
        HWND avanti = findControl(wizard, idOf(model.main.wizard, "avanti"));
        HWND fine = findControl(wizard, idOf(model.main.wizard, "fine"));
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
    if (!waitFor(
            [&] { return (program.main = findWindowOf(id, L"BrenvikForm", widen(model.main.caption()))) != nullptr; },
            60)) {
        fail("the main window did not come up");
        TerminateProcess(program.process.hProcess, 1);
        return 1;
    }
    quit(program, [&] { click(findControl(program.main, idOf(model.main, "esci"))); });
    if (settingOf(L"Primoavvio", L"eseguito") != L"1")
        fail("the wizard did not mark the first run as done");
    if (settingOf(L"Destinazione", L"dir") != L"C:\\myfiles")
        fail("the wizard stored the destination \"" + narrow(settingOf(L"Destinazione", L"dir")) + "\"");
    return failures == 0 ? 0 : 1;
}

int run(const fs::path& exe, const fs::path& root, bool scaled) {
    Model model;
    const Folders f{exe, root, root / L"src", root / L"out"};
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(f.src);
    fs::create_directories(f.out);

    setting(L"Primoavvio", L"eseguito", L"1");
    setting(L"opzioni", L"about", L"0");
    setting(L"opzioni", L"cartsplit", L"0");
    setting(L"opzioni", L"cartunisci", L"0");
    setting(L"Destinazione", L"dir", f.out.wstring());
    if (scaled) {
        scaledScreenStep(model, f);
        fs::remove_all(root, ec);
        return failures == 0 ? 0 : 1;
    }

    // Three parts of the preset 500 KB each, the last one short. The first name is in the OEM code
    // page of a Western system, so its script is always written; the second is in few OEM pages:
    // where it is not, the parts are written and the status says why the script is not.
    for (const std::wstring& name : {std::wstring(L"citt\u00e0.txt"), std::wstring(L"\u65e5\u672c.bin")}) {
        const std::string original = pattern(1100000 + name.size());
        writeFile(f.src / name, original);
        const Script script = splitStep(model, f, name, name == L"citt\u00e0.txt");
        if (script == Script::Written)
            rebuildStep(f, name, original);
        else if (name == L"citt\u00e0.txt")
            fail("no script for " + narrow(name));
        else if (fs::exists(f.parts(name) / (L"Assembla[" + name + L"].bat")))
            fail("a script for " + narrow(name) + " although the status says none was written");
        joinStep(model, f, name, original);
    }

    fs::remove_all(root, ec);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool scaled = argc == 4 && std::string(argv[3]) == "--at-144-dpi";
    const bool first = argc == 3 && std::string(argv[1]) == "--first-run";
    if (argc != 3 && !scaled) {
        std::fprintf(stderr, "usage: %s brenvik.exe folder [--at-144-dpi]\n       %s --first-run brenvik.exe\n",
                     argv[0], argv[0]);
        return 2;
    }
    try {
        const int status =
            first ? firstRun(fs::absolute(argv[2])) : run(fs::absolute(argv[1]), fs::absolute(argv[2]), scaled);
        std::printf(status == 0 ? "PASSED\n" : "FAILED\n");
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FAILED: %s\n", e.what());
        return 1;
    }
}
