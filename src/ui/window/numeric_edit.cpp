#include "ui/window/numeric_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QStyleOptionSpinBox>
#include <QStylePainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/window/palette_cache.h"

namespace korvan {

NumericEdit::NumericEdit(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    // With tracking on, "70" in a 0..60 field would commit "7" at the first key.
    setKeyboardTracking(false);
    setWrapping(false);
    setAccelerated(false);
    setFocusPolicy(Qt::StrongFocus);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void NumericEdit::ShowValue(int value) {
    const int shown = qBound(minimum(), value, maximum());
    if (this->value() == shown && text() == textFromValue(shown)) return;
    setValue(shown);
    // setValue leaves the text alone when the value did not change but the user had typed
    // something else; the image is what the field must show.
    if (text() != textFromValue(shown)) lineEdit()->setText(textFromValue(shown));
}

void NumericEdit::SetRangeTip(const QString& range) {
    rangeTip_ = range;
    ShowTip();
}

void NumericEdit::SetNote(const QString& note) {
    note_ = note;
    ShowTip();
}

void NumericEdit::ShowTip() {
    const QString tip =
        note_.isEmpty() || rangeTip_.isEmpty() ? rangeTip_ + note_ : rangeTip_ + '\n' + note_;
    if (toolTip() != tip) setToolTip(tip);
}

bool NumericEdit::HasTypedText() const {
    return text() != textFromValue(value());
}

namespace {

bool IsUndoKey(QKeyEvent* key) {
    return key->matches(QKeySequence::Undo);
}
bool IsRedoKey(QKeyEvent* key) {
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Redo) ||
           combination == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
           combination == QKeyCombination(Qt::CTRL, Qt::Key_Y);
}

}  // namespace

bool NumericEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsUndoKey(key) || IsRedoKey(key)) {
            // Accepted: the key comes to this field; ignored: the window's shortcut takes it.
            if (IsUndoKey(key) && HasTypedText()) {
                key->accept();
            } else {
                key->ignore();
            }
            return true;
        }
    }
    return QSpinBox::event(event);
}

QValidator::State NumericEdit::validate(QString& input, int& pos) const {
    const QValidator::State state = QSpinBox::validate(input, pos);
    return state == QValidator::Invalid ? QValidator::Intermediate : state;
}

void NumericEdit::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    // A click at the limit does not move the value, but it is still a click: it commits
    // whatever the controls hold, as every other click does.
    emit Stepped();
}

void NumericEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit EnterPressed();
        return;
    }
    // Page keys would step ten times at once; the field's up-down knows only single steps.
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        event->ignore();
        return;
    }
    // The line's own undo history would step back through values the program set.
    if (IsUndoKey(event) || IsRedoKey(event)) {
        event->accept();
        if (IsUndoKey(event) && HasTypedText()) lineEdit()->setText(textFromValue(value()));
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void NumericEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) {
        lineEdit()->event(event);  // the caret stops; the text and the value stay as typed
        QWidget::focusOutEvent(event);
        return;
    }
    QSpinBox::focusOutEvent(event);
    emit Left();
}

void NumericEdit::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QSpinBox::wheelEvent(event);
}

void NumericEdit::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    option.palette = SharedPalette(option.palette);
    QStylePainter painter(this);
    painter.drawComplexControl(QStyle::CC_SpinBox, option);
}

void NumericEdit::resizeEvent(QResizeEvent* event) {
    QSpinBox::resizeEvent(event);
    FitLongestValue();
}

void NumericEdit::FitLongestValue() {
    // An edit keeps two pixels free on each side of its text.
    constexpr int kInnerMargins = 4;
    constexpr int kMostToGiveUp = 2;
    QLineEdit* edit = lineEdit();
    const int longest = std::max(edit->fontMetrics().horizontalAdvance(textFromValue(maximum())),
                                 edit->fontMetrics().horizontalAdvance(textFromValue(minimum())));
    const int shortBy = longest + kInnerMargins - edit->width();
    const int margin = shortBy > 0 ? -std::min(kMostToGiveUp, (shortBy + 1) / 2) : 0;
    edit->setTextMargins(margin, 0, margin, 0);
}

}  // namespace korvan
