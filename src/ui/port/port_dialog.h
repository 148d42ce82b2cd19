// The serial port dialog: the ports the system has now (adapters first, the built-in legacy
// ports only on request), a field for any path, and the chosen device under its stable name.
// The list comes from an injected lister and is read again while the dialog is shown, so
// adapters that come and go appear and vanish by themselves.
#pragma once

#include <QDialog>
#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

#include "device/port_choice.h"
#include "params/localized_text.h"
#include "ui/port/port_check.h"

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace korvan {

// The Com menu item that opens the dialog ("&" marks no access letter: the COM items use them).
extern const LocalizedText kSerialPortMenuText;

class PortDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 1000;  // adapters are looked for once a second
    enum Column {
        DeviceColumn,
        DescriptionColumn,
        ManufacturerColumn,
        SerialColumn,
        UsbIdColumn,
        ColumnCount
    };

    explicit PortDialog(PortLister& lister, QWidget* parent = nullptr,
                        std::string stableNameFolder = kStableNameFolder);

    void SetLanguage(std::uint8_t language);
    // The COM number (1..10) whose device the dialog sets, named at the top.
    void SetComNumber(int comPort);
    // Presets the path field (the COM number's device now).
    void SetCurrentDevice(const std::string& device);
    // Reads the list again; the table is rebuilt only when the list changed.
    void Refresh();
    // What to store and open: the path field's device, under its stable name when one exists.
    // Empty when the field is empty.
    std::string ChosenDevice() const;

    QTreeWidget* PortList() const { return list_; }
    QCheckBox* ShowAllBox() const { return showAll_; }
    QLineEdit* PathEdit() const { return path_; }
    QLabel* ComLabel() const { return comLabel_; }
    // The stable name of the device in the path field, or that it has none.
    QLabel* StableNameLabel() const { return stableLabel_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    QTimer& RefreshTimer() { return timer_; }
    // "Check": the port doctor for the path field's device (every adapter when it is empty);
    // its findings, each with the fix, appear in the box under the list.
    QPushButton* CheckButton() const { return checkButton_; }
    QPlainTextEdit* Findings() const { return findings_; }
    PortCheck& Check() { return check_; }
    int Rebuilds() const { return rebuilds_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Rebuild();
    void OnSelectionChanged();
    void UpdateOkButton();
    void StartCheck();
    void ShowFindings(const QStringList& lines, bool unitAnswered);
    void ShowStableName();

    PortLister& lister_;
    std::string stableNameFolder_;
    std::vector<PortDescription> ports_;  // the last list read
    bool haveList_ = false;
    int rebuilds_ = 0;
    std::uint8_t language_ = 1;
    int comPort_ = 0;

    QTreeWidget* list_;
    QCheckBox* showAll_;
    QLabel* comLabel_;
    QLabel* pathLabel_;
    QLineEdit* path_;
    QLabel* stableLabel_;
    QDialogButtonBox* buttons_;
    QPushButton* checkButton_;
    QPlainTextEdit* findings_;
    PortCheck check_;
    QTimer timer_;
};

}  // namespace korvan
