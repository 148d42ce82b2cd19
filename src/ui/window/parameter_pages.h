// The four parameter pages: owns the page control "PageControl1" and every control on its
// pages (the numeric fields, the flag boxes, the bike type list, the map with its row labels
// and column spin buttons, the servo table, the editing-tool buttons, the unit's identity
// texts), the tables that tie them to the image, the colour and visibility rules and the
// live cursor colours. It moves values between the controls and the model's image: a control
// edited or a tool used is one commit of the model, and every change of the model is shown
// again. It keeps the page shown in the settings.
#pragma once

#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "params/device_image.h"
#include "params/map_cell.h"
#include "ui/window/parameter_model.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

namespace korvan {

class CommitCheckBox;
class IniStore;
class LinkView;
class NumericEdit;
class ParameterModel;
class TableColours;
class TCSpinButton;
struct MapCursor;

class ParameterPages : public QObject {
    Q_OBJECT

  public:
    static constexpr int kPages = 4;

    // The controls write into the model's image; the identity texts and the cursor of each
    // tick come from `view`; the map heat is laid under `cursor`.
    ParameterPages(QWidget* client, ParameterModel& model, const MapCursor& cursor, LinkView& view);
    ~ParameterPages() override;

    // The page shown ("ActivePage").
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    // The page control, for the page choice kept in the settings and for the page titles.
    QTabWidget* Tabs() const { return tabs_; }
    // Sets the tab title of the page named `sheetName`; false when no page has that name.
    bool SetPageTitle(const QString& sheetName, const QString& title);
    // The first page, where the file name is shown.
    QWidget* MiscPage() const { return sheets_[0]; }
    // The Advance Map page's group box, where further map controls are placed.
    QGroupBox* MapGroup() const { return mapGroup_; }
    // Colours and tooltips laid under the map cells (row-major like the map); an invalid
    // colour leaves a cell its normal colour. The live cursor's cell stays lime over them.
    // Empty arrays take the colours off again.
    void SetMapHeat(const std::array<QColor, kMapRows * kMapColumns>& colours,
                    const std::array<QString, kMapRows * kMapColumns>& tooltips);
    // The colours of the map cells and the 10-point rows, and through it those cells: where
    // the map tools show their selection.
    TableColours& Colours() const { return *colours_; }
    // The edits in Tab order.
    const std::vector<NumericEdit*>& Edits() const { return numericEdits_; }

    // Commits are taken only while enabled: not before start-up has finished, nor after the
    // window began to close.
    void SetCommitsEnabled(bool enabled);

    void ControlsToImage();
    void ImageToControls();
    void ShowTpsMapLayout();
    void ShowCursor(const MapCursor& cursor);
    void ShowIdentity(const IdentityTexts& texts);
    // The Advance Map page shown and the cell's field focused, its text selected (a cell
    // clicked in another view); a row not in use is not focused.
    void FocusMapCell(const korvan::MapCell& cell);

    bool ProgramAfterChange() const;  // "CheckBoxProgHned"
    bool TpsAxis() const;             // "CheckBoxTpsMapa"
    bool GasChecked() const;          // "CheckBoxGas"
    // The servo group's own flag: it counts as shown while another page is open.
    bool ServoGroupShown() const;

    // The controls the editing tools (PageTools) work with.
    struct ToolControls {
        std::array<QPushButton*, 2> advance{};             // "BitBtnAdvMinus", "BitBtnAdvPlus"
        std::array<QPushButton*, 2> servo{};               // "BitBtnServoMinus", "BitBtnServoPlus"
        std::array<QPushButton*, 2> tps{};                 // "BitBtnTps0", "BitBtnTps100"
        std::array<TCSpinButton*, kMapColumns> columns{};  // "CSpinButton1".."CSpinButton10"
        QCheckBox* wholeMap = nullptr;                     // "CheckBoxIgnAll"
        QCheckBox* wholeServo = nullptr;                   // "CheckBoxPrivAll"
    };
    const ToolControls& Tools() const { return tools_; }

  signals:
    // Enter in a field: the focus moves on as Tab moves it.
    void FocusNextRequested();
    // Whether the throttle axis, the servo and the N2O controller are in use.
    void TpsAxisShown(bool shown);
    void ServoShown(bool shown);
    void N2oShown(bool shown);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMiscPage(QWidget* page);
    void BuildMapPage(QWidget* page);
    void BuildN2oPage(QWidget* page);
    void BuildServoPage(QWidget* page);
    NumericEdit* MakeEdit(QWidget* parent, const char* name, int x, int y, int w);
    CommitCheckBox* MakeFlagBox(QWidget* parent, const char* name, const QString& text, int x,
                                int y, int w);
    void BuildControlTables();
    void ApplyColourRules();
    bool CommitsBlocked() const;
    // EditExit, UpDownClick and CheckBoxAktBlok1MouseUp of the design: a field left, an
    // up-down stepped, a flag box clicked.
    void CommitControls();
    void OnEnterInField();
    void OnBikeTypeChosen(int index);

    ParameterModel& model_;
    DeviceImage& image_;  // the model's
    const MapCursor& cursor_;
    bool commitsEnabled_ = false;
    // Set while the controls are filled from the image, so that nothing they emit commits.
    int fillingControls_ = 0;
    // The unit's version, date and time texts: empty until its identity page arrives in this run.
    IdentityTexts identity_;

    QTabWidget* tabs_ = nullptr;             // "PageControl1"
    std::array<QWidget*, kPages> sheets_{};  // "TabSheet1".."TabSheet4"
    // The numeric fields in the order of NumericFields(), the flag boxes in that of FlagFields().
    std::vector<NumericEdit*> numericEdits_;
    std::vector<CommitCheckBox*> flagBoxes_;
    // The fields and flag boxes by object name while the pages are built, until the tables
    // above are filled from them.
    QHash<QString, NumericEdit*> madeEdits_;
    QHash<QString, CommitCheckBox*> madeFlagBoxes_;

    QComboBox* bikeTypeList_ = nullptr;                // "ComboBox1"
    CommitCheckBox* programAfterChangeBox_ = nullptr;  // "CheckBoxProgHned"
    CommitCheckBox* noReadingBox_ = nullptr;           // "CheckBoxZakazCteni"
    CommitCheckBox* longExcitationBox_ = nullptr;      // "CheckBoxBuzDlouhe"
    CommitCheckBox* tpsAxisBox_ = nullptr;             // "CheckBoxTpsMapa"
    CommitCheckBox* n2oEnableBox_ = nullptr;           // "CheckBoxGas"
    CommitCheckBox* n2oActivationBox_ = nullptr;       // "CheckBoxAktN2o"
    QGroupBox* mapGroup_ = nullptr;                    // "GroupBox6"
    std::unique_ptr<TableColours> colours_;
    QGroupBox* servoGroup_ = nullptr;          // "GroupBoxPrivera"
    QGroupBox* n2oGroup_ = nullptr;            // "GroupBoxGas"
    QGroupBox* retardGroup_ = nullptr;         // "GroupBoxRetard"
    std::array<QLabel*, 3> identityLabels_{};  // "LabelVerze1".."LabelVerze3"
    ToolControls tools_;

    // The map and the tables beside it.
    std::array<QLabel*, kMapRows> tpsRowLabels_{};          // "LabelTps1".."LabelTps10"
    std::array<NumericEdit*, kAxisPoints> rpmAxisEdits_{};  // "EditRpmAdv1".."EditRpmAdv10"
    std::array<NumericEdit*, kMapRows * kMapColumns> mapEdits_{};
    std::array<NumericEdit*, kAxisPoints> servoRpmEdits_{};  // "EditRpmPriv1".."EditRpmPriv10"
    std::array<NumericEdit*, kAxisPoints> servoMvEdits_{};   // "EditNapPriv1".."EditNapPriv10"
};

}  // namespace korvan
