#include "mainwindow/Browser.h"

#include "app/ErrorMessages.h"
#include "join/JoinMode.h"
#include "mainwindow/MainWindow.h"

namespace brenvik {

namespace {

constexpr const char* Irreversible = "Errore Irreversibile";
constexpr const char* Unknown = "Errore Sconosciuto";

} // namespace

void Browser::drive_Change() {
    Platform& p = m.platform();
    runWithRetry(
        p, [this] { m.dir.setPath(m.drive.drive()); }, Irreversible, Unknown);
    runWithRetry(
        p, [this] { m.drive.setToolTip("Drive Corrente (" + m.drive.drive() + ")"); }, Irreversible, Unknown);
}

void Browser::dir_Change() {
    Platform& p = m.platform();
    runWithRetry(
        p, [this] { m.list.setPath(m.dir.path()); }, Irreversible, Unknown);
    runWithRetry(
        p, [this] { m.File2.setPath(m.dir.path()); }, Irreversible, Unknown);
    runWithRetry(
        p, [this] { m.dir.setToolTip(m.dir.path()); }, Irreversible, Unknown);
    runWithRetry(
        p, [this] { m.pathbar.setText(m.dir.path()); }, Irreversible, Unknown);
}

void Browser::dir_Click() {
    m.dir.setToolTip(m.dir.path());
}

void Browser::list_PathChange() {
    m.split.setEnabled(false);
    m.list.setToolTip("");
    m.infolabel.setCaption("Path: " + m.dir.path());
    m.Frame3.setEnabled(false);
}

void Browser::File2_PathChange() {
    m.Label5.setCaption("0");
    m.joinMode().Trova();
}

} // namespace brenvik
