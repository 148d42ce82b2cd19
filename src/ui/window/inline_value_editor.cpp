#include "ui/window/inline_value_editor.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

namespace korvan {

namespace {

constexpr int kFieldWidth = 56;
constexpr int kMargin = 3;
constexpr int kBelowCell = 2;

}  // namespace

InlineValueEditor::InlineValueEditor(QWidget* parent) : QFrame(parent) {
    setObjectName("MapValueEditor");
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    caption_ = new QLabel(this);
    field_ = new QLineEdit(this);
    field_->setObjectName("MapValueField");
    field_->setFixedWidth(kFieldWidth);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin * 2);
    layout->addWidget(caption_);
    layout->addWidget(field_);
    field_->installEventFilter(this);
    hide();
}

void InlineValueEditor::Open(QWidget* cell, const QString& caption, const QString& text) {
    cell_ = cell;
    caption_->setText(caption);
    field_->setText(text);
    adjustSize();
    // Below the cell, kept inside the page so that no part of it is cut off.
    const QWidget* area = parentWidget();
    const QRect at = cell->geometry();
    const int x = std::clamp(at.left(), 0, std::max(0, area->width() - width()));
    int y = at.bottom() + kBelowCell;
    if (y + height() > area->height()) y = std::max(0, at.top() - kBelowCell - height());
    move(x, y);
    raise();
    show();
    field_->selectAll();
    field_->setFocus(Qt::OtherFocusReason);
}

void InlineValueEditor::Cancel() {
    if (IsOpen()) Close();
}

void InlineValueEditor::Close() {
    // The cell first: hiding the field while it has the focus would hand the focus to the
    // next control in the Tab order.
    if (cell_ != nullptr) cell_->setFocus(Qt::OtherFocusReason);
    hide();
}

bool InlineValueEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && IsOpen()) {
        if (event->type() == QEvent::ShortcutOverride) {
            // Every key belongs to the editor while it is open (Escape, Ctrl+Z in the text).
            event->accept();
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                const QString text = field_->text();
                Close();
                emit Accepted(text);
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                Close();
                return true;
            }
        }
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // Another program or a box taking the focus leaves the editor open; a click
            // elsewhere in the window closes it.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                QTimer::singleShot(0, this, [this] {
                    if (IsOpen() && !field_->hasFocus()) hide();
                });
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace korvan
