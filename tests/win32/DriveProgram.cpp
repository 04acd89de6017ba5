// The Windows program end to end, as a user drives it, from another process: brenvik.exe is
// started with its settings preset in the registry, its windows are found by their captions and
// their controls by their ids, and the messages a user's clicks send are sent to them. A file with
// a non-Latin name is split, rebuilt by the script under cmd, and its parts joined back under the
// name the name dialog proposes; each result must be the original, byte for byte.
//
// Usage: brenvik-drive brenvik.exe folder   (the folder is made afresh; it must not hold anything
// of value). Exit status 0 when everything held, 1 with the failures on the standard error.
#include "mainwindow/MainWindow.h"
#include "platform/Desktop.h"
#include "platform/HostFileSystem.h"
#include "platform/HostLauncher.h"
#include "platform/IniSettingsStore.h"
#include "platform/Platform.h"
#include "platform/windows/Win32.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
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

HWND findControl(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (GetDlgCtrlID(child) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

// A message box of the program's process, or null.
HWND findBox(DWORD process) {
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[64] = {};
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            GetClassNameW(window, cls, 64);
            if (owner == s->process && std::wstring(cls) == L"#32770" && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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

// Ends the program as a user does: Esci, then Sì to the question.
void quit(Program& p, HWND esci) {
    click(esci);
    answerBox(p.process.dwProcessId, IDYES, L"S\u00ec", L"Sicuro di voler uscire");
    if (WaitForSingleObject(p.process.hProcess, 30000) != WAIT_OBJECT_0) {
        fail("the program did not end after Sì");
        TerminateProcess(p.process.hProcess, 1);
    }
    CloseHandle(p.process.hThread);
    CloseHandle(p.process.hProcess);
}

int run(const fs::path& exe, const fs::path& root) {
    NoDesktop desktop;
    brenvik::HostFileSystem files(brenvik::DriveTable::forThisUser());
    brenvik::MemorySettingsStore settings;
    brenvik::HostLauncher launcher(files);
    brenvik::Platform platform(desktop, files, settings, launcher);
    brenvik::MainWindow model(platform);
    const std::wstring mainCaption = widen(model.caption());
    const std::wstring nameCaption = widen(model.nomefile.caption());

    const std::wstring name = L"citt\u00e0.txt";
    const fs::path src = root / L"src";
    const fs::path out = root / L"out";
    const fs::path parts = out / (L"[" + name + L"]");
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(src);
    fs::create_directories(out);
    // Three parts of the preset 500 KB, the last one short.
    const std::string original = pattern(1100000);
    writeFile(src / name, original);
    writeFile(src / L"\u65e5\u672c.bin", pattern(1000));

    setting(L"Primoavvio", L"eseguito", L"1");
    setting(L"opzioni", L"about", L"0");
    setting(L"opzioni", L"cartsplit", L"0");
    setting(L"opzioni", L"cartunisci", L"0");
    setting(L"path", L"initialdir", src.wstring());
    setting(L"Destinazione", L"dir", out.wstring());

    step("split");
    Program first;
    if (!start(first, exe, mainCaption))
        return 1;
    HWND list = findControl(first.main, idOf(model, "list"));
    HWND info = findControl(first.main, idOf(model, "infolabel"));
    if (!list || !info) {
        fail("the file list or the status line is missing");
        TerminateProcess(first.process.hProcess, 1);
        return 1;
    }
    const auto find = [&](const std::wstring& item) {
        return static_cast<int>(
            SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str())));
    };
    const int index = find(name);
    if (index < 0 || find(L"\u65e5\u672c.bin") < 0)
        fail("the file list does not show citta'.txt and the Japanese name");
    // A click on the item: the list selects it and tells its parent, as for a user's click.
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    click(findControl(first.main, idOf(model, "split")));
    if (!waitFor(
            [&] { return textOf(info).find(L"SUCCESSO") != std::wstring::npos || findBox(first.process.dwProcessId); },
            60) ||
        textOf(info).find(L"SUCCESSO") == std::wstring::npos) {
        HWND box = findBox(first.process.dwProcessId);
        fail("the split did not succeed: status \"" + narrow(textOf(info)) + "\"" +
             (box ? ", box \"" + narrow(boxText(box)) + "\"" : ""));
    }
    quit(first, findControl(first.main, idOf(model, "esci")));

    step("rebuild with the script under cmd");
    const fs::path script = parts / (L"Assembla[" + name + L"].bat");
    if (!fs::exists(script)) {
        fail("no script " + script.string());
    } else {
        fs::create_directories(root / L"rebuilt");
        for (const auto& e : fs::directory_iterator(parts))
            fs::copy_file(e.path(), root / L"rebuilt" / e.path().filename());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        // The script's Pause reads a key from its input.
        writeFile(root / L"keys.txt", "\r\n\r\n\r\n");
        startup.hStdInput = CreateFileW((root / L"keys.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit,
                                        OPEN_EXISTING, 0, nullptr);
        startup.hStdOutput = CreateFileW((root / L"cmd.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                         CREATE_ALWAYS, 0, nullptr);
        startup.hStdError = startup.hStdOutput;
        std::wstring command = L"cmd.exe /c \"" + script.filename().wstring() + L"\"";
        PROCESS_INFORMATION cmd{};
        const fs::path folder = root / L"rebuilt";
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                            &cmd)) {
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
            fail("the script's rebuilt file differs from the original; cmd said:\n" + readFile(root / L"cmd.log"));
    }

    step("join");
    setting(L"path", L"initialdir", parts.wstring());
    Program second;
    if (!start(second, exe, mainCaption))
        return 1;
    // Join mode finds the three parts in the folder on show and says so.
    click(findControl(second.main, idOf(model, "Option2")));
    answerBox(second.process.dwProcessId, IDOK, L"OK", L"ha trovato 3 File");
    click(findControl(second.main, idOf(model, "uniscifile")));
    HWND dialog = nullptr;
    if (!waitFor([&] { return (dialog = FindWindowW(L"BrenvikForm", nameCaption.c_str())) && IsWindowVisible(dialog); },
                 30)) {
        fail("the name dialog did not come up");
    } else {
        const std::wstring proposed = textOf(findControl(dialog, idOf(model.nomefile, "nf")));
        if (proposed != name)
            fail("the name dialog proposes \"" + narrow(proposed) + "\"");
        click(findControl(dialog, idOf(model.nomefile, "ok")));
    }
    HWND joinInfo = findControl(second.main, idOf(model, "infolabel"));
    if (!waitFor([&] { return textOf(joinInfo).find(L"File Creato") != std::wstring::npos; }, 60))
        fail("the join did not end: status \"" + narrow(textOf(joinInfo)) + "\"");
    if (readFile(out / name) != original)
        fail("the joined file differs from the original");
    quit(second, findControl(second.main, idOf(model, "esci")));

    fs::remove_all(root, ec);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s brenvik.exe folder\n", argv[0]);
        return 2;
    }
    try {
        const int status = run(fs::absolute(argv[1]), fs::absolute(argv[2]));
        std::printf(status == 0 ? "PASSED\n" : "FAILED\n");
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "FAILED: %s\n", e.what());
        return 1;
    }
}
