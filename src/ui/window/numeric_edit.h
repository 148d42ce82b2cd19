// A numeric parameter field: an edit with its up-down as one control. It carries the field's
// limits and step and never wraps. Typed text is taken only when it is a whole number within
// the limits; anything else gives back the previous value when the field is left.
#pragma once

#include <QSpinBox>

namespace korvan {

class NumericEdit : public QSpinBox {
    Q_OBJECT

  public:
    explicit NumericEdit(QWidget* parent = nullptr);

    // The text part of the field, where the user types.
    using QSpinBox::lineEdit;
    // A value as the field shows it (digit groups included where the field has them).
    using QSpinBox::textFromValue;

    // The up-down's own name ("UpDownOmez1" beside "EditOmez1").
    QString UpDownName() const { return upDownName_; }
    void SetUpDownName(const QString& name) { upDownName_ = name; }

    // The tooltip is the field's range, with a note beneath it (the time the engine spent in a
    // map cell); either part may be empty.
    void SetRangeTip(const QString& range);
    void SetNote(const QString& note);

    // Sets the value and the text the value shows, without touching a field that already
    // shows exactly that (no repaint, no cursor jump in the field being edited).
    void ShowValue(int value);
    // The field holds typed text that has not been taken yet (it differs from the value).
    bool HasTypedText() const;

  signals:
    // An arrow click or arrow key stepped the value: the up-down click.
    void Stepped();
    // The focus moved from this field to another control of the window.
    void Left();
    // Enter was pressed in the field; the key itself goes no further.
    void EnterPressed();

  protected:
    // Ctrl+Z gives typed text that was not taken yet back to the field, as in a text field;
    // otherwise Ctrl+Z and the redo keys go to the window's undo and redo.
    bool event(QEvent* event) override;
    // Text that does not parse is only "not yet valid", so that typing 70 into 0..60 is
    // allowed and given back when the field is left, instead of being blocked key by key.
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Switching to another program, or a message box popping up, is not leaving the field:
    // the typed text stays as it is and nothing commits (with programming after change that
    // would program the unit behind the user's back).
    void focusOutEvent(QFocusEvent* event) override;
    // A wheel turn over a field the user is not editing must not change a tune (and, with
    // programming after change, the running unit): only a focused field takes the wheel.
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Painted with the shared palette of its colours, so that the style's cached pictures
    // of the field are found again when a colour comes back (the live cursor).
    void paintEvent(QPaintEvent* event) override;

  private:
    // The map columns leave room for four digits and the arrows; a five-digit breakpoint
    // would lose its last digit to the edit's inner margins, so those give way first.
    void FitLongestValue();

    void ShowTip();

    QString upDownName_;
    QString rangeTip_;
    QString note_;
};

}  // namespace korvan
