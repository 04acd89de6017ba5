#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "split/SplitReport.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace brenvik {

class AboutWindow;
class Browser;
class DestinationDialog;
class GuideWindow;
class InstallWindow;
class JoinCommand;
class JoinMode;
class Lifecycle;
class NameDialog;
class PartSizeSelector;
class PreferencesPanel;
class SelectedFile;
class SplitCommand;
class StartupPicture;
class Wizard;

// The main window `main`: the browser, the two modes, the part-size selector, the progress bar,
// the status line and the command buttons, with the state the commands share. It owns the
// secondary windows, which it loads hidden at its own load. Each subsystem's handlers live in
// their own class; this class creates the controls, their design state and the wiring. The
// secondary windows and the handlers are only declared here: whoever uses one includes its header,
// so that a change to one recompiles what uses it and no more.
class MainWindow : public Form, public SplitReport {
public:
    explicit MainWindow(Platform& platform);
    ~MainWindow() override;

    // ---- Controls, in the order of the layout table.
    Image& Image1;
    Frame& Frame4;
    OptionButton& Option1;
    OptionButton& Option2;
    Frame& Frame1;
    DriveList& drive;
    DirList& dir;
    Frame& Frame2;
    FileList& list;
    Frame& file1;
    FileList& File2;
    TextBox& pathbar;
    Frame& Frame3;
    TextBox& Text;
    VScrollBar& VScroll1;
    OptionButton& Option3;
    OptionButton& Option4;
    Label& numfile;
    Label& Label4;
    Frame& unisci;
    CommandButton& uniscifile;
    Label& Label1;
    Label& Label5;
    Frame& progress;
    Label& Label2;
    Image& Image3;
    Shape& barra;
    Label& bianco;
    Label& Label3;
    Frame& info;
    Label& infolabel;
    CommandButton& split;
    CommandButton& options;
    CommandButton& help;
    CommandButton& about;
    CommandButton& esci;
    CommandButton& Command1;
    Image& Image2;

    // ---- State shared by the commands (sizes are 64-bit: files of 2 GiB and more work).
    std::string filesel;
    std::string prefisso;
    std::string percorso;
    int64_t grandezza = 0;
    int64_t dimensione = 0;
    int64_t resto = 0;
    int32_t numparti = 0;
    std::string cartella;
    double dimkb = 0;
    std::string prefissodest;
    std::array<std::string, 1000> estensioni;

    // Module-level values of the start-up and of the detection.
    std::string AvvioCompletato;
    bool MostraAbout = false;
    std::string nomebase;

    // ---- The secondary windows, loaded hidden at start-up.
    StartupPicture& mainform() const;
    DestinationDialog& optionsfrm() const;
    NameDialog& nomefile() const;
    GuideWindow& guida() const;
    PreferencesPanel& helpfrm() const;
    AboutWindow& aboutform() const;
    InstallWindow& install() const;
    Wizard& wizard() const;

    // ---- The subsystems' handlers.
    Lifecycle& lifecycle() const;
    Browser& browser() const;
    SelectedFile& selectedFile() const;
    PartSizeSelector& partSize() const;
    SplitCommand& splitCommand() const;
    JoinMode& joinMode() const;
    JoinCommand& joinCommand() const;

    // What the split's steps report: the status line `infolabel`, the progress display, the
    // source measured again and the file list.
    std::string status() const override;
    void setStatus(const std::string& text) override;
    void checkpoint() override;
    void advance(int width, int figure) override;
    // The progress display: fill width (0 to 4000) and figure, always together.
    void setProgress(int width, const std::string& figure) override;
    void sourceResized(int64_t size) override;
    void folderWritten() override;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel) override;
    void design() override;

private:
    // The design state, by area of the window.
    void designModes();
    void designBrowser();
    void designPartSize();
    void designJoin();
    // The progress bar and the status line.
    void designProgress();
    void designButtons();
    // The lists on the current folder of drive c:.
    void startLists();

    // The secondary windows and the handlers, made once every control they use exists.
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace brenvik
