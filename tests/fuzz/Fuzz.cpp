// One libFuzzer harness for every routine that reads text from outside. The input's first byte
// chooses the routine, the rest is what it reads: a settings file, keystrokes and clicks on the
// part-size controls, a folder listing for the part detection, or a name for the reassembly script.
#include "app/Settings.h"
#include "mainwindow/MainWindow.h"
#include "platform/Convert.h"
#include "platform/Form.h"
#include "platform/HostFileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Utf8.h"
#include "platform/WinPath.h"
#include "platform/posix/IniSettingsStore.h"
#include "split/AssemblyScript.h"
#include "support/HeadlessDesktop.h"
#include "support/ScriptedDesktop.h"
#include "support/UnattendedAnswer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace brenvik;

namespace {

// Stops the run with `what` when a property does not hold; libFuzzer keeps the input.
void require(bool holds, const std::string& what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what.c_str());
        std::abort();
    }
}

// A desktop that answers every box unattended and closes every modal window at once.
class QuietDesktop : public HeadlessDesktop {
public:
    QuietDesktop() : HeadlessDesktop(std::chrono::milliseconds(1)) {}
    int messageBox(const std::string&, int flags, const std::string&) override { return unattendedAnswer(flags); }
    void formShown(Form&) override {}
    void formHidden(Form&) override {}
    void formUnloaded(Form&) override {}
    void runModal(Form& form) override { form.hide(); }
    void yield() override {}
    void pause(int) override {}
    void beep() override {}
    [[noreturn]] void endProgram() override { throw ProgramEnded{}; }
};

// One drive c: whose root holds the files `names` (each `size` bytes long) and no folders; every
// other operation goes to a host file system without drives, which fails it. No disk is touched,
// so that each input costs microseconds.
class NameListFiles : public HostFileSystem {
public:
    NameListFiles() : HostFileSystem(DriveTable{}) {}
    std::vector<std::string> names;
    int64_t size = 0;

    std::vector<DriveInfo> drives() override { return {{'c', "fuzz"}}; }
    void checkFolder(const std::string& path) override {
        if (path != "c:\\")
            throw RuntimeError(err::PathNotFound);
    }
    std::vector<std::string> folders(const std::string&) override { return {}; }
    std::vector<std::string> files(const std::string&) override {
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end(), nameLess);
        return sorted;
    }
    bool fileExists(const std::string&) override { return false; }
    int64_t fileLength(const std::string&) override { return size; }
};

// The main window started on NameListFiles as a returning user, without the start-up picture.
struct FuzzApp {
    explicit FuzzApp(std::vector<std::string> names = {}) : platform(desktop, files, files, settings, launcher) {
        files.names = std::move(names);
        settings.save("Brenvik", "Primoavvio", "eseguito", "1");
        settings.save("Brenvik", "opzioni", "about", "0");
        settings.save("Brenvik", "path", "initialdir", "c:\\");
        main = std::make_unique<MainWindow>(platform);
        main->show();
    }

    QuietDesktop desktop;
    NameListFiles files;
    MemorySettingsStore settings;
    RecordingLauncher launcher;
    Platform platform;
    std::unique_ptr<MainWindow> main;
};

// Every reader's conversion takes whatever a settings file holds, and a value saved into it reads
// back exactly.
void settingsFile(const std::string& text) {
    // Memory-backed where there is one: every save syncs the file and its folder.
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        const fs::path made = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                              ("brenvik-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made.string();
    }();
    IniSettingsStore store(folder);
    FILE* f = std::fopen(store.filePath("Brenvik").c_str(), "wb");
    require(f != nullptr, "cannot write the settings file");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);

    // The conversions on the raw text, and every reader on the file.
    const double lead = leadingNumber(text);
    require(!std::isnan(lead), "leading number NaN");
    if (auto strict = strictNumber(text))
        require(std::isfinite(*strict), "strict number not finite");
    (void)truthValue(text);
    (void)formatNumber(lead);
    Settings s(store);
    (void)s.firstRun();
    (void)s.destination();
    (void)s.openAfterSplit();
    (void)s.openAfterJoin();
    (void)s.showStartupPicture();
    for (Settings::Key k : {Settings::CartSplit, Settings::CartUnisci, Settings::About}) {
        const int state = s.checkState(k, 1);
        require(state == 0 || state == 1, "check box state " + std::to_string(state));
    }

    // A value saved into whatever the file holds reads back as saved (line breaks dropped), and
    // the other keys keep what they read before.
    const std::string before = s.initialDir();
    const std::string value = text.substr(0, 40);
    s.save(Settings::Destinazione, value);
    std::string expected = value;
    std::erase_if(expected, [](char c) { return c == '\r' || c == '\n'; });
    require(IniSettingsStore(folder).read("Brenvik", "Destinazione", "dir", "?") == expected,
            "saved value not read back");
    require(s.initialDir() == before, "another key changed by a save");
}

// What a user can do to the part-size controls, one action per byte: keys (digits of both rows,
// Backspace, Delete, letters, signs, a point, blanks, arrows and modifiers, with the text each
// one types) and the clicks on the box, the spinner's arrows and the presets.
void act(MainWindow& m, unsigned char choice) {
    struct Key {
        int code;
        const char* typed;
    };
    static const Key keys[] = {
        {'0', "0"}, {'1', "1"}, {'2', "2"}, {'5', "5"}, {'9', "9"}, {96, "0"},  {97, "1"},  {101, "5"}, {105, "9"},
        {8, ""},    {8, ""},    {46, ""},   {'A', "a"}, {'E', "E"}, {32, " "},  {189, "-"}, {190, "."}, {187, "+"},
        {37, ""},   {39, ""},   {36, ""},   {35, ""},   {16, ""},   {17, ""},   {13, ""},   {9, "\t"},  {'7', "7"},
        {'3', "3"}, {99, "3"},  {'8', "8"}, {'0', "0"}, {96, "0"},  {'1', "1"}, {222, "è"}, {'4', "4"}, {'6', "6"},
    };
    constexpr unsigned keyCount = sizeof keys / sizeof keys[0];
    const unsigned c = choice % (keyCount + 6);
    if (c < keyCount)
        m.Text.userKey(keys[c].code, keys[c].typed);
    else if (c == keyCount)
        m.Text.userClick();
    else if (c == keyCount + 1)
        m.VScroll1.userLineUp();
    else if (c == keyCount + 2)
        m.VScroll1.userLineDown();
    else if (c == keyCount + 3)
        m.Option3.userClick();
    else if (c == keyCount + 4)
        m.Option4.userClick();
    else
        m.Text.userKey(vk::Back, "");
}

// Nothing when the box holds a whole number of 0 to 999999 written plainly, `grandezza` is its
// size in bytes, the spinner shows it (or its nearest end) and the count is the parts of the
// selected file at that size; else what is wrong.
std::optional<std::string> inconsistency(MainWindow& m) {
    const std::string& text = m.Text.text();
    const bool plain = text == "0" || (!text.empty() && text.size() <= 6 && text[0] >= '1' && text[0] <= '9' &&
                                       text.find_first_not_of("0123456789") == std::string::npos);
    if (!plain)
        return "box holds \"" + text + "\"";
    const int64_t kb = std::stoll(text);
    if (m.grandezza != kb * 1024)
        return "grandezza " + std::to_string(m.grandezza) + " for \"" + text + "\"";
    const int64_t spinner = std::min<int64_t>(kb, m.VScroll1.max());
    if (m.VScroll1.value() != spinner)
        return "spinner " + std::to_string(m.VScroll1.value()) + " for \"" + text + "\"";
    const int64_t n = m.dimensione, p = kb * 1024;
    const int64_t count = p == 0 || p > n ? 0 : (n + p - 1) / p;
    if (m.numfile.caption() != std::to_string(count))
        return "count " + m.numfile.caption() + " for \"" + text + "\" and " + std::to_string(n) + " bytes";
    if (!m.Text.locked())
        return "box left unlocked";
    return std::nullopt;
}

// The first eight bytes choose the selected file's size, each further one a user's action on the
// part-size controls; after each the controls agree.
void partSizeKeys(const std::string& input) {
    // Made once and never destroyed, as the program that ends with the process.
    static FuzzApp& app = *new FuzzApp({"file.bin"});
    MainWindow& m = *app.main;
    uint64_t length = 0;
    std::memcpy(&length, input.data(), std::min<size_t>(input.size(), 8));
    // Up to 64 GiB, so that both counts below and above a thousand parts come up.
    app.files.size = static_cast<int64_t>(length % (int64_t{64} << 30));
    m.list.userClickItem(0);
    m.Text.setText("500");
    require(!inconsistency(m), "after selecting the file: " + inconsistency(m).value_or(""));
    for (size_t i = 8; i < input.size(); ++i) {
        act(m, static_cast<unsigned char>(input[i]));
        auto wrong = inconsistency(m);
        require(!wrong, wrong.value_or(""));
    }
}

// Names separated by line feeds: the detection selects a run numbered 000, 001, ... (000 again
// after 999) in list order, and proposes the last part's name without its number.
void partDetection(const std::string& input) {
    static FuzzApp& app = *new FuzzApp;
    MainWindow& m = *app.main;
    app.files.names.clear();
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = input.find('\n', start);
        app.files.names.push_back(input.substr(start, end == std::string::npos ? end : end - start));
    }
    m.Option1.userClick();
    m.list.refresh();
    m.File2.refresh();
    m.Option2.userClick();

    int found = 0;
    std::string last;
    for (int i = 0; i < m.File2.count(); ++i) {
        if (!m.File2.selected(i))
            continue;
        const std::string expected = std::to_string(1000 + found % 1000).substr(1);
        require(utf8::right(m.File2.item(i), 3) == expected, "selected out of sequence: " + m.File2.item(i));
        last = m.File2.item(i);
        ++found;
    }
    require(m.nomebase == (found > 0 ? utf8::dropRight(last, 4) : std::string()), "nomebase " + m.nomebase);
}

std::string doubled(const std::string& s) {
    std::string out;
    for (char c : s)
        out += c == '%' ? std::string("%%") : std::string(1, c);
    return out;
}

// The first two bytes give the part count (1 to 1000), the rest is the file's name.
void assemblyScript(const std::string& input) {
    const std::string filesel = input.size() > 2 ? input.substr(2) : "";
    // The split never gets this far with a name no Windows path can hold (it cannot open it).
    if (filesel.empty() || winpath::hasInvalidNameChar(filesel))
        return;
    const int32_t numparti = 1 + (static_cast<uint8_t>(input[0]) | static_cast<uint8_t>(input[1]) << 8) % 1000;
    const std::string prefisso = filesel + ".";

    const auto lines = AssemblyScript::lines(numparti, prefisso, progressiveExtensions(), filesel);
    std::string all;
    for (const std::string& line : lines) {
        require(utf8::length(line) <= AssemblyScript::MaxLine, "a line of " + std::to_string(utf8::length(line)));
        require(std::count(line.begin(), line.end(), '"') % 2 == 0, "unbalanced quotes: " + line);
        all += line + "\n";
    }
    // Every part is read, quoted, its "%" doubled, in number order.
    size_t at = 0;
    for (int32_t i = 0; i < numparti; ++i) {
        const std::string part = "\"" + doubled(prefisso + std::to_string(1000 + i).substr(1)) + "\"";
        at = all.find(part, at);
        require(at != std::string::npos, "part missing or out of order: " + part);
        at += part.size();
    }
    // A target that a blank or a separator would cut stands in quotes.
    const bool mustQuote = filesel.find_first_of(" &()^,;=+") != std::string::npos;
    const std::string target = mustQuote ? "\"" + doubled(filesel) + "\"" : doubled(filesel);
    require(all.find(" " + target + " ") != std::string::npos || all.find(" " + target + "\n") != std::string::npos,
            "target not written as " + target);
    (void)AssemblyScript::contents(lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static void (*const routines[])(const std::string&) = {settingsFile, partSizeKeys, partDetection, assemblyScript};
    routines[data[0] % 4](std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    return 0;
}
