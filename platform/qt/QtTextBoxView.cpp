#include "platform/qt/QtTextBoxView.h"

#include "platform/Controls.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/VirtualKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <algorithm>

namespace brenvik {

namespace {

// Multi-line controls keep CR LF line ends in the model; Qt's editors use LF alone.
QString toDisplayLines(const std::string& s) {
    return qs(s).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

std::string fromDisplayLines(const QString& s) {
    QString copy = s;
    return copy.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toStdString();
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

QtTextBoxView::QtTextBoxView(Control& control, QWidget* parent)
    : QtControlView(control), box_(static_cast<TextBox&>(control)) {
    QWidget* editor;
    QWidget* viewport = nullptr;
    if (box_.multiLine()) {
        plain_ = new QPlainTextEdit(parent);
        viewport = plain_->viewport();
        editor = plain_;
    } else {
        line_ = new QLineEdit(parent);
        editor = line_;
    }
    if (box_.watchesKeys()) {
        // The window's logic does all the editing of this box: nothing may edit it behind the
        // model's back (context menu, drops, input methods, middle-button paste).
        editor->setContextMenuPolicy(Qt::NoContextMenu);
        editor->setAcceptDrops(false);
        editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    setWidget(editor, viewport);
}

void QtTextBoxView::connectUser() {
    if (box_.watchesKeys())
        return;
    if (line_) {
        connect(line_, &QLineEdit::textEdited, this, [this](const QString& text) {
            user([this, text] {
                box_.userEdit(text.toStdString());
                box_.setSelStart(line_->cursorPosition());
            });
        });
    } else {
        connect(plain_, &QPlainTextEdit::textChanged, this, [this] {
            user([this] {
                QString text = plain_->toPlainText();
                box_.userEdit(fromDisplayLines(text));
                box_.setSelStart(modelPosition(text, plain_->textCursor().position()));
            });
        });
    }
}

bool QtTextBoxView::filterEvent(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return box_.watchesKeys() && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::MouseButtonRelease:
        return clickOnRelease(watched, event, [this] { box_.setSelStart(caret()); });
    case QEvent::KeyPress:
        return keyPress(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
        if (box_.watchesKeys()) {
            int key = static_cast<QKeyEvent*>(event)->key();
            return key != Qt::Key_Tab && key != Qt::Key_Backtab;
        }
        return false;
    case QEvent::ContextMenu:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return box_.watchesKeys();
    default:
        return false;
    }
}

bool QtTextBoxView::keyPress(QKeyEvent* event) {
    if (!box_.watchesKeys())
        return false;
    // Tab still moves the focus, as in any window; every other key belongs to the model.
    const int key = event->key();
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !(event->modifiers() & Qt::ControlModifier))
        return false;
    const int code = virtualKey(*event);
    const std::string typed = typedText(*event);
    const int shift = shiftState(event->modifiers());
    user([this, code, typed, shift] { box_.userKey(code, typed, shift); });
    return true;
}

void QtTextBoxView::applyStyle(QPalette& palette) {
    setColors(palette, QPalette::Text, QPalette::Base);
}

void QtTextBoxView::applyText() {
    QSignalBlocker block(widget());
    if (line_) {
        const QString text = qs(box_.text());
        line_->setMaxLength(box_.editLimit(static_cast<int>(text.size())));
        if (line_->text() != text) {
            line_->setText(text);
            line_->setCursorPosition(box_.selStart());
        }
    } else {
        const QString text = toDisplayLines(box_.text());
        if (plain_->toPlainText() != text) {
            plain_->setPlainText(text);
            applyCaret();
        }
    }
}

void QtTextBoxView::applyLocked() {
    if (line_) {
        // A box whose keys the model handles stays editable in Qt's eyes so that its caret shows;
        // every key goes to the model, which knows whether the box is locked.
        line_->setReadOnly(box_.locked() && !box_.watchesKeys());
    } else {
        plain_->setReadOnly(box_.locked());
    }
}

void QtTextBoxView::applyCaret() {
    QSignalBlocker block(widget());
    if (line_) {
        if (line_->cursorPosition() != box_.selStart())
            line_->setCursorPosition(box_.selStart());
    } else {
        int position = displayPosition(box_.text(), box_.selStart());
        if (plain_->textCursor().position() != position) {
            QTextCursor cursor = plain_->textCursor();
            cursor.setPosition(std::min(position, static_cast<int>(plain_->toPlainText().size())));
            plain_->setTextCursor(cursor);
        }
    }
}

int QtTextBoxView::caret() const {
    if (line_)
        return line_->cursorPosition();
    return modelPosition(plain_->toPlainText(), plain_->textCursor().position());
}

} // namespace brenvik
