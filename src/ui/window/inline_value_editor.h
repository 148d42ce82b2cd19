// A small editor that opens over a cell of the map or of a row: a caption and a field for one
// number. Enter hands the text over, Escape (or a click elsewhere) closes it without a word;
// either way the focus goes back to the cell it was opened for.
#pragma once

#include <QFrame>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;

namespace korvan {

class InlineValueEditor : public QFrame {
    Q_OBJECT

  public:
    // A child of `parent`, hidden until opened.
    explicit InlineValueEditor(QWidget* parent);

    // Opens just below `cell` (a child of this editor's parent), inside the parent's area,
    // with `text` selected so that typing replaces it.
    void Open(QWidget* cell, const QString& caption, const QString& text);
    // Closes without handing anything over.
    void Cancel();
    bool IsOpen() const { return !isHidden(); }

    QLineEdit* Field() const { return field_; }
    QLabel* Caption() const { return caption_; }

  signals:
    // Enter was pressed with this text; the editor has closed.
    void Accepted(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Close();

    QLabel* caption_ = nullptr;
    QLineEdit* field_ = nullptr;
    QPointer<QWidget> cell_;
};

}  // namespace korvan
