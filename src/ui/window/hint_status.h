// The hints: owns the short and long hint of every control and menu item ("short|long", by
// object name), the tooltips of the controls that show one, and what the status bar shows
// for the control under the pointer. It watches the pointer entering and leaving the
// window's controls.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QMainWindow;

namespace korvan {

class HintStatus : public QObject {
    Q_OBJECT

  public:
    // Watches the whole application's pointer moves from construction on.
    explicit HintStatus(QMainWindow& window);
    ~HintStatus() override;

    void SetHint(const QString& objectName, const QString& hint);
    QString HintOf(const QString& objectName) const { return hints_.value(objectName); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString ControlHint(QObject* object) const;
    void ShowHintOf(QObject* object);

    QMainWindow& window_;
    QHash<QString, QString> hints_;
};

}  // namespace korvan
