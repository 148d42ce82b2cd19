// The tool bar: owns the group box "GroupBox5" at the top left of the client area with the
// picture buttons (new, open, save, print) and the device buttons (read, verify, program).
// It connects nothing: the window wires every button.
#pragma once

class QPushButton;
class QToolButton;
class QWidget;

namespace korvan {

class ToolBar {
  public:
    explicit ToolBar(QWidget* client);

    QToolButton* newButton = nullptr;      // "SpeedButton6"
    QToolButton* openButton = nullptr;     // "SpeedButton5"
    QToolButton* saveButton = nullptr;     // "SpeedButton7"
    QToolButton* printButton = nullptr;    // "SpeedButtonPrint"
    QPushButton* readButton = nullptr;     // "Button1"
    QPushButton* verifyButton = nullptr;   // "BitBtn2"
    QPushButton* programButton = nullptr;  // "BitBtn1"
};

}  // namespace korvan
