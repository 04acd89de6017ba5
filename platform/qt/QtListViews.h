#pragma once

#include "platform/qt/QtControlView.h"

#include <vector>

class QComboBox;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace brenvik {

class DirList;
class DriveList;
class FileList;

// The lists: the drive list, the folder list and the file lists. What they share is the press
// of the pointer: one that did not change the selection is still a click on the item.
class QtListView : public QtControlView {
protected:
    using QtControlView::QtControlView;

    bool filterEvent(QObject* watched, QEvent* event) override;

    // Set when the selection changed since the last press of the pointer.
    bool pressChangedList_ = false;
};

// A drop-down combo box; choosing an entry is the user's choice of a drive.
class QtDriveListView : public QtListView {
public:
    QtDriveListView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    void applyValue() override;
    void applyItems() override;

    DriveList& drives_;
    QComboBox* combo_;
};

// A tree whose entries hang under the open folder above them, each with its folder's picture.
// Highlighting an entry (or clicking the highlighted one) is a highlight; a double click or
// Enter opens it.
class QtDirListView : public QtListView {
public:
    QtDirListView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    bool filterEvent(QObject* watched, QEvent* event) override;
    void applyItems() override;
    void applySelection() override;
    // The entry's index in the model's list, or -1.
    int indexOf(QTreeWidgetItem* item) const;

    DirList& dirs_;
    QTreeWidget* tree_;
    std::vector<QTreeWidgetItem*> items_;
};

// A list of names, one or many selected as the model says.
class QtFileListView : public QtListView {
public:
    QtFileListView(Control& control, QWidget* parent);

private:
    void connectUser() override;
    void applyItems() override;
    void applySelection() override;
    bool holds(Property what) const override { return what == Property::Selection || QtListView::holds(what); }
    void reportSelection();

    FileList& files_;
    QListWidget* list_;
};

} // namespace brenvik
