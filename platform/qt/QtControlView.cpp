#include "platform/qt/QtControlView.h"

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/UserAction.h"
#include "platform/qt/ArrowSpinner.h"
#include "platform/qt/CaptionFrame.h"
#include "platform/qt/ControlCanvas.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtFonts.h"
#include "platform/qt/VirtualKeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace brenvik {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Multi-line controls keep CR LF line ends in the model; Qt's editors use LF alone.
QString toDisplayLines(const std::string& s) {
    return qs(s).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string fromDisplayLines(const QString& s) {
    QString copy = s;
    return copy.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toStdString();
}

// A frame's caption shows "&x" as the letter alone and "&&" as "&".
QString withoutAccessMarks(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

Qt::Alignment toQtAlignment(Align a) {
    switch (a) {
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    default:
        return Qt::AlignLeft | Qt::AlignTop;
    }
}

QColor toQColor(Color c) {
    return QColor(c.r, c.g, c.b);
}

const QIcon& folderIcon(bool open) {
    static const QIcon opened = pictures::icon("folder_open");
    static const QIcon closed = pictures::icon("folder_closed");
    return open ? opened : closed;
}

// The frame that holds `control`, or else the smallest frame beside it whose rectangle holds
// it (a control placed over a frame without being inside it); null when there is none.
const Control* enclosingFrame(const Control& control) {
    if (const Control* container = control.container(); container && container->kind() == ControlKind::Frame)
        return container;
    const Geometry g = control.geometry();
    const Control* best = nullptr;
    for (const Control* other : control.form().controls()) {
        if (other == &control || other->kind() != ControlKind::Frame || other->container() != control.container())
            continue;
        const Geometry f = other->geometry();
        if (g.left >= f.left && g.top >= f.top && g.left + g.width <= f.left + f.width &&
            g.top + g.height <= f.top + f.height && (!best || f.width * f.height < best->width() * best->height()))
            best = other;
    }
    return best;
}

// Position in a text with CR LF line ends <-> position in the same text with LF alone.
int displayPosition(const std::string& text, int modelPosition) {
    QString s = qs(text);
    int out = 0;
    for (qsizetype i = 0; i < s.size() && i < modelPosition; ++i)
        if (!(s[i] == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n')))
            ++out;
    return out;
}

int modelPosition(const QString& display, int displayPosition) {
    int out = 0;
    for (qsizetype i = 0; i < display.size() && i < displayPosition; ++i)
        out += display[i] == QLatin1Char('\n') ? 2 : 1;
    return out;
}

} // namespace

int QtControlView::pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QtControlView::QtControlView(Control& control, QWidget* parent) : control_(control) {
    widget_ = createWidget(parent);
    widget_->setObjectName(qs(control.name()));
    watch(widget_);
    if (viewport_)
        watch(viewport_);
    applyAll();
    connectUser();
    control_.setView(this);
}

QtControlView::~QtControlView() = default;

QWidget* QtControlView::createWidget(QWidget* parent) {
    switch (control_.kind()) {
    case ControlKind::Frame:
        return new CaptionFrame(parent);
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::TextBox: {
        auto& box = static_cast<TextBox&>(control_);
        QWidget* editor;
        if (box.multiLine()) {
            auto* edit = new QPlainTextEdit(parent);
            viewport_ = edit->viewport();
            editor = edit;
        } else {
            editor = new QLineEdit(parent);
        }
        if (box.watchesKeys()) {
            // The window's logic does all the editing of this box: nothing may edit it behind
            // the model's back (context menu, drops, input methods, middle-button paste).
            editor->setContextMenuPolicy(Qt::NoContextMenu);
            editor->setAcceptDrops(false);
            editor->setAttribute(Qt::WA_InputMethodEnabled, false);
        }
        return editor;
    }
    case ControlKind::OptionButton: {
        auto* radio = new QRadioButton(parent);
        // The model keeps option buttons exclusive within their container.
        radio->setAutoExclusive(false);
        return radio;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(parent);
    case ControlKind::VScrollBar: {
        const Geometry g = control_.geometry();
        if (g.height < 3 * g.width)
            return new ArrowSpinner(parent);
        auto* bar = new QScrollBar(Qt::Vertical, parent);
        // The model moves the value; the bar itself only reports which part the user pressed.
        bar->setSingleStep(0);
        bar->setPageStep(0);
        return bar;
    }
    case ControlKind::CommandButton: {
        auto& button = static_cast<CommandButton&>(control_);
        if (!button.picture().empty()) {
            auto* tool = new QToolButton(parent);
            tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            tool->setIconSize(QSize(32, 32));
            tool->setFocusPolicy(Qt::StrongFocus);
            return tool;
        }
        auto* push = new QPushButton(parent);
        push->setAutoDefault(false);
        return push;
    }
    case ControlKind::Shape:
    case ControlKind::Image:
    case ControlKind::PictureBox:
        return new ControlCanvas(control_, parent);
    case ControlKind::DriveList:
        return new QComboBox(parent);
    case ControlKind::DirList: {
        auto* tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        tree->setRootIsDecorated(false);
        tree->setItemsExpandable(false);
        tree->setExpandsOnDoubleClick(false);
        tree->setIndentation(8);
        tree->setIconSize(QSize(16, 16));
        tree->setSelectionMode(QAbstractItemView::SingleSelection);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        viewport_ = tree->viewport();
        return tree;
    }
    case ControlKind::FileList: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(static_cast<FileList&>(control_).multiSelect() ? QAbstractItemView::MultiSelection
                                                                              : QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setUniformItemSizes(true);
        viewport_ = list->viewport();
        return list;
    }
    }
    return new QWidget(parent);
}

void QtControlView::watch(QWidget* w) {
    w->installEventFilter(this);
    // Every control reports the pointer moving over it; a move is never passed on to the
    // container behind, which is a different control.
    w->setMouseTracking(true);
    w->setAttribute(Qt::WA_NoMousePropagation);
}

void QtControlView::connectUser() {
    switch (control_.kind()) {
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
    case ControlKind::CommandButton:
        connect(static_cast<QAbstractButton*>(widget_), &QAbstractButton::clicked, this,
                [this] { user([this] { control_.userClick(); }); });
        break;
    case ControlKind::TextBox: {
        auto& box = static_cast<TextBox&>(control_);
        if (box.watchesKeys())
            break;
        if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
            connect(edit, &QLineEdit::textEdited, this, [this, &box, edit](const QString& text) {
                user([&box, edit, text] {
                    box.userEdit(text.toStdString());
                    box.setSelStart(edit->cursorPosition());
                });
            });
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) {
            connect(plain, &QPlainTextEdit::textChanged, this, [this, &box, plain] {
                user([&box, plain] {
                    QString text = plain->toPlainText();
                    box.userEdit(fromDisplayLines(text));
                    box.setSelStart(modelPosition(text, plain->textCursor().position()));
                });
            });
        }
        break;
    }
    case ControlKind::VScrollBar: {
        auto& bar = static_cast<VScrollBar&>(control_);
        if (auto* spinner = dynamic_cast<ArrowSpinner*>(widget_)) {
            // Value 0 is at the top: the upper arrow lowers the value, the lower one raises it.
            spinner->onUp = [this, &bar] { user([&bar] { bar.userLineUp(); }); };
            spinner->onDown = [this, &bar] { user([&bar] { bar.userLineDown(); }); };
            break;
        }
        connect(static_cast<QScrollBar*>(widget_), &QAbstractSlider::actionTriggered, this, [this, &bar](int action) {
            switch (action) {
            case QAbstractSlider::SliderSingleStepAdd:
                user([&bar] { bar.userLineDown(); });
                break;
            case QAbstractSlider::SliderSingleStepSub:
                user([&bar] { bar.userLineUp(); });
                break;
            case QAbstractSlider::SliderPageStepAdd:
                user([&bar] { bar.userPageDown(); });
                break;
            case QAbstractSlider::SliderPageStepSub:
                user([&bar] { bar.userPageUp(); });
                break;
            default:
                applyValue();
                break;
            }
        });
        break;
    }
    case ControlKind::DriveList: {
        auto& drives = static_cast<DriveList&>(control_);
        connect(static_cast<QComboBox*>(widget_), &QComboBox::activated, this,
                [this, &drives](int index) { user([&drives, index] { drives.userChoose(index); }); });
        break;
    }
    case ControlKind::DirList: {
        auto& dirs = static_cast<DirList&>(control_);
        auto* tree = static_cast<QTreeWidget*>(widget_);
        connect(tree, &QTreeWidget::currentItemChanged, this, [this, &dirs](QTreeWidgetItem* current) {
            int index = dirIndexOf(current);
            if (index < 0)
                return;
            pressChangedList_ = true;
            user([&dirs, index] { dirs.userHighlight(index); });
        });
        connect(tree, &QTreeWidget::itemClicked, this, [this, &dirs](QTreeWidgetItem* item) {
            int index = dirIndexOf(item);
            if (index < 0 || pressChangedList_)
                return;
            user([&dirs, index] { dirs.userHighlight(index); });
        });
        connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, &dirs](QTreeWidgetItem* item) {
            int index = dirIndexOf(item);
            if (index >= 0)
                user([&dirs, index] { dirs.userOpen(index); });
        });
        break;
    }
    case ControlKind::FileList: {
        auto& files = static_cast<FileList&>(control_);
        auto* list = static_cast<QListWidget*>(widget_);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            pressChangedList_ = true;
            reportFileSelection();
        });
        connect(list, &QListWidget::itemClicked, this, [this, &files, list](QListWidgetItem* item) {
            // Clicking the item already selected changes nothing but is still a click.
            int row = list->row(item);
            if (pressChangedList_ || files.multiSelect() || row < 0)
                return;
            user([&files, row] { files.userClickItem(row); });
        });
        break;
    }
    default:
        break;
    }
}

void QtControlView::user(const std::function<void()>& action) {
    runUserAction(control_.form().platform(), action);
    resync();
}

void QtControlView::resync() {
    // A window unloaded by the action is back in its design state, which its views already show;
    // reading it now would load it again.
    const Form& form = control_.form();
    if (!form.loaded() || form.designing())
        return;
    applyValue();
    applySelection();
    applyText();
    applyCaret();
}

void QtControlView::applyDrawing() {
    widget_->update();
}

void QtControlView::applyGeometry() {
    const Geometry g = control_.geometry();
    QRect r(pixels(g.left), pixels(g.top), pixels(g.width), pixels(g.height));
    switch (control_.kind()) {
    case ControlKind::Label: {
        auto& label = static_cast<Label&>(control_);
        auto* w = static_cast<QLabel*>(widget_);
        const QFontMetrics metrics(w->font());
        int textWidth = 0;
        const QStringList lines = w->text().split(QLatin1Char('\n'));
        for (const QString& line : lines)
            textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
        const int textHeight = metrics.height() * static_cast<int>(lines.size());
        if (label.autoSize()) {
            w->setWordWrap(false);
            r.setWidth(w->text().isEmpty() ? 0 : textWidth + 1);
            r.setHeight(std::max(r.height(), textHeight));
        } else if (r.height() < 2 * metrics.lineSpacing()) {
            // A one-line label: the host's font may be wider than the one it was laid out for,
            // so it grows rather than wraps or cuts its text.
            w->setWordWrap(false);
            int extra = textWidth + 1 - r.width();
            if (extra > 0) {
                if (label.alignment() == Align::Center)
                    r.adjust(-extra / 2, 0, extra - extra / 2, 0);
                else if (label.alignment() == Align::Right)
                    r.adjust(-extra, 0, 0, 0);
                else
                    r.adjust(0, 0, extra, 0);
            }
            r.setHeight(std::max(r.height(), metrics.height()));
        } else {
            w->setWordWrap(label.wordWrap());
            if (label.wordWrap())
                r.setHeight(std::max(r.height(), w->heightForWidth(r.width())));
        }
        break;
    }
    case ControlKind::OptionButton:
    case ControlKind::CheckBox: {
        // The style's indicator can be taller than the line the button was laid out on: the
        // button grows about its middle, so that neither the circle nor the text is cut.
        const QSize hint = widget_->sizeHint();
        r.setWidth(std::max(r.width(), hint.width()));
        const int extra = hint.height() - r.height();
        if (extra > 0)
            r.adjust(0, -extra / 2, 0, extra - extra / 2);
        break;
    }
    case ControlKind::Image: {
        // An image that is not stretched takes its picture's size.
        QSize picture = pictures::naturalSize(static_cast<Image&>(control_).picture());
        if (picture.isValid())
            r.setSize(r.size().expandedTo(picture));
        break;
    }
    default:
        break;
    }
    widget_->setGeometry(r);
}

void QtControlView::applyCaption() {
    const QString caption = qs(control_.caption());
    QSignalBlocker block(widget_);
    switch (control_.kind()) {
    case ControlKind::Frame:
        static_cast<CaptionFrame*>(widget_)->setTitle(withoutAccessMarks(caption));
        break;
    case ControlKind::Label:
        // Labels carry file names, which may hold "&": the caption is shown exactly as it is.
        static_cast<QLabel*>(widget_)->setText(QString(caption).replace(QLatin1String("\r\n"), QLatin1String("\n")));
        applyGeometry();
        break;
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        static_cast<QAbstractButton*>(widget_)->setText(caption);
        applyGeometry();
        break;
    case ControlKind::CommandButton:
        static_cast<QAbstractButton*>(widget_)->setText(caption);
        break;
    default:
        break;
    }
    applyAccessibleName();
}

void QtControlView::applyText() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    auto& box = static_cast<TextBox&>(control_);
    QSignalBlocker block(widget_);
    if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
        const QString text = qs(box.text());
        // Typing is limited by the model where it watches the keys; the widget's own limit never
        // cuts a longer text set from code.
        int limit = box.watchesKeys() || box.maxLength() == 0 ? 32767 : box.maxLength();
        edit->setMaxLength(std::max(limit, static_cast<int>(text.size())));
        if (edit->text() != text) {
            edit->setText(text);
            edit->setCursorPosition(box.selStart());
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) {
        const QString text = toDisplayLines(box.text());
        if (plain->toPlainText() != text) {
            plain->setPlainText(text);
            applyCaret();
        }
    }
}

void QtControlView::applyToolTip() {
    widget_->setToolTip(qs(control_.toolTip()));
    applyAccessibleName();
}

void QtControlView::applyAccessibleName() {
    // What a screen reader says for the control: the caption a sighted user reads, else the tool
    // tip, else (for a list or box without either) the caption of the frame it stands in or on.
    QString name = withoutAccessMarks(qs(control_.caption()));
    if (name.trimmed().isEmpty())
        name = qs(control_.toolTip());
    if (name.trimmed().isEmpty())
        if (const Control* frame = enclosingFrame(control_))
            name = withoutAccessMarks(qs(frame->caption()));
    widget_->setAccessibleName(name.trimmed());
}

void QtControlView::applyEnabled() {
    widget_->setEnabled(control_.enabled());
}

void QtControlView::applyVisible() {
    widget_->setVisible(control_.visible());
}

void QtControlView::applyValue() {
    QSignalBlocker block(widget_);
    switch (control_.kind()) {
    case ControlKind::OptionButton:
        static_cast<QAbstractButton*>(widget_)->setChecked(static_cast<OptionButton&>(control_).value());
        break;
    case ControlKind::CheckBox:
        static_cast<QAbstractButton*>(widget_)->setChecked(static_cast<CheckBox&>(control_).value() != 0);
        break;
    case ControlKind::VScrollBar:
        if (auto* w = qobject_cast<QScrollBar*>(widget_)) {
            auto& bar = static_cast<VScrollBar&>(control_);
            w->setRange(bar.min(), bar.max());
            w->setValue(bar.value());
        }
        break;
    case ControlKind::DriveList: {
        static_cast<QComboBox*>(widget_)->setCurrentIndex(static_cast<DriveList&>(control_).currentIndex());
        break;
    }
    default:
        break;
    }
}

void QtControlView::applyLocked() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    auto& box = static_cast<TextBox&>(control_);
    if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
        // A box whose keys the model handles stays editable in Qt's eyes so that its caret shows;
        // every key goes to the model, which knows whether the box is locked.
        edit->setReadOnly(box.locked() && !box.watchesKeys());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) {
        plain->setReadOnly(box.locked());
    }
}

void QtControlView::applyCaret() {
    if (control_.kind() != ControlKind::TextBox)
        return;
    auto& box = static_cast<TextBox&>(control_);
    QSignalBlocker block(widget_);
    if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
        if (edit->cursorPosition() != box.selStart())
            edit->setCursorPosition(box.selStart());
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) {
        int position = displayPosition(box.text(), box.selStart());
        if (plain->textCursor().position() != position) {
            QTextCursor cursor = plain->textCursor();
            cursor.setPosition(std::min(position, static_cast<int>(plain->toPlainText().size())));
            plain->setTextCursor(cursor);
        }
    }
}

void QtControlView::applyItems() {
    switch (control_.kind()) {
    case ControlKind::DriveList: {
        auto* combo = static_cast<QComboBox*>(widget_);
        QSignalBlocker block(combo);
        combo->clear();
        for (const std::string& entry : static_cast<DriveList&>(control_).entries())
            combo->addItem(qs(entry));
        applyValue();
        break;
    }
    case ControlKind::DirList: {
        auto* tree = static_cast<QTreeWidget*>(widget_);
        QSignalBlocker block(tree);
        tree->clear();
        dirItems_.clear();
        // Each entry hangs under the last entry one level up, which draws the indentation.
        std::vector<QTreeWidgetItem*> lastAtLevel;
        for (const DirList::Entry& entry : static_cast<DirList&>(control_).entries()) {
            QTreeWidgetItem* item;
            auto level = static_cast<size_t>(std::max(0, entry.level));
            if (level == 0 || lastAtLevel.size() < level)
                item = new QTreeWidgetItem(tree);
            else
                item = new QTreeWidgetItem(lastAtLevel[level - 1]);
            item->setText(0, qs(entry.label));
            item->setIcon(0, folderIcon(entry.open));
            lastAtLevel.resize(level + 1);
            lastAtLevel[level] = item;
            dirItems_.push_back(item);
        }
        tree->expandAll();
        applySelection();
        break;
    }
    case ControlKind::FileList: {
        auto* list = static_cast<QListWidget*>(widget_);
        QSignalBlocker block(list);
        list->clear();
        QStringList names;
        for (const std::string& name : static_cast<FileList&>(control_).items())
            names << qs(name);
        list->addItems(names);
        applySelection();
        break;
    }
    default:
        break;
    }
}

void QtControlView::applySelection() {
    switch (control_.kind()) {
    case ControlKind::DirList: {
        auto& dirs = static_cast<DirList&>(control_);
        auto* tree = static_cast<QTreeWidget*>(widget_);
        QSignalBlocker block(tree);
        const int index = dirs.shownIndex();
        if (index >= 0 && index < static_cast<int>(dirItems_.size()))
            tree->setCurrentItem(dirItems_[static_cast<size_t>(index)]);
        else
            tree->setCurrentItem(nullptr);
        break;
    }
    case ControlKind::FileList: {
        auto& files = static_cast<FileList&>(control_);
        auto* list = static_cast<QListWidget*>(widget_);
        QSignalBlocker block(list);
        QItemSelectionModel* model = list->selectionModel();
        QSignalBlocker blockModel(model);
        QItemSelection selection;
        const int count = std::min(files.count(), list->count());
        for (int i = 0; i < count; ++i)
            if (files.selected(i)) {
                QModelIndex at = list->model()->index(i, 0);
                selection.select(at, at);
            }
        model->select(selection, QItemSelectionModel::ClearAndSelect);
        int current = files.listIndex();
        model->setCurrentIndex(current >= 0 && current < count ? list->model()->index(current, 0) : QModelIndex(),
                               QItemSelectionModel::NoUpdate);
        list->viewport()->update();
        break;
    }
    default:
        break;
    }
}

void QtControlView::applyPicture() {
    switch (control_.kind()) {
    case ControlKind::CommandButton:
        static_cast<QAbstractButton*>(widget_)->setIcon(
            pictures::icon(static_cast<CommandButton&>(control_).picture()));
        break;
    case ControlKind::Image:
        applyGeometry();
        widget_->update();
        break;
    default:
        break;
    }
}

void QtControlView::applyLook() {
    widget_->setFont(toQFont(control_.font()));
    QPalette palette = widget_->palette();
    const QColor fore = toQColor(control_.foreColor());
    auto setFore = [&](QPalette::ColorRole role) {
        // Only the enabled colours: a disabled control keeps the style's greyed text.
        palette.setColor(QPalette::Active, role, fore);
        palette.setColor(QPalette::Inactive, role, fore);
    };
    auto setBack = [&](QPalette::ColorRole role) {
        // One background in every state: an opaque label in a disabled frame keeps the colour
        // of the frame around it.
        QColor back = control_.hasBackColor() ? toQColor(control_.backColor()) : palette.color(QPalette::Active, role);
        palette.setColor(QPalette::All, role, back);
    };
    switch (control_.kind()) {
    case ControlKind::Label: {
        auto& label = static_cast<Label&>(control_);
        auto* w = static_cast<QLabel*>(widget_);
        setFore(QPalette::WindowText);
        setBack(QPalette::Window);
        w->setAlignment(toQtAlignment(label.alignment()));
        w->setAutoFillBackground(!label.transparent());
        break;
    }
    case ControlKind::TextBox:
        setFore(QPalette::Text);
        setBack(QPalette::Base);
        break;
    case ControlKind::Frame:
    case ControlKind::OptionButton:
    case ControlKind::CheckBox:
        setFore(QPalette::WindowText);
        setBack(QPalette::Window);
        if (control_.hasBackColor())
            widget_->setAutoFillBackground(true);
        break;
    case ControlKind::CommandButton:
        setFore(QPalette::ButtonText);
        setBack(QPalette::Button);
        break;
    default:
        break;
    }
    widget_->setPalette(palette);
    widget_->update();
    applyGeometry();
}

bool QtControlView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        runUserAction(control_.form().platform(), [this] { control_.userMouseMove(); });
        return false;
    case QEvent::MouseButtonPress:
        pressChangedList_ = false;
        if (control_.kind() == ControlKind::TextBox && static_cast<TextBox&>(control_).watchesKeys() &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
        return false;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* w = static_cast<QWidget*>(watched);
        switch (control_.kind()) {
        case ControlKind::Frame:
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::Shape:
        case ControlKind::PictureBox:
        case ControlKind::TextBox:
            if (mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint())) {
                user([this] {
                    if (control_.kind() == ControlKind::TextBox)
                        static_cast<TextBox&>(control_).setSelStart(textBoxCaret());
                    control_.userClick();
                });
            }
            break;
        default:
            break;
        }
        return false;
    }
    case QEvent::KeyPress:
        return keyEvent(watched, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        if (control_.kind() == ControlKind::TextBox && static_cast<TextBox&>(control_).watchesKeys()) {
            int key = static_cast<QKeyEvent*>(event)->key();
            return key != Qt::Key_Tab && key != Qt::Key_Backtab;
        }
        return false;
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return control_.kind() == ControlKind::TextBox && static_cast<TextBox&>(control_).watchesKeys();
    case QEvent::FocusIn:
        if (control_.focusable() && watched == widget_)
            runUserAction(control_.form().platform(), [this] { control_.setFocus(); });
        return false;
    default:
        return false;
    }
}

bool QtControlView::keyEvent(QObject*, QKeyEvent* event) {
    const int key = event->key();
    switch (control_.kind()) {
    case ControlKind::TextBox: {
        auto& box = static_cast<TextBox&>(control_);
        if (!box.watchesKeys())
            return false;
        // Tab still moves the focus, as in any window; every other key belongs to the model.
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !(event->modifiers() & Qt::ControlModifier))
            return false;
        const int code = virtualKey(*event);
        const std::string typed = typedText(*event);
        const int shift = shiftState(event->modifiers());
        user([&box, code, typed, shift] { box.userKey(code, typed, shift); });
        return true;
    }
    case ControlKind::DirList:
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            auto* tree = static_cast<QTreeWidget*>(widget_);
            int index = dirIndexOf(tree->currentItem());
            if (index >= 0) {
                auto& dirs = static_cast<DirList&>(control_);
                user([&dirs, index] { dirs.userOpen(index); });
            }
            return true;
        }
        return false;
    default:
        return false;
    }
}

void QtControlView::reportFileSelection() {
    auto& files = static_cast<FileList&>(control_);
    auto* list = static_cast<QListWidget*>(widget_);
    std::vector<bool> selection(static_cast<size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        selection[static_cast<size_t>(i)] = list->item(i)->isSelected();
    int current = list->currentRow();
    user([&files, selection, current] { files.userSelect(selection, current); });
}

int QtControlView::dirIndexOf(QTreeWidgetItem* item) const {
    if (!item)
        return -1;
    auto it = std::find(dirItems_.begin(), dirItems_.end(), item);
    return it == dirItems_.end() ? -1 : static_cast<int>(it - dirItems_.begin());
}

int QtControlView::textBoxCaret() const {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_))
        return edit->cursorPosition();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_))
        return modelPosition(plain->toPlainText(), plain->textCursor().position());
    return 0;
}

} // namespace brenvik
