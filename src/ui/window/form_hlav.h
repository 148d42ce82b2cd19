// The program's one window: the tool bar, the four parameter pages, the live monitor column,
// the progress row, the menus and the 55 ms tick. It owns the parameter image, the device
// link and the settings store; its handlers are thin and leave the rules to the layers below
// (params for the fields and their limits, device for the link, files for the settings).
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "device/map_cursor.h"
#include "device/serial_port.h"
#include "files/ini_store.h"
#include "params/device_image.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QPrinter;
class QUrl;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;

namespace korvan {

class CommitCheckBox;
class NumericEdit;
class TCGauge;
class TCSpinButton;

// What the window takes from outside: the program's arguments (without the program name) and
// the one place where it shows a modal message, so that tests can answer message boxes. An
// empty function shows a QMessageBox with an OK button.
struct FormOptions {
    QStringList arguments;
    std::function<void(const QString& text)> messageBox;
    // Runs a file dialog and returns the chosen path, empty when cancelled. Empty: the
    // dialog's own exec().
    std::function<QString(QFileDialog& dialog)> fileDialog;
    // The printer to print on. Empty: the system's default printer (none when there is none).
    std::function<std::unique_ptr<QPrinter>()> printer;
    // Opens a document with the desktop's program. Empty: QDesktopServices::openUrl.
    std::function<bool(const QUrl& url)> openUrl;
};

class TFormHlav : public QMainWindow, public LinkListener {
    Q_OBJECT

public:
    static constexpr int kTickMs = 55;
    static constexpr int kWindowWidth = 973;
    static constexpr int kWindowHeight = 611;

    // The window is built and FormCreate has run when the constructor returns; the tick
    // timer is running. The port belongs to the caller and must outlive the window.
    TFormHlav(SerialPort& port, FormOptions options, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // Where the settings file and the state file live.
    static QString SettingsFolder();
    QString SettingsFilePath() const;
    QString StateFilePath() const;

    const DeviceImage& Image() const { return image_; }
    DeviceLink& Link() { return *link_; }
    std::uint8_t LanguageIndex() const { return languageIndex_; }
    std::uint8_t ComPortNumber() const { return comPortNumber_; }
    const MapCursor& Cursor() const { return cursor_; }
    QTimer* Timer1() const { return timer1_; }
    // The short and long hint of a control or menu item ("short|long").
    QString HintOf(const QString& objectName) const { return hints_.value(objectName); }

    // The tick: the link's poll, operation step, message countdown and "No Connection"
    // counter, then the map cursor.
    void Timer1Timer();

    // The binding between the controls and the image.
    void ControlsToImage();
    void ImageToControls();
    void ShowTpsMapLayout();
    void ApplyChange();

    void ApplyLanguage(std::uint8_t languageIndex);

    // LinkListener: what the device link shows.
    void SetMessage(const LocalizedText& text, Colour colour) override;
    void SetMessageVisible(bool visible) override;
    void SetGaugeProgress(int progress) override;
    void SetGaugeVisible(bool visible) override;
    void SetNoConnectionVisible(bool visible) override;
    void ShowModalMessage(const LocalizedText& text) override;
    void ShowReceivedImage() override;
    void ShowIdentity(const IdentityTexts& texts) override;
    void ShowMonitorFrame(const std::uint8_t* frame) override;

public slots:
    void MenuNewClick();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void MenuExitClick();
    void MenuEnglishClick();
    void MenuCzechClick();
    void MenuGermanClick();
    void MenuOpenClick();
    void MenuSaveClick();
    void SpeedButtonPrintClick();
    void MenuContensClick();
    void MenuAboutClick();
    void BitBtnAdvMinusClick();
    void BitBtnAdvPlusClick();
    void CSpinButtonUpClick(TCSpinButton* sender);
    void CSpinButtonDownClick(TCSpinButton* sender);
    void BitBtnServoMinusClick();
    void BitBtnServoPlusClick();
    void BitBtnTps0Click();
    void BitBtnTps100Click();

public:
    // The about box's text in the current language, with the build date and time.
    QString AboutText() const;
    // The manual document of the current language, or empty when it is not installed.
    QString ManualPath() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    // HintToStatusBar: the pointer entering or leaving a control shows its long hint.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up and shutdown (form_hlav.cpp).
    void FormCreate();
    void FormClose();
    void CentreOnScreen();
    void ShowMessageBox(const QString& text);

    // Layout (form_layout.cpp, form_pages.cpp, form_menus.cpp).
    void BuildWindow();
    void BuildToolBar(QWidget* client);
    void BuildMiscPage(QWidget* page);
    void BuildMapPage(QWidget* page);
    void BuildN2oPage(QWidget* page);
    void BuildServoPage(QWidget* page);
    void BuildMonitorColumn(QWidget* client);
    void BuildProgressRow(QWidget* client);
    void BuildMenus();
    void BuildTabOrder();
    void FitCaptions();
    QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                      int h);
    QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& text, int x, int y,
                            int w);
    CommitCheckBox* MakeCommitCheckBox(QWidget* parent, const char* name, const QString& text, int x,
                                       int y, int w);
    QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& title, int x, int y,
                            int w, int h);
    QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int x, int y,
                            int w, int h);
    NumericEdit* MakeEdit(QWidget* parent, const char* name, int x, int y, int w);
    QAction* MakeAction(QMenu* menu, const char* name, const QString& text,
                        const QKeySequence& shortcut = {});
    TCGauge* MakeGauge(QWidget* parent, const char* name, int x, int y, int w, int h, int max,
                       const QColor& fore, bool showText);

    // Binding (form_binding.cpp).
    void BuildControlTables();
    void ApplyColourRules();
    void EditExit();
    void UpDownClick();
    void CheckBoxAktBlok1MouseUp();
    void FormKeyPress();
    void ComboBox1Change(int index);
    bool CommitsBlocked() const;

    // Settings and the port (form_settings.cpp).
    void LoadSettings();
    void SaveSettings();
    void OpenComPort();
    void MenuCom1Click(QAction* sender);
    void SetComChecks();

    // Languages and hints (form_language.cpp).
    void SetHint(const QString& objectName, const QString& hint);
    QString ControlHint(QObject* object) const;
    void ShowHintOf(QObject* object);

    // The editing tools (form_tools.cpp).
    void ConnectEditingTools();
    void StepAdvanceAtCursor(int delta);
    void StepColumn(TCSpinButton* sender, int delta);
    void StepServoAtCursor(int delta);

    // Files, printing, help (form_files.cpp).
    void ConnectFileCommands();
    void PresetDialogs();
    QString RunFileDialog(QFileDialog& dialog);
    static std::unique_ptr<QPrinter> DefaultPrinter();

    // The link's side of the window (form_link.cpp).
    void UpdateMapCursor();
    void ShowIdentityTexts();
    void CheckBoxExtMonitorClick();

    DeviceImage image_;
    SerialPort& port_;
    std::unique_ptr<DeviceLink> link_;
    FormOptions options_;
    IniStore store_;

    std::uint8_t languageIndex_ = 0;
    std::uint8_t comPortNumber_ = 0;
    QString lastFilePath_;
    MapCursor cursor_;
    // The unit's version, date and time texts: empty until its identity page arrives in this run.
    IdentityTexts identity_;
    bool created_ = false;
    bool closed_ = false;
    bool destroying_ = false;
    // Set while the controls are filled from the image, so that nothing they emit commits.
    int fillingControls_ = 0;

    // Hints by object name, "short|long".
    QHash<QString, QString> hints_;

    // The numeric fields in the order of NumericFields(), and the flag boxes in the order of
    // FlagFields().
    std::vector<NumericEdit*> numericEdits_;
    std::vector<CommitCheckBox*> flagBoxes_;

    // The control tables.
    std::array<QLabel*, 10> labelTpsTable_{};
    std::array<NumericEdit*, 10> editRpmAdvTable_{};
    std::array<NumericEdit*, 100> editMapTable_{};
    std::array<NumericEdit*, 10> editRpmPrivTable_{};
    std::array<NumericEdit*, 10> editNapPrivTable_{};
    std::array<TCSpinButton*, 10> spinButtons_{};

    // Controls the handlers reach by name.
    QTimer* timer1_ = nullptr;
    QTabWidget* pageControl1_ = nullptr;
    std::array<QWidget*, 4> tabSheets_{};
    QComboBox* comboBox1_ = nullptr;
    CommitCheckBox* checkBoxProgHned_ = nullptr;
    CommitCheckBox* checkBoxZakazCteni_ = nullptr;
    CommitCheckBox* checkBoxBuzDlouhe_ = nullptr;
    CommitCheckBox* checkBoxTpsMapa_ = nullptr;
    CommitCheckBox* checkBoxGas_ = nullptr;
    CommitCheckBox* checkBoxAktN2o_ = nullptr;
    QCheckBox* checkBoxExtMonitor_ = nullptr;
    QCheckBox* checkBoxIgnAll_ = nullptr;
    QCheckBox* checkBoxPrivAll_ = nullptr;
    QFileDialog* openDialog1_ = nullptr;
    QFileDialog* saveDialog1_ = nullptr;
    QGroupBox* groupBoxPrivera_ = nullptr;
    QGroupBox* groupBoxGas_ = nullptr;
    QGroupBox* groupBoxRetard_ = nullptr;
    QLabel* labelSpojeni_ = nullptr;
    QLabel* labelHlaseni_ = nullptr;
    TCGauge* cGauge_ = nullptr;
    QLabel* labelFile2_ = nullptr;
    std::array<QLabel*, 3> labelVerze_{};

    // The monitor column.
    QLabel* labelRpm_ = nullptr;
    QLabel* labelTpsMon_ = nullptr;
    QLabel* labelLambda_ = nullptr;
    QLabel* labelAdvance_ = nullptr;
    QLabel* labelPriveraPoz_ = nullptr;
    QLabel* labelPriveraMer_ = nullptr;
    QLabel* labelBlok1_ = nullptr;
    QLabel* labelBlok2_ = nullptr;
    QLabel* labelTachoLambda_ = nullptr;
    QLabel* labelClutchMon_ = nullptr;
    QLabel* labelLimiter1_ = nullptr;
    QLabel* labelN2oEnable_ = nullptr;
    QLabel* labelPocetProgramovani_ = nullptr;
    std::array<QLabel*, 8> labelTest_{};
    TCGauge* cGaugeRpm_ = nullptr;
    TCGauge* cGaugeTps_ = nullptr;
    TCGauge* cGaugeLambda_ = nullptr;

    // Menu items.
    std::array<QAction*, 10> menuCom_{};
    QAction* menuEnglish_ = nullptr;
    QAction* menuCzech_ = nullptr;
    QAction* menuGerman_ = nullptr;
};

}  // namespace korvan
