#include "platform/qt/QtListViews.h"

#include "platform/Controls.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtConvert.h"

#include <QComboBox>
#include <QItemSelection>
#include <QKeyEvent>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>
#include <QTreeWidget>
#include <algorithm>

namespace brenvik {

namespace {

const QIcon& folderIcon(bool open) {
    static const QIcon opened = pictures::icon("folder_open");
    static const QIcon closed = pictures::icon("folder_closed");
    return open ? opened : closed;
}

} // namespace

bool QtListView::filterEvent(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress)
        pressChangedList_ = false;
    return false;
}

// ---- Drive list

QtDriveListView::QtDriveListView(Control& control, QWidget* parent)
    : QtListView(control), drives_(static_cast<DriveList&>(control)), combo_(new QComboBox(parent)) {
    setWidget(combo_);
}

void QtDriveListView::connectUser() {
    connect(combo_, &QComboBox::activated, this,
            [this](int index) { user([this, index] { drives_.userChoose(index); }); });
}

void QtDriveListView::applyValue() {
    QSignalBlocker block(combo_);
    combo_->setCurrentIndex(drives_.currentIndex());
}

void QtDriveListView::applyItems() {
    QSignalBlocker block(combo_);
    combo_->clear();
    for (const std::string& entry : drives_.entries())
        combo_->addItem(qs(entry));
    applyValue();
}

// ---- Folder list

QtDirListView::QtDirListView(Control& control, QWidget* parent)
    : QtListView(control), dirs_(static_cast<DirList&>(control)), tree_(new QTreeWidget(parent)) {
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setIndentation(8);
    tree_->setIconSize(QSize(16, 16));
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidget(tree_, tree_->viewport());
}

void QtDirListView::connectUser() {
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        int index = indexOf(current);
        if (index < 0)
            return;
        pressChangedList_ = true;
        user([this, index] { dirs_.userHighlight(index); });
    });
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        int index = indexOf(item);
        if (index < 0 || pressChangedList_)
            return;
        user([this, index] { dirs_.userHighlight(index); });
    });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        int index = indexOf(item);
        if (index >= 0)
            user([this, index] { dirs_.userOpen(index); });
    });
}

bool QtDirListView::filterEvent(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QtListView::filterEvent(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    int index = indexOf(tree_->currentItem());
    if (index >= 0)
        user([this, index] { dirs_.userOpen(index); });
    return true;
}

void QtDirListView::applyItems() {
    QSignalBlocker block(tree_);
    tree_->clear();
    items_.clear();
    // Each entry hangs under the last entry one level up, which draws the indentation.
    std::vector<QTreeWidgetItem*> lastAtLevel;
    for (const DirList::Entry& entry : dirs_.entries()) {
        QTreeWidgetItem* item;
        auto level = static_cast<size_t>(std::max(0, entry.level));
        if (level == 0 || lastAtLevel.size() < level)
            item = new QTreeWidgetItem(tree_);
        else
            item = new QTreeWidgetItem(lastAtLevel[level - 1]);
        item->setText(0, qs(entry.label));
        item->setIcon(0, folderIcon(entry.open));
        lastAtLevel.resize(level + 1);
        lastAtLevel[level] = item;
        items_.push_back(item);
    }
    tree_->expandAll();
    applySelection();
}

void QtDirListView::applySelection() {
    QSignalBlocker block(tree_);
    const int index = dirs_.shownIndex();
    if (index >= 0 && index < static_cast<int>(items_.size()))
        tree_->setCurrentItem(items_[static_cast<size_t>(index)]);
    else
        tree_->setCurrentItem(nullptr);
}

int QtDirListView::indexOf(QTreeWidgetItem* item) const {
    if (!item)
        return -1;
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// ---- File list

QtFileListView::QtFileListView(Control& control, QWidget* parent)
    : QtListView(control), files_(static_cast<FileList&>(control)), list_(new QListWidget(parent)) {
    list_->setSelectionMode(files_.multiSelect() ? QAbstractItemView::MultiSelection
                                                 : QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    setWidget(list_, list_->viewport());
}

void QtFileListView::connectUser() {
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        pressChangedList_ = true;
        reportSelection();
    });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // Clicking the item already selected changes nothing but is still a click.
        int row = list_->row(item);
        if (pressChangedList_ || files_.multiSelect() || row < 0)
            return;
        user([this, row] { files_.userClickItem(row); });
    });
}

void QtFileListView::reportSelection() {
    std::vector<bool> selection(static_cast<size_t>(list_->count()));
    int picked = -1;
    for (int i = 0; i < list_->count(); ++i) {
        selection[static_cast<size_t>(i)] = list_->item(i)->isSelected();
        if (selection[static_cast<size_t>(i)])
            picked = i;
    }
    // A single-selection list's current item is its pick, as the system's own lists have it. Qt
    // moves the pick under a dragging pointer but leaves the current item where the press was,
    // and the program then took the press's file while the list showed another.
    int current = files_.multiSelect() || picked < 0 ? list_->currentRow() : picked;
    user([this, selection, current] { files_.userSelect(selection, current); });
}

void QtFileListView::applyItems() {
    QSignalBlocker block(list_);
    list_->clear();
    QStringList names;
    for (const std::string& name : files_.items())
        names << qs(name);
    list_->addItems(names);
    applySelection();
}

void QtFileListView::applySelection() {
    QSignalBlocker block(list_);
    QItemSelectionModel* model = list_->selectionModel();
    QSignalBlocker blockModel(model);
    // One range for each run of selected items: a detection's thousand parts are one range.
    QItemSelection selection;
    const int count = std::min(files_.count(), list_->count());
    for (int i = 0; i < count;) {
        if (!files_.selected(i)) {
            ++i;
            continue;
        }
        const int first = i;
        while (i < count && files_.selected(i))
            ++i;
        selection.select(list_->model()->index(first, 0), list_->model()->index(i - 1, 0));
    }
    model->select(selection, QItemSelectionModel::ClearAndSelect);
    int current = files_.listIndex();
    model->setCurrentIndex(current >= 0 && current < count ? list_->model()->index(current, 0) : QModelIndex(),
                           QItemSelectionModel::NoUpdate);
    list_->viewport()->update();
}

} // namespace brenvik
