#include "mainwindow/MainWindow.h"

#include "app/Lifecycle.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/DestinationDialog.h"
#include "dialogs/GuideWindow.h"
#include "dialogs/InstallWindow.h"
#include "dialogs/PreferencesPanel.h"
#include "dialogs/Wizard.h"
#include "join/JoinCommand.h"
#include "join/JoinMode.h"
#include "join/NameDialog.h"
#include "mainwindow/Browser.h"
#include "mainwindow/SelectedFile.h"
#include "mainwindow/StartupPicture.h"
#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/Folders.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/SettingsStore.h"
#include "split/PartSizeSelector.h"
#include "split/SplitCommand.h"

#include <cmath>

namespace brenvik {

namespace {

constexpr Color Black{0, 0, 0};
constexpr Color White{255, 255, 255};
constexpr Color Blue{0, 0, 255};
constexpr Color DarkBlue{0, 0, 192};

} // namespace

struct MainWindow::Parts {
    Parts(Platform& platform, MainWindow& m)
        : mainform(platform), optionsfrm(platform), nomefile(platform), guida(platform), helpfrm(platform, guida),
          aboutform(platform, m.Image1), install(platform), wizard(platform), lifecycle(m), browser(m), selectedFile(m),
          partSize(m), splitCommand(m), joinMode(m), joinCommand(m) {}

    StartupPicture mainform;
    DestinationDialog optionsfrm;
    NameDialog nomefile;
    GuideWindow guida;
    PreferencesPanel helpfrm;
    AboutWindow aboutform;
    InstallWindow install;
    Wizard wizard;
    Lifecycle lifecycle;
    Browser browser;
    SelectedFile selectedFile;
    PartSizeSelector partSize;
    SplitCommand splitCommand;
    JoinMode joinMode;
    JoinCommand joinCommand;
};

StartupPicture& MainWindow::mainform() const {
    return parts_->mainform;
}
DestinationDialog& MainWindow::optionsfrm() const {
    return parts_->optionsfrm;
}
NameDialog& MainWindow::nomefile() const {
    return parts_->nomefile;
}
GuideWindow& MainWindow::guida() const {
    return parts_->guida;
}
PreferencesPanel& MainWindow::helpfrm() const {
    return parts_->helpfrm;
}
AboutWindow& MainWindow::aboutform() const {
    return parts_->aboutform;
}
InstallWindow& MainWindow::install() const {
    return parts_->install;
}
Wizard& MainWindow::wizard() const {
    return parts_->wizard;
}
Lifecycle& MainWindow::lifecycle() const {
    return parts_->lifecycle;
}
Browser& MainWindow::browser() const {
    return parts_->browser;
}
SelectedFile& MainWindow::selectedFile() const {
    return parts_->selectedFile;
}
PartSizeSelector& MainWindow::partSize() const {
    return parts_->partSize;
}
SplitCommand& MainWindow::splitCommand() const {
    return parts_->splitCommand;
}
JoinMode& MainWindow::joinMode() const {
    return parts_->joinMode;
}
JoinCommand& MainWindow::joinCommand() const {
    return parts_->joinCommand;
}

MainWindow::MainWindow(Platform& platform)
    : Form(platform, "main"), Image1(add<Image>("Image1")), Frame4(add<Frame>("Frame4")),
      Option1(add<OptionButton>("Option1", &Frame4)), Option2(add<OptionButton>("Option2", &Frame4)),
      Frame1(add<Frame>("Frame1")), drive(add<DriveList>("drive", &Frame1)), dir(add<DirList>("dir", &Frame1)),
      Frame2(add<Frame>("Frame2")), list(add<FileList>("list")), file1(add<Frame>("file1")),
      File2(add<FileList>("File2", &file1)), pathbar(add<TextBox>("pathbar")), Frame3(add<Frame>("Frame3")),
      Text(add<TextBox>("Text", &Frame3)), VScroll1(add<VScrollBar>("VScroll1", &Frame3)),
      Option3(add<OptionButton>("Option3", &Frame3)), Option4(add<OptionButton>("Option4", &Frame3)),
      numfile(add<Label>("numfile", &Frame3)), Label4(add<Label>("Label4", &Frame3)), unisci(add<Frame>("unisci")),
      uniscifile(add<CommandButton>("uniscifile", &unisci)), Label1(add<Label>("Label1", &unisci)),
      Label5(add<Label>("Label5", &unisci)), progress(add<Frame>("progress")), Label2(add<Label>("Label2", &progress)),
      Image3(add<Image>("Image3", &progress)), barra(add<Shape>("barra", &progress)),
      bianco(add<Label>("bianco", &progress)), Label3(add<Label>("Label3", &progress)), info(add<Frame>("info")),
      infolabel(add<Label>("infolabel", &info)), split(add<CommandButton>("split")),
      options(add<CommandButton>("options")), help(add<CommandButton>("help")), about(add<CommandButton>("about")),
      esci(add<CommandButton>("esci")), Command1(add<CommandButton>("Command1")), Image2(add<Image>("Image2")) {
    // Made here, after every member: the dialogs and handlers find the controls whole whatever the
    // order the members are declared in.
    parts_ = std::make_unique<Parts>(platform, *this);
    esci.onClick = [this] { lifecycle().esci_Click(); };
    about.onClick = [this] { lifecycle().about_Click(); };
    // Who made the program can be read while a split or a join runs.
    about.setAnswersWhileBusy(true);
    help.onClick = [this] { lifecycle().help_Click(); };
    options.onClick = [this] { lifecycle().options_Click(); };
    // Focus follows the pointer over the command buttons; the background hands it to Command1.
    for (CommandButton* b : {&about, &esci, &help, &options, &split})
        b->onMouseMove = [b] { b->setFocus(); };
    Image2.onMouseMove = [this] { Command1.setFocus(); };

    split.onClick = [this] { splitCommand().Split_Click(); };
    Option1.onClick = [this] { joinMode().Option1_Click(); };
    Option2.onClick = [this] { joinMode().Option2_Click(); };
    drive.onChange = [this] { browser().drive_Change(); };
    dir.onChange = [this] { browser().dir_Change(); };
    dir.onClick = [this] { browser().dir_Click(); };
    list.onClick = [this] { selectedFile().list_Click(); };
    list.onPathChange = [this] { browser().list_PathChange(); };
    File2.onClick = [this] { joinMode().File2_Click(); };
    File2.onPathChange = [this] { browser().File2_PathChange(); };
    uniscifile.onClick = [this] { joinCommand().uniscifile_Click(); };
    Text.onChange = [this] { partSize().Text_Change(); };
    Text.onClick = [this] { partSize().Text_Click(); };
    Text.onKeyDown = [this](int key, int shift) { partSize().Text_KeyDown(key, shift); };
    Text.onKeyUp = [this](int key, int shift) { partSize().Text_KeyUp(key, shift); };
    VScroll1.onChange = [this] { partSize().VScroll1_Change(); };
    Option3.onClick = [this] { partSize().Option3_Click(); };
    Option4.onClick = [this] { partSize().Option4_Click(); };

    setStacking({&file1,    &File2,   &unisci,    &uniscifile, &Label5,  &Label1, &esci,   &about,
                 &Frame4,   &Option2, &Option1,   &options,    &pathbar, &help,   &split,  &Frame3,
                 &VScroll1, &Option4, &Option3,   &Text,       &numfile, &Label4, &list,   &Frame1,
                 &dir,      &drive,   &Frame2,    &progress,   &Label3,  &Label2, &Image3, &bianco,
                 &barra,    &info,    &infolabel, &Command1,   &Image2,  &Image1});
    setTabOrder({&Frame1, &drive,      &dir,       &list,    &Frame2,  &Frame3, &split,   &help,    &progress,
                 &Text,   &info,       &infolabel, &pathbar, &options, &Frame4, &Option1, &Option2, &Label2,
                 &Label3, &Option3,    &Option4,   &Label4,  &numfile, &about,  &esci,    &bianco,  &VScroll1,
                 &unisci, &uniscifile, &file1,     &File2,   &Label1,  &Label5, &Command1});
    applyDesign();
}

MainWindow::~MainWindow() {
    // The store may outlive the window: it must not call back into it.
    platform().settings.onWaiting({});
}

void MainWindow::design() {
    setWindow("Brenvik 1.0", BorderStyle::FixedSingle, 7275, 7095);
    setButtons(true, false);
    setIcon("brenvik");
    Image1.setGeometry({1320, 60, 4035, 630});
    Image1.setPicture("banner");

    designModes();
    designBrowser();
    designPartSize();
    designJoin();
    designProgress();
    designButtons();
    startLists();
}

void MainWindow::designModes() {
    Frame4.setCaption("Seleziona Modalità");
    Frame4.setGeometry({120, 780, 5235, 555});
    Option1.setCaption("Splitta Files");
    Option1.setGeometry({1800, 240, 1335, 195});
    Option1.setValue(true);
    Option2.setCaption("Unisci Files");
    Option2.setGeometry({3360, 240, 1275, 195});
    Option2.setValue(false);
}

void MainWindow::designBrowser() {
    Frame1.setCaption("Directory browser");
    Frame1.setGeometry({120, 1380, 2595, 2715});
    drive.setGeometry({120, 240, 2355, 315});
    dir.setGeometry({105, 630, 2355, 1890});

    Frame2.setCaption("Seleziona File");
    Frame2.setGeometry({2820, 1380, 2535, 2715});
    list.setGeometry({2940, 1620, 2295, 2235});
    list.setMultiSelect(false);

    file1.setCaption("Seleziona File");
    file1.setGeometry({2820, 1380, 2535, 2715});
    file1.setVisible(false);
    File2.setGeometry({120, 240, 2295, 2235});
    File2.setMultiSelect(true);
    // The join writes what was chosen as it was when the list showed it.
    File2.setKeepsStamps(true);

    pathbar.setGeometry({120, 4260, 5235, 288});
    pathbar.setText("");
    pathbar.setLocked(true);
    pathbar.setMaxLength(1024);
}

void MainWindow::designPartSize() {
    Frame3.setCaption("Grandezza Files da creare in KB");
    Frame3.setGeometry({120, 4680, 5220, 795});
    Text.setGeometry({180, 300, 900, 330});
    Text.setText("500");
    Text.setLocked(true);
    Text.setMaxLength(6);
    Text.setFont({"Fixedsys", 9, false});
    Text.setForeColor(Blue);
    Text.setToolTip("Clicca per impostare . . .");
    VScroll1.setGeometry({1080, 300, 255, 315});
    VScroll1.setRange(0, 32767);
    VScroll1.setValue(500);
    VScroll1.setChanges(100, 1);
    Option3.setCaption("500 KB");
    Option3.setGeometry({1560, 360, 915, 195});
    Option3.setValue(true);
    Option4.setCaption("1 MG");
    Option4.setGeometry({2520, 360, 795, 195});
    Option4.setValue(false);
    numfile.setCaption("0");
    numfile.setGeometry({3400, 360, 90, 195});
    numfile.setAutoSize(true);
    Label4.setCaption(" File da creare . . .");
    Label4.setGeometry({3765, 360, 1275, 195});
    Label4.setAutoSize(true);
}

void MainWindow::designJoin() {
    unisci.setCaption("Seleziona i File da Unire e Premi Unisci ");
    unisci.setGeometry({120, 4680, 5235, 795});
    unisci.setVisible(false);
    uniscifile.setCaption("Unisci");
    uniscifile.setGeometry({120, 300, 1575, 375});
    Label1.setCaption("File Selezionati:");
    Label1.setGeometry({2280, 420, 1395, 255});
    Label1.setFont({"", 8, true});
    Label5.setCaption("0");
    Label5.setGeometry({4020, 420, 90, 195});
    Label5.setAlignment(Align::Right);
    Label5.setAutoSize(true);
}

void MainWindow::designProgress() {
    progress.setCaption("Processo Corrente");
    progress.setGeometry({120, 5580, 5235, 600});
    Label2.setCaption("0%");
    Label2.setGeometry({60, 240, 495, 195});
    Label2.setAlignment(Align::Center);
    Image3.setGeometry({555, 240, 3990, 195});
    Image3.setBordered(true);
    barra.setGeometry({540, 240, 4000, 195});
    barra.setColors(DarkBlue, Blue);
    bianco.setCaption("0");
    bianco.setGeometry({540, 240, 4005, 195});
    bianco.setForeColor(White);
    bianco.setAlignment(Align::Center);
    bianco.setTransparent(true);
    Label3.setCaption("100%");
    Label3.setGeometry({4560, 180, 555, 315});
    Label3.setAlignment(Align::Center);

    info.setCaption("Info Box");
    info.setGeometry({120, 6360, 7035, 615});
    infolabel.setCaption("");
    infolabel.setGeometry({120, 240, 75, 195});
    infolabel.setFont({"", 8, true});
    infolabel.setForeColor(Black);
    infolabel.setAutoSize(true);
    infolabel.setWordWrap(false);
}

void MainWindow::designButtons() {
    struct ButtonDesign {
        CommandButton& button;
        const char* caption;
        const char* picture;
        int top;
    };
    for (const ButtonDesign& b :
         {ButtonDesign{split, "&Splitta Files", "split", 840},
          ButtonDesign{options, "&Destinazione Files", "options", 1920}, ButtonDesign{help, "&Opzioni", "help", 3000},
          ButtonDesign{about, "&About", "about", 4080}, ButtonDesign{esci, "&Esci", "esci", 5160}}) {
        b.button.setCaption(b.caption);
        b.button.setPicture(b.picture);
        b.button.setGeometry({5580, b.top, 1515, 1035});
    }
    split.setFont({"", 8, true});
    Command1.setCaption("Command1");
    Command1.setGeometry({5940, 1500, 555, 195});

    Image2.setGeometry({0, 0, 7275, 7095});
    Image2.setBordered(true);
}

void MainWindow::startLists() {
    // The lists start where the process stands, as the platform's lists do: the current folder
    // of drive c:.
    try {
        drive.refresh();
        drive.setDrive("c:");
        dir.setPath("c:");
        list.setPath(dir.path());
        File2.setPath(dir.path());
    } catch (const RuntimeError&) {
        // A drive that cannot be read leaves the lists empty until the load points them elsewhere.
    }
}

void MainWindow::setProgress(int width, const std::string& figure) {
    barra.setWidth(width);
    bianco.setCaption(figure);
    Desktop& desktop = platform().desktop;
    if (desktop.busy())
        desktop.showProgress(width, 4000);
}

std::string MainWindow::status() const {
    return infolabel.caption();
}

void MainWindow::setStatus(const std::string& text) {
    infolabel.setCaption(text);
}

void MainWindow::checkpoint() {
    platform().desktop.throwIfStopped();
}

void MainWindow::sourceResized(int64_t size) {
    // The parts hold the file as it is now, and the window says so.
    dimensione = size;
    dimkb = std::floor(static_cast<double>(size) / 1024.0);
    partSize().ContaFile();
}

void MainWindow::folderWritten() {
    try {
        list.refresh();
    } catch (const RuntimeError&) {
        // The list's folder may be gone; what was written stays written.
    }
}

void MainWindow::advance(int width, int figure) {
    setProgress(barra.width() + width, formatNumber(leadingNumber(bianco.caption()) + figure));
}

void MainWindow::Form_Load() {
    lifecycle().Form_Load();
}
void MainWindow::Form_Activate() {
    lifecycle().Form_Activate();
}
void MainWindow::Form_QueryUnload(bool& cancel) {
    lifecycle().Form_QueryUnload(cancel);
}

} // namespace brenvik
