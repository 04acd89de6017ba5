// Drives the real commands headless, the way the window does, so that what is timed is what the
// user gets (status line and progress included):
//   brenvik-bench split SOURCE KB DESTFOLDER [--no-sync]   cut SOURCE into parts of KB kilobytes
//   brenvik-bench join PARTSFOLDER OUTPUT [--no-sync]      join the run of parts in PARTSFOLDER
//   brenvik-bench-qt split-qt SOURCE KB DESTFOLDER [--no-refresh]
//                                              the split in the Qt window; prints its milliseconds
//   brenvik-bench-qt folder-qt FOLDER          milliseconds until the window answers after FOLDER, a
//                                              folder of parts alone, is opened, then after join mode
//   brenvik-bench-win32.exe folder-win32 FOLDER  the same in the Windows window (under Wine)
//   brenvik-bench-qt gap-qt split SOURCE KB DESTFOLDER | gap-qt join PARTSFOLDER OUTPUT
//                                              the longest the Qt window goes without handling its
//                                              events during the split or the join, in milliseconds
//   brenvik-bench-win32.exe gap-win32 split|join ...  the same in the Windows window
//   brenvik-bench naming SOURCE KB DESTFOLDER  splits twice into DESTFOLDER; of the second split's
//                                              naming: milliseconds from its first name to its last,
//                                              and those without a part 000 of that name
//   brenvik-bench browse FOLDER                milliseconds of a folder change (median of 9)
//   brenvik-bench trova FOLDER                 milliseconds of the part detection (median of 9)
//   brenvik-bench evict FILE...                sync each file and drop its pages from the cache
// --no-sync leaves the files' flushes to the disk out, to measure what durability costs;
// --no-refresh leaves the status line's paints during the split out, to measure what they cost.
// Host paths throughout; each command maps its folders onto drive letters itself.
#include "bench/BenchDesktop.h"
#include "join/JoinMode.h"
#include "join/NameDialog.h"
#include "mainwindow/MainWindow.h"
#include "platform/HostFileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/Platform.h"

#ifdef BRENVIK_BENCH_QT
#include "platform/qt/QtDesktop.h"

#include <QApplication>
#include <QTimer>
#endif
#ifdef BRENVIK_BENCH_WIN32
#include "platform/win32/Win32Desktop.h"

#include <commctrl.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace brenvik;

namespace {

std::string folderOf(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string nameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

struct Session {
    DriveTable table;
    HostFileSystem hostFiles;
    MemorySettingsStore settings;
    NoLauncher launcher;
    Platform platform;
    MainWindow main;

    // c: is `source`'s folder, d: the destination; the program starts showing c:\.
    Session(Desktop& desktop, const std::string& sourceFolder, const std::string& destFolder, bool sync = true)
        : table(makeTable(sourceFolder, destFolder)), hostFiles(table),
          platform(desktop, hostFiles, hostFiles, settings, launcher),
          main(prepare(platform, settings, hostFiles, sync)) {
        main.show();
    }

    static DriveTable makeTable(const std::string& c, const std::string& d) {
        DriveTable t;
        t.map('c', c);
        t.map('d', d);
        return t;
    }
    static Platform& prepare(Platform& p, MemorySettingsStore& s, HostFileSystem& files, bool sync) {
        if (!sync)
            files.skipFlushes();
        s.save("Brenvik", "Primoavvio", "eseguito", "1");
        s.save("Brenvik", "opzioni", "about", "0");
        s.save("Brenvik", "opzioni", "cartunisci", "0");
        s.save("Brenvik", "path", "initialdir", "c:\\");
        s.save("Brenvik", "Destinazione", "dir", "d:\\");
        return p;
    }
};

int fail(const std::string& what) {
    std::fprintf(stderr, "brenvik-bench: %s\n", what.c_str());
    return 2;
}

// Selects the source in the file list and types the part size, as the user does.
bool prepareSplit(MainWindow& m, const std::string& source, const std::string& kb) {
    const auto& items = m.list.items();
    auto it = std::find(items.begin(), items.end(), nameOf(source));
    if (it == items.end())
        return fail("source not listed"), false;
    m.list.userClickItem(static_cast<int>(it - items.begin()));
    // The box starts at "500", so Backspace it away first.
    for (int i = 0; i < 6; ++i)
        m.Text.userKey(vk::Back, "");
    for (char c : kb)
        m.Text.userKey(c, std::string(1, c));
    if (m.Text.text() != kb)
        return fail("the size box reads " + m.Text.text()), false;
    return true;
}

#if defined(BRENVIK_BENCH_QT) || defined(BRENVIK_BENCH_WIN32)
// Answers the join's name dialog with `name` as the user would; any other modal window is a
// surprise the benchmark cannot answer.
void answerNameDialog(Form& form, const std::string& name) {
    if (form.name() == "nomefile") {
        auto& dialog = static_cast<NameDialog&>(form);
        dialog.nf.setText(name);
        dialog.ok.userClick();
        return;
    }
    fail("the window " + form.name() + " opened");
    std::_Exit(3);
}
#endif

// The host's files, timing the naming of a set: from the first new file that takes a name to
// the script's, and from the earlier part 000 going aside to the new one taking its name.
class TimingFiles : public HostFileSystem {
public:
    using HostFileSystem::HostFileSystem;
    using Clock = std::chrono::steady_clock;
    Clock::time_point firstName{}, lastName{}, zeroGone{}, zeroBack{};

    std::unique_ptr<NewFile> createNew(const std::string& path) override {
        return std::make_unique<Timed>(*this, HostFileSystem::createNew(path), path);
    }
    std::unique_ptr<AsideFile> setAside(const std::string& path) override {
        if (path.ends_with(".000"))
            zeroGone = Clock::now();
        return HostFileSystem::setAside(path);
    }

private:
    class Timed : public NewFile {
    public:
        Timed(TimingFiles& fs, std::unique_ptr<NewFile> inner, std::string path)
            : fs_(fs), inner_(std::move(inner)), path_(std::move(path)) {}
        File& file() override { return inner_->file(); }
        void flush() override { inner_->flush(); }
        void release() override { inner_->release(); }
        void nameAside() override {
            if (fs_.firstName == Clock::time_point{})
                fs_.firstName = Clock::now();
            inner_->nameAside();
        }
        void commit(Existing existing) override {
            inner_->commit(existing);
            if (path_.ends_with(".000"))
                fs_.zeroBack = Clock::now();
            fs_.lastName = Clock::now();
        }
        void withdraw() override { inner_->withdraw(); }

    private:
        TimingFiles& fs_;
        std::unique_ptr<NewFile> inner_;
        std::string path_;
    };
};

int naming(const std::string& source, const std::string& kb, const std::string& dest) {
    BenchDesktop desktop;
    MemorySettingsStore settings;
    NoLauncher launcher;
    TimingFiles files(Session::makeTable(folderOf(source), dest));
    Platform platform(desktop, files, files, settings, launcher);
    MainWindow m(Session::prepare(platform, settings, files, true));
    m.show();
    for (int run = 0; run < 2; ++run) {
        files.firstName = files.lastName = files.zeroGone = files.zeroBack = {};
        if (!prepareSplit(m, source, kb))
            return 2;
        m.split.userClick();
        if (m.infolabel.caption().find("SUCCESSO") == std::string::npos)
            return fail("the split says: " + m.infolabel.caption());
    }
    const auto ms = [](auto from, auto to) { return std::chrono::duration<double, std::milli>(to - from).count(); };
    std::printf("%.3f\n%.3f\n", ms(files.firstName, files.lastName), ms(files.zeroGone, files.zeroBack));
    return 0;
}

int split(const std::string& source, const std::string& kb, const std::string& dest, bool sync) {
    BenchDesktop desktop;
    Session s(desktop, folderOf(source), dest, sync);
    MainWindow& m = s.main;
    if (!prepareSplit(m, source, kb))
        return 2;
    m.split.userClick();
    const std::string status = m.infolabel.caption();
    std::fprintf(stderr, "%s\n", status.c_str());
    return status.find("SUCCESSO") != std::string::npos ? 0 : 1;
}

#if defined(BRENVIK_BENCH_QT) || defined(BRENVIK_BENCH_WIN32)
// The longest the user-interface thread goes without handling its events while `action` runs, in
// milliseconds: `tick` is called by a timer of the front end's every few milliseconds, and
// every gap between two calls (and before the first and after the last) is a stretch in which the
// window would neither repaint nor take a minimise, a move or a click.
struct Heartbeat {
    std::chrono::steady_clock::time_point last = std::chrono::steady_clock::now();
    double longest = 0;
    void tick() {
        const auto now = std::chrono::steady_clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
};

// The split of SOURCE at KB into DEST, or the join of the run of parts in PARTSFOLDER into OUTPUT,
// as the user starts it in the window; `run` starts the heartbeat, runs the command and stops it.
int timeGap(Desktop& desktop, MainWindow& m, int argc, char** argv,
            const std::function<double(const std::function<void()>&)>& run) {
    const std::string what = argv[2];
    std::function<void()> command;
    if (what == "split" && argc == 6) {
        if (!prepareSplit(m, argv[3], argv[4]))
            return 2;
        command = [&m] { m.split.userClick(); };
    } else if (what == "join" && argc == 5) {
        m.dir.setPath("c:\\" + nameOf(argv[3]));
        m.Option2.userClick();
        command = [&m] { m.uniscifile.userClick(); };
    } else {
        return fail("gap: split SOURCE KB DEST | join PARTSFOLDER OUTPUT");
    }
    desktop.yield();
    const double longest = run(command);
    const std::string status = m.infolabel.caption();
    std::fprintf(stderr, "%s\n", status.c_str());
    std::printf("%.3f\n", longest);
    std::fflush(stdout);
    // Straight out: the main window's own close would ask the user.
    std::_Exit(status.find("SUCCESSO") != std::string::npos || status.rfind("File Creato in ", 0) == 0 ? 0 : 1);
}

// Milliseconds until the window answers again after the user opens `folder` (a folder of parts)
// and after the user switches to join mode there, each printed on a line of its own; then, on two
// more lines, the longest each went without answering (`run`, as for timeGap). What the window
// has to paint is painted before the clock stops.
int timeFolderOfParts(Desktop& desktop, MainWindow& m, const std::string& folder,
                      const std::function<double(const std::function<void()>&)>& run) {
    double gaps[2] = {};
    const auto timed = [&](int which, const std::function<void()>& action) {
        const auto t0 = std::chrono::steady_clock::now();
        gaps[which] = run(action);
        desktop.yield();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    const double open = timed(0, [&] { m.dir.setPath(folder); });
    const double join = timed(1, [&] { m.Option2.userClick(); });
    std::printf("%.3f\n%.3f\n%.3f\n%.3f\n", open, join, gaps[0], gaps[1]);
    std::fprintf(stderr, "%s (%s selected)\n", m.infolabel.caption().c_str(), m.Label5.caption().c_str());
    std::fflush(stdout);
    // Straight out: the main window's own close would ask the user.
    std::_Exit(m.Label5.caption() == std::to_string(m.File2.count()) ? 0 : 1);
}
#endif

#ifdef BRENVIK_BENCH_QT
// A Qt desktop that can leave the paints during a command out.
class BenchQtDesktop : public QtDesktop {
public:
    explicit BenchQtDesktop(bool paint) : paint_(paint) {}
    void paintPending() override {
        if (paint_)
            QtDesktop::paintPending();
    }
    void pause(int) override {}

private:
    bool paint_;
};

// The detection's message box, answered at once, and the join's name dialog answered with
// `name`: what is timed is the window, not the user.
class UnattendedQtDesktop : public QtDesktop {
public:
    int messageBox(const std::string&, int, const std::string&) override { return mb::IdOK; }
    void runModal(Form& form) override { answerNameDialog(form, name); }
    std::string name = "unito.bin";
};

// The longest the Qt window goes without handling its events while `command` runs.
double qtGap(const std::function<void()>& command) {
    Heartbeat beat;
    QTimer timer;
    timer.setInterval(2);
    QObject::connect(&timer, &QTimer::timeout, [&beat] { beat.tick(); });
    timer.start();
    beat.last = std::chrono::steady_clock::now();
    command();
    beat.tick();
    return beat.longest;
}

int gapQt(int argc, char** argv) {
    QApplication app(argc, argv);
    QtDesktop::prepareApplication(app);
    UnattendedQtDesktop desktop;
    const bool split = std::string(argv[2]) == "split";
    if (!split && argc == 5)
        desktop.name = nameOf(argv[4]);
    Session s(desktop, folderOf(argv[3]), split && argc == 6 ? argv[5] : folderOf(argc > 4 ? argv[4] : argv[3]));
    return timeGap(desktop, s.main, argc, argv, qtGap);
}

int folderQt(int argc, char** argv) {
    QApplication app(argc, argv);
    QtDesktop::prepareApplication(app);
    UnattendedQtDesktop desktop;
    Session s(desktop, folderOf(argv[2]), folderOf(argv[2]));
    desktop.yield();
    return timeFolderOfParts(desktop, s.main, "c:\\" + nameOf(argv[2]), qtGap);
}

int splitQt(int argc, char** argv, bool refresh) {
    QApplication app(argc, argv);
    QtDesktop::prepareApplication(app);
    BenchQtDesktop desktop(refresh);
    Session s(desktop, folderOf(argv[2]), argv[4]);
    MainWindow& m = s.main;
    desktop.yield();
    if (!prepareSplit(m, argv[2], argv[3]))
        return 2;
    desktop.yield();
    auto t0 = std::chrono::steady_clock::now();
    m.split.userClick();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const std::string status = m.infolabel.caption();
    std::fprintf(stderr, "%s\n", status.c_str());
    std::printf("%.3f\n", ms);
    // Straight out: the main window's own close would ask the user.
    std::fflush(stdout);
    std::_Exit(status.find("SUCCESSO") != std::string::npos ? 0 : 1);
}
#endif

int join(const std::string& partsFolder, const std::string& output, bool sync) {
    BenchDesktop desktop;
    Session s(desktop, partsFolder, folderOf(output), sync);
    MainWindow& m = s.main;
    m.Option2.userClick();
    const std::string name = nameOf(output);
    desktop.modalActions["nomefile"] = [&name](Form& f) {
        auto& dialog = static_cast<NameDialog&>(f);
        dialog.nf.setText(name);
        dialog.ok.userClick();
    };
    m.uniscifile.userClick();
    const std::string status = m.infolabel.caption();
    std::fprintf(stderr, "%s\n", status.c_str());
    return status.rfind("File Creato in ", 0) == 0 ? 0 : 1;
}

// Median of nine runs of `f`, each after `setup` (not timed).
template <typename S, typename F>
int timeIt(S&& setup, F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < 9; ++i) {
        setup();
        auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%.3f\n", ms[ms.size() / 2]);
    return 0;
}

int browse(const std::string& folder) {
    BenchDesktop desktop;
    Session s(desktop, folderOf(folder), folderOf(folder));
    MainWindow& m = s.main;
    const std::string target = "c:\\" + nameOf(folder);
    return timeIt([&] { m.dir.setPath("c:\\"); }, [&] { m.dir.setPath(target); });
}

int trova(const std::string& folder) {
    BenchDesktop desktop;
    Session s(desktop, folderOf(folder), folderOf(folder));
    MainWindow& m = s.main;
    m.dir.setPath("c:\\" + nameOf(folder));
    return timeIt([] {}, [&] { m.joinMode().Trova(); });
}

#ifdef BRENVIK_BENCH_WIN32
// The detection's message box, answered at once, and the join's name dialog answered with
// `name`: what is timed is the window, not the user.
//
// The name dialog gets no window: Wine, on a display without a window manager, waits two seconds
// for one whenever a window is hidden, which Windows never does.
class UnattendedWin32Desktop : public Win32Desktop {
public:
    using Win32Desktop::Win32Desktop;
    int messageBox(const std::string&, int, const std::string&) override { return mb::IdOK; }
    void formShown(Form& form) override {
        if (form.name() != "nomefile")
            Win32Desktop::formShown(form);
    }
    void formHidden(Form& form) override {
        if (form.name() != "nomefile")
            Win32Desktop::formHidden(form);
    }
    void runModal(Form& form) override { answerNameDialog(form, name); }
    std::string name = "unito.bin";
};

Heartbeat* beating = nullptr;

void CALLBACK heartbeatTick(HWND, UINT, UINT_PTR, DWORD) {
    if (beating)
        beating->tick();
}

// The longest the Windows window goes without handling its messages while `command` runs.
double win32Gap(const std::function<void()>& command) {
    Heartbeat beat;
    beating = &beat;
    const UINT_PTR timer = SetTimer(nullptr, 0, 2, heartbeatTick);
    beat.last = std::chrono::steady_clock::now();
    command();
    beat.tick();
    KillTimer(nullptr, timer);
    beating = nullptr;
    return beat.longest;
}

int gapWin32(int argc, char** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    UnattendedWin32Desktop desktop(GetModuleHandleW(nullptr));
    const bool split = std::string(argv[2]) == "split";
    if (!split && argc == 5)
        desktop.name = nameOf(argv[4]);
    Session s(desktop, folderOf(argv[3]), split && argc == 6 ? argv[5] : folderOf(argc > 4 ? argv[4] : argv[3]));
    return timeGap(desktop, s.main, argc, argv, win32Gap);
}

int folderWin32(const std::string& folder) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    UnattendedWin32Desktop desktop(GetModuleHandleW(nullptr));
    Session s(desktop, folderOf(folder), folderOf(folder));
    desktop.yield();
    return timeFolderOfParts(desktop, s.main, "c:\\" + nameOf(folder), win32Gap);
}
#endif

#ifndef _WIN32
int evict(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        int fd = ::open(argv[i], O_RDONLY);
        if (fd < 0)
            return fail(std::string("cannot open ") + argv[i]);
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    const std::string flag = argc > 0 ? argv[argc - 1] : "";
    if (cmd == "split" && (argc == 5 || (argc == 6 && flag == "--no-sync")))
        return split(argv[2], argv[3], argv[4], argc == 5);
    if (cmd == "join" && (argc == 4 || (argc == 5 && flag == "--no-sync")))
        return join(argv[2], argv[3], argc == 4);
#ifdef BRENVIK_BENCH_QT
    if (cmd == "split-qt" && (argc == 5 || (argc == 6 && flag == "--no-refresh")))
        return splitQt(argc, argv, argc == 5);
    if (cmd == "folder-qt" && argc == 3)
        return folderQt(argc, argv);
    if (cmd == "gap-qt" && argc >= 5)
        return gapQt(argc, argv);
#endif
#ifdef BRENVIK_BENCH_WIN32
    if (cmd == "folder-win32" && argc == 3)
        return folderWin32(argv[2]);
    if (cmd == "gap-win32" && argc >= 5)
        return gapWin32(argc, argv);
#endif
    if (cmd == "naming" && argc == 5)
        return naming(argv[2], argv[3], argv[4]);
    if (cmd == "browse" && argc == 3)
        return browse(argv[2]);
    if (cmd == "trova" && argc == 3)
        return trova(argv[2]);
#ifndef _WIN32
    if (cmd == "evict")
        return evict(argc, argv);
#endif
    std::fprintf(
        stderr,
        "usage: brenvik-bench split SOURCE KB DEST [--no-sync] | join PARTS OUTPUT [--no-sync] | "
        "split-qt SOURCE KB DEST [--no-refresh] | folder-qt FOLDER | gap-qt split|join ... | naming SOURCE KB DEST | "
        "browse FOLDER | trova FOLDER | evict FILE...\n");
    return 2;
}
