// What a tuner needs after a failed read, verify or program: when the unit answered but holds
// something else, "Show differences" (a button beside the red message, and in the Device menu)
// opens the compare with the unit; when nothing came back, a line beside the message says the
// line to the unit is lost, so a dead cable is not taken for a fault of the tune.
#pragma once

#include <QObject>

#include "device/colour.h"
#include "device/device_link.h"

class QAction;
class QLabel;
class QPushButton;
class QWidget;

namespace korvan {

struct LocalizedText;
class LinkView;
class MainMenu;
class ParameterModel;

class FailureHelp : public QObject {
    Q_OBJECT

  public:
    // The button and the line sit in the gauge's place on `client`; the item goes into the
    // Device menu of `menu`.
    FailureHelp(QWidget* client, MainMenu& menu, LinkView& view, const DeviceLink& link,
                const ParameterModel& model, QObject* parent = nullptr);

    QPushButton* DifferencesButton() const { return button_; }
    QAction* DifferencesItem() const { return item_; }
    QLabel* LineLostLabel() const { return lineLost_; }

  signals:
    // "Show differences" was chosen: the compare with the unit is wanted.
    void DifferencesWanted();

  private:
    void OnMessage(const LocalizedText& text, Colour colour);
    void OnOperationEnded(const OperationEnd& end);
    void OnMessageVisible(bool visible);
    void Offer(bool differences, bool lineLost);
    void ApplyLanguage();

    const DeviceLink& link_;
    const ParameterModel& model_;
    bool failureShown_ = false;      // the message label shows a read, verify or program error
    QPushButton* button_ = nullptr;  // "ButtonShowDifferences"
    QLabel* lineLost_ = nullptr;     // "LabelLineLost"
    QAction* item_ = nullptr;        // "MenuShowDifferences"
};

}  // namespace korvan
