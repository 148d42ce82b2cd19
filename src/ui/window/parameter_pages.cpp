// Positions are pixels within each page or group box. The design captions are the English
// ones; the language table replaces those it lists.
#include "ui/window/parameter_pages.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "device/map_cursor.h"
#include "files/settings.h"
#include "params/binding.h"
#include "params/defaults.h"
#include "params/editing_tools.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/link_view.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/table_colours.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

// The ten columns of the advance map and of the servo table: x 51 to 584.
constexpr int kColumnLeft = 51;
constexpr int kColumnSpan = 533;
constexpr int kColumnEditWidth = 55;
int ColumnX(int c) {
    return kColumnLeft + (c * kColumnSpan + 4) / (kMapColumns - 1);
}

// The ten rows of the map: y 53 to 318.
constexpr int kRowTop = 53;
constexpr int kRowSpan = 265;
int RowY(int r) {
    return kRowTop + (r * kRowSpan + 4) / (kMapRows - 1);
}

// The row labels of the map sit 4 pixels below the top of their row, so that the single
// curve row can be placed 4 pixels above a label's top.
constexpr int kTpsLabelOffset = 4;
constexpr int kEditHeight = 21;

// Without the throttle axis only the last row of the map is used: the single curve
// (kCurveRow, params/map_selection.h).
constexpr int kFirstCurveCell = kCurveRow * kMapColumns;

// A field with its label to the right, the label vertically centred on the field; a label
// that does not fit in one line wraps into two.
struct FieldRow {
    const char* edit;
    const char* label;
    const char* caption;
};

// The picture beside the activation switches: a sketch of an advance curve, with its axes
// named in the window's language.
const LocalizedText kSketchRpm{"Otáčky", "RPM", "Drehzahl"};
const LocalizedText kSketchAdvance{"Předstih", "Advance", "Vorzündung"};
constexpr int kSketchFontPixels = 10;

class CurvePicture : public QWidget {
  public:
    CurvePicture(QWidget* parent, const ParameterModel& model) : QWidget(parent), model_(model) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QFont small = font();
        small.setPixelSize(kSketchFontPixels);
        p.setFont(small);
        const QFontMetricsF metrics(small);
        const std::uint8_t language = model_.Language();
        const QString across = QString::fromUtf8(kSketchRpm.In(language));
        const QString up = QString::fromUtf8(kSketchAdvance.In(language));
        // Room for the names: one line left of the upright axis, one under the floor.
        const double line = metrics.height();
        const QRectF area = QRectF(rect()).adjusted(line + 6, 6, -6, -(line + 4));
        p.setPen(QPen(palette().color(QPalette::Mid), 1));
        p.drawLine(area.bottomLeft(), area.topLeft());
        p.drawLine(area.bottomLeft(), area.bottomRight());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), line),
                   Qt::AlignRight | Qt::AlignTop, across);
        p.save();
        p.translate(area.left() - 3, area.bottom());
        p.rotate(-90);
        p.drawText(QRectF(0, -line, area.height(), line), Qt::AlignRight | Qt::AlignBottom, up);
        p.restore();
        const double curve[] = {0.05, 0.25, 0.45, 0.7, 0.82, 0.9, 0.93, 0.93, 0.92, 0.92};
        QPolygonF shape;
        for (int i = 0; i < 10; ++i) {
            shape << QPointF(area.left() + area.width() * i / 9.0,
                             area.bottom() - area.height() * curve[i]);
        }
        p.setPen(QPen(QColor(0x00, 0x60, 0xC0), 2));
        p.drawPolyline(shape);
    }

  private:
    const ParameterModel& model_;
};

// The identity texts come decoded to UTF-8; a page of zeros before the first read holds NULs,
// which have no place in a label.
QString IdentityText(const std::string& text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.remove(QChar(u'\0'));
    return shown;
}

}  // namespace

ParameterPages::ParameterPages(QWidget* client, ParameterModel& model, const MapCursor& cursor,
                               LinkView& view)
    : model_(model), image_(model.MutableImage()), cursor_(cursor) {
    tabs_ = new QTabWidget(client);
    tabs_->setObjectName("PageControl1");
    tabs_->setGeometry(4, 48, 653, 449);
    // The page tabs are not in the Tab order: Tab moves among the fields of the page only.
    tabs_->setFocusPolicy(Qt::NoFocus);
    tabs_->tabBar()->setFocusPolicy(Qt::NoFocus);
    const char* sheetNames[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    const char* sheetCaptions[] = {"Miscellaneous", "Advance Map", "N2O Controller", "Servo"};
    for (int i = 0; i < kPages; ++i) {
        auto* sheet = new QWidget;
        sheet->setObjectName(sheetNames[i]);
        tabs_->addTab(sheet, sheetCaptions[i]);
        sheets_[i] = sheet;
    }
    BuildMiscPage(sheets_[0]);
    BuildMapPage(sheets_[1]);
    BuildN2oPage(sheets_[2]);
    BuildServoPage(sheets_[3]);
    BuildControlTables();
    TableColours::Edits tables;
    tables.map = mapEdits_;
    tables.mapRpm = rpmAxisEdits_;
    tables.servoRpm = servoRpmEdits_;
    tables.servoVoltage = servoMvEdits_;
    colours_ = std::make_unique<TableColours>(tables);

    connect(&model, &ParameterModel::Changed, this, &ParameterPages::ImageToControls);
    connect(&model, &ParameterModel::EditsWanted, this, &ParameterPages::ControlsToImage);
    connect(&model, &ParameterModel::EditsTaken, this, &ParameterPages::ImageToControls);
    connect(&view, &LinkView::IdentityReceived, this, &ParameterPages::ShowIdentity);
    connect(&view, &LinkView::CursorMoved, this, &ParameterPages::ShowCursor);
}

ParameterPages::~ParameterPages() = default;

void ParameterPages::Load(const IniStore& store) {
    tabs_->setCurrentIndex(ReadSettings(store, Settings{}).activePage - 1);
}

void ParameterPages::Save(IniStore& store) const {
    Settings s;
    s.activePage = tabs_->currentIndex() + 1;
    SetSettings(store, s, kActivePageKey);
}

void ParameterPages::FocusMapCell(const MapCell& cell) {
    if (cell.row < 0 || cell.row >= kMapRows || cell.column < 0 || cell.column >= kMapColumns)
        return;
    if (!TpsAxis() && cell.row != kCurveRow) return;
    NumericEdit* edit = mapEdits_[static_cast<std::size_t>(cell.row * kMapColumns + cell.column)];
    tabs_->setCurrentWidget(sheets_[1]);
    QWidget* window = edit->window();
    window->raise();
    window->activateWindow();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

bool ParameterPages::SetPageTitle(const QString& sheetName, const QString& title) {
    for (QWidget* sheet : sheets_) {
        if (sheet->objectName() != sheetName) continue;
        tabs_->setTabText(tabs_->indexOf(sheet), title);
        return true;
    }
    return false;
}

NumericEdit* ParameterPages::MakeEdit(QWidget* parent, const char* name, int x, int y, int w) {
    const NumericField* field = FindNumericField(name);
    Q_ASSERT(field != nullptr);
    auto* edit = new NumericEdit(parent);
    edit->setObjectName(name);
    edit->SetUpDownName(QString::fromStdString(field->upDown));
    edit->setRange(field->min, field->max);
    edit->setSingleStep(field->step);
    edit->setGroupSeparatorShown(field->digitGroups);
    edit->setGeometry(x, y, w, kEditHeight);
    connect(edit, &NumericEdit::Left, this, &ParameterPages::CommitControls);
    connect(edit, &NumericEdit::Stepped, this, &ParameterPages::CommitControls);
    connect(edit, &NumericEdit::EnterPressed, this, &ParameterPages::OnEnterInField);
    madeEdits_.insert(edit->objectName(), edit);
    return edit;
}

CommitCheckBox* ParameterPages::MakeFlagBox(QWidget* parent, const char* name, const QString& text,
                                            int x, int y, int w) {
    CommitCheckBox* box = MakeCommitCheckBox(parent, name, text, x, y, w);
    connect(box, &CommitCheckBox::MouseUp, this, &ParameterPages::CommitControls);
    madeFlagBoxes_.insert(box->objectName(), box);
    return box;
}

void ParameterPages::BuildMiscPage(QWidget* page) {
    QGroupBox* other = MakeGroupBox(page, "GroupBox1", "Other", 4, 0, 192, 214);
    bikeTypeList_ = new QComboBox(other);
    bikeTypeList_->setObjectName("ComboBox1");
    bikeTypeList_->setGeometry(8, 18, 176, 22);
    bikeTypeList_->setMaxVisibleItems(kBikeTypeCount);
    bikeTypeList_->setFocusPolicy(Qt::ClickFocus);
    for (const char* name : kBikeTypeNames) bikeTypeList_->addItem(QString::fromUtf8(name));
    // A wheel turn over the list would replace the whole tune with the defaults.
    bikeTypeList_->installEventFilter(this);
    connect(bikeTypeList_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ParameterPages::OnBikeTypeChosen);

    const FieldRow rows[] = {{"EditBaseAdv", "LabelBaseAdv", "Base advance [°]"},
                             {"EditOmez1", "LabelOmez1", "Start Limiter [rpm]"},
                             {"EditOmez2", "LabelOmez2", "Limiter [rpm]"},
                             {"EditClutch", "LabelClutch", "Clutch m. [ms]"},
                             {"EditLedRazeni", "LabelLedRazeni", "Gear Shift Light [rpm]"}};
    int y = 50;
    for (const FieldRow& r : rows) {
        MakeEdit(other, r.edit, 8, y, 60);
        QLabel* label = MakeLabel(other, r.label, QString::fromUtf8(r.caption), 72, y - 4, 116, 29);
        label->setWordWrap(true);
        y += 32;
    }

    QGroupBox* switches = MakeGroupBox(page, "GroupBox2", QString(), 4, 229, 192, 56);
    longExcitationBox_ = MakeFlagBox(switches, "CheckBoxBuzDlouhe", "Excitation Long", 8, 10, 176);
    MakeFlagBox(switches, "CheckBoxRpm2Krat", "Tachometer 2x", 8, 32, 176);

    // Wide enough for the German title; the two groups to its right start after it.
    QGroupBox* activation =
        MakeGroupBox(page, "GroupBox4", "Activation by Switch on", 200, 0, 178, 176);
    const char* actNames[] = {"CheckBoxAktLimiter1", "CheckBoxAktRpm",   "CheckBoxAktClutch",
                              "CheckBoxAktBlok1",    "CheckBoxAktBlok2", "CheckBoxAktN2o"};
    const char* actCaptions[] = {"Start Limiter", "Tacho/Lambda", "Clutch m.",
                                 "Blocking 1",    "Blocking 2",   "Activation N2O"};
    for (int i = 0; i < 6; ++i) {
        CommitCheckBox* box =
            MakeFlagBox(activation, actNames[i], actCaptions[i], 8, 22 + 24 * i, 164);
        if (i == 5) n2oActivationBox_ = box;
    }

    QGroupBox* reading = MakeGroupBox(page, "GroupBox16", QString(), 384, 4, 216, 60);
    noReadingBox_ = MakeFlagBox(reading, "CheckBoxZakazCteni", "No Reading", 8, 10, 200);
    programAfterChangeBox_ =
        MakeFlagBox(reading, "CheckBoxProgHned", "Programming after change", 8, 34, 200);

    QGroupBox* tps = MakeGroupBox(page, "GroupBoxTps", "TPS", 380, 96, 260, 84);
    MakeEdit(tps, "EditTps0", 8, 22, 60);
    MakeLabel(tps, "LabelTps0", "0%  [mV]", 72, 24, 72, 16);
    tools_.tps[0] = MakeButton(tps, "BitBtnTps0", "Set TPS 0 %", 150, 20, 100, 25);
    MakeEdit(tps, "EditTps100", 8, 52, 60);
    MakeLabel(tps, "LabelTps100", "100%  [mv]", 72, 54, 72, 16);
    tools_.tps[1] = MakeButton(tps, "BitBtnTps100", "Set TPS 100 %", 150, 50, 100, 25);

    auto* picture = new CurvePicture(page, model_);
    connect(&model_, &ParameterModel::LanguageChanged, picture, [picture] { picture->update(); });
    picture->setObjectName("Image1");
    picture->setGeometry(200, 216, 169, 89);

    const char* verze[] = {"LabelVerze1", "LabelVerze2", "LabelVerze3"};
    const char* placeholders[] = {"Version", "Date", "Time"};
    for (int i = 0; i < 3; ++i) {
        identityLabels_[i] = MakeLabel(page, verze[i], placeholders[i], 528, 280 + 28 * i, 112, 16);
    }
}

void ParameterPages::BuildMapPage(QWidget* page) {
    QGroupBox* map = MakeGroupBox(page, "GroupBox6", QString(), 0, 0, 645, 420);
    mapGroup_ = map;
    MakeLabel(map, "Label26", "RPM", 8, 24, 40, 16);
    for (int k = 0; k < kAxisPoints; ++k) {
        const QByteArray name = "EditRpmAdv" + QByteArray::number(k + 1);
        rpmAxisEdits_[k] = MakeEdit(map, name.constData(), ColumnX(k), 21, kColumnEditWidth);
    }
    const char* tpsCaptions[] = {"0%",  "2%",  "5%",  "10%", "20%",
                                 "30%", "40%", "60%", "80%", "100%"};
    for (int r = 0; r < kMapRows; ++r) {
        const QByteArray name = "LabelTps" + QByteArray::number(r + 1);
        tpsRowLabels_[r] =
            MakeLabel(map, name.constData(), tpsCaptions[r], 8, RowY(r) + kTpsLabelOffset, 38, 16);
        for (int c = 0; c < kMapColumns; ++c) {
            const int cell = kMapColumns * r + c;
            const std::string cellName = MapCellEditName(cell);
            mapEdits_[cell] =
                MakeEdit(map, cellName.c_str(), ColumnX(c), RowY(r), kColumnEditWidth);
        }
    }
    for (int c = 0; c < kMapColumns; ++c) {
        auto* spin = new TCSpinButton(map);
        spin->setObjectName("CSpinButton" + QString::number(c + 1));
        spin->setGeometry(ColumnX(c) + (kColumnEditWidth - 18) / 2, 349, 18, 26);
        spin->setFocusPolicy(Qt::NoFocus);
        tools_.columns[c] = spin;
    }
    tpsAxisBox_ = MakeFlagBox(map, "CheckBoxTpsMapa", "TPS", 8, 388, 56);
    tools_.advance[0] = MakeButton(map, "BitBtnAdvMinus", "-", 70, 384, 30, 25);
    tools_.advance[1] = MakeButton(map, "BitBtnAdvPlus", "+", 104, 384, 30, 25);
    tools_.wholeMap = MakeCheckBox(map, "CheckBoxIgnAll", "All", 144, 388, 70);
}

void ParameterPages::BuildN2oPage(QWidget* page) {
    n2oEnableBox_ = MakeFlagBox(page, "CheckBoxGas", "N2O Enable", 24, 29, 150);
    struct Group {
        const char* name;
        const char* title;
        int x;
        int w;
        FieldRow rows[4];
    };
    const Group groups[] = {
        {"GroupBoxGas",
         "N2O",
         21,
         270,
         {{"EditGas1", "LabelGas1", "N2O 1 [%]"},
          {"EditGas2", "LabelGas2", "N2O 2 [%]"},
          {"EditGasD", "LabelGasD", "Delay [ms]"},
          {"EditGasT", "LabelGasT", "Build up Time [ms]"}}},
        {"GroupBoxRetard",
         "Retard",
         301,
         290,
         {{"EditRetard1", "LabelRetard1", "Retard 1 [°]"},
          {"EditRetard2", "LabelRetard2", "Retard 2 [°]"},
          {"EditRetardD", "LabelRetardD", "Delay [ms]"},
          {"EditRetardT", "LabelRetardT", "Build up Time [ms]"}}},
    };
    for (const Group& g : groups) {
        QGroupBox* box = MakeGroupBox(page, g.name, QString::fromUtf8(g.title), g.x, 62, g.w, 150);
        (&g == &groups[0] ? n2oGroup_ : retardGroup_) = box;
        int y = 24;
        for (const FieldRow& r : g.rows) {
            MakeEdit(box, r.edit, 12, y, 66);
            MakeLabel(box, r.label, QString::fromUtf8(r.caption), 84, y + 2, g.w - 92, 16);
            y += 32;
        }
    }
}

void ParameterPages::BuildServoPage(QWidget* page) {
    MakeFlagBox(page, "CheckBoxPrivEnable", "Servo Enable", 24, 29, 150);
    servoGroup_ = MakeGroupBox(page, "GroupBoxPrivera", "Servo", 2, 56, 641, 190);
    MakeLabel(servoGroup_, "Label6", "RPM", 8, 32, 40, 16);
    MakeLabel(servoGroup_, "Label5", "[mV]", 8, 67, 40, 16);
    for (int k = 0; k < kAxisPoints; ++k) {
        const QByteArray rpm = "EditRpmPriv" + QByteArray::number(k + 1);
        const QByteArray nap = "EditNapPriv" + QByteArray::number(k + 1);
        servoRpmEdits_[k] =
            MakeEdit(servoGroup_, rpm.constData(), ColumnX(k), 29, kColumnEditWidth);
        servoMvEdits_[k] = MakeEdit(servoGroup_, nap.constData(), ColumnX(k), 64, kColumnEditWidth);
    }
    MakeEdit(servoGroup_, "EditPrivHyster", kColumnLeft, 108, 66);
    MakeLabel(servoGroup_, "LabelPrivHyster", "Sevro Hysteresis [mV]", kColumnLeft + 72, 110, 180,
              16);
    tools_.servo[0] = MakeButton(servoGroup_, "BitBtnServoMinus", "-", 8, 150, 30, 25);
    tools_.servo[1] = MakeButton(servoGroup_, "BitBtnServoPlus", "+", 42, 150, 30, 25);
    tools_.wholeServo = MakeCheckBox(servoGroup_, "CheckBoxPrivAll", "All", 82, 154, 70);
}

void ParameterPages::BuildControlTables() {
    numericEdits_.clear();
    for (const NumericField& f : NumericFields()) {
        NumericEdit* edit = madeEdits_.value(QString::fromStdString(f.edit));
        Q_ASSERT(edit != nullptr);
        numericEdits_.push_back(edit);
    }
    flagBoxes_.clear();
    for (const FlagField& f : FlagFields()) {
        CommitCheckBox* box = madeFlagBoxes_.value(QString::fromStdString(f.checkBox));
        Q_ASSERT(box != nullptr);
        flagBoxes_.push_back(box);
    }
    madeEdits_.clear();
    madeFlagBoxes_.clear();
}

void ParameterPages::SetCommitsEnabled(bool enabled) {
    commitsEnabled_ = enabled;
}

void ParameterPages::ControlsToImage() {
    const std::vector<NumericField>& fields = NumericFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const NumericField& f = fields[i];
        NumericEdit* edit = numericEdits_[i];
        // The text, not only the value: a shortcut or closing the window while a value is
        // still being typed must take what the field shows.
        int shown = edit->value();
        ParseFieldText(edit->text().toStdString(), edit->locale().groupSeparator().toStdString(),
                       f.min, f.max, shown);
        image_[f.imageIndex] = f.ToRaw(shown);
    }
    // A bike type the list does not know (from a file or the unit) selects no item; it stays
    // as it is instead of turning into "no selection".
    const int bike = bikeTypeList_->currentIndex();
    if (bike >= 0) image_[field::BikeType] = static_cast<std::uint8_t>(bike);

    const std::vector<FlagField>& flags = FlagFields();
    for (std::size_t i = 0; i < flags.size(); ++i)
        image_[flags[i].imageIndex] = flagBoxes_[i]->isChecked() ? 1 : 0;

    ShowTpsMapLayout();
    ApplyColourRules();
}

void ParameterPages::ImageToControls() {
    ++fillingControls_;
    const std::vector<NumericField>& fields = NumericFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        numericEdits_[i]->ShowValue(fields[i].ToShown(image_[fields[i].imageIndex]));
    }
    {
        // Showing the bike type is not a user's choice: it must not load the defaults.
        const QSignalBlocker block(bikeTypeList_);
        const int bike = image_[field::BikeType];
        const int item = bike < kBikeTypeCount ? bike : -1;
        if (bikeTypeList_->currentIndex() != item) bikeTypeList_->setCurrentIndex(item);
    }
    const std::vector<FlagField>& flags = FlagFields();
    for (std::size_t i = 0; i < flags.size(); ++i) {
        const bool checked = image_[flags[i].imageIndex] != 0;
        if (flagBoxes_[i]->isChecked() != checked) flagBoxes_[i]->setChecked(checked);
    }
    ShowTpsMapLayout();
    ApplyColourRules();
    ShowIdentity(identity_);
    --fillingControls_;
}

void ParameterPages::ShowTpsMapLayout() {
    const bool tpsAxis = tpsAxisBox_->isChecked();
    for (QLabel* label : tpsRowLabels_) SetShown(label, tpsAxis);
    for (int i = 0; i < kFirstCurveCell; ++i) SetShown(mapEdits_[i], tpsAxis);
    for (TCSpinButton* spin : tools_.columns) SetShown(spin, tpsAxis);
    emit TpsAxisShown(tpsAxis);
    // Without the throttle axis the single curve takes the first row's place.
    const int top = (tpsAxis ? tpsRowLabels_[kCurveRow] : tpsRowLabels_[0])->y() - kTpsLabelOffset;
    for (int c = 0; c < kMapColumns; ++c) {
        NumericEdit* cell = mapEdits_[kFirstCurveCell + c];
        MoveTo(cell, cell->x(), top);
    }
}

void ParameterPages::ApplyColourRules() {
    for (CommitCheckBox* box : {noReadingBox_, programAfterChangeBox_, longExcitationBox_}) {
        SetBackground(box, box->isChecked() ? Colour::Red : Colour::ButtonFace);
    }
    const bool servo = image_[field::PrivEnable] != 0;
    SetShown(servoGroup_, servo);
    emit ServoShown(servo);
    const bool n2o = image_[field::N2oEnable] != 0;
    SetShown(n2oActivationBox_, n2o);
    SetShown(n2oGroup_, n2o);
    SetShown(retardGroup_, n2o);
    emit N2oShown(n2o);
}

void ParameterPages::ShowCursor(const MapCursor& cursor) {
    const CursorColours colours = CursorColoursFor(cursor);
    for (int i = 0; i < kAxisPoints; ++i) SetBackground(tpsRowLabels_[i], colours.tpsLabel[i]);
    // The map cells and the rows: the cursor under the heat and the selection.
    colours_->ShowCursor(colours);
}

void ParameterPages::SetMapHeat(const std::array<QColor, kMapRows * kMapColumns>& colours,
                                const std::array<QString, kMapRows * kMapColumns>& tooltips) {
    for (std::size_t i = 0; i < mapEdits_.size(); ++i) {
        mapEdits_[i]->SetNote(tooltips[i]);
    }
    colours_->SetHeat(colours);
    ShowCursor(cursor_);
}

void ParameterPages::ShowIdentity(const IdentityTexts& texts) {
    identity_ = texts;
    SetLabelText(identityLabels_[0], IdentityText(identity_.VersionString));
    SetLabelText(identityLabels_[1], IdentityText(identity_.DateString));
    SetLabelText(identityLabels_[2], IdentityText(identity_.TimeString));
}

bool ParameterPages::ProgramAfterChange() const {
    return programAfterChangeBox_->isChecked();
}
bool ParameterPages::TpsAxis() const {
    return tpsAxisBox_->isChecked();
}
bool ParameterPages::GasChecked() const {
    return n2oEnableBox_->isChecked();
}
bool ParameterPages::ServoGroupShown() const {
    return !servoGroup_->isHidden();
}

bool ParameterPages::CommitsBlocked() const {
    return !commitsEnabled_ || fillingControls_ > 0;
}

void ParameterPages::CommitControls() {
    if (CommitsBlocked()) return;
    ControlsToImage();
    model_.Commit(ModelChange(CommitKind::TypedField));
}

void ParameterPages::OnEnterInField() {
    if (CommitsBlocked()) return;
    // Enter moves on exactly as Tab does (the field left commits on its own), then commits.
    emit FocusNextRequested();
    ControlsToImage();
    model_.Commit(ModelChange(CommitKind::TypedField));
}

void ParameterPages::OnBikeTypeChosen(int index) {
    if (CommitsBlocked() || index < 0) return;
    image_[field::BikeType] = static_cast<std::uint8_t>(index);
    SetDefaults(image_);
    model_.Commit(ModelChange(CommitKind::BikeType));
}

bool ParameterPages::eventFilter(QObject* watched, QEvent* event) {
    // A wheel turn over the bike type list would replace the tune with the defaults.
    if (watched == bikeTypeList_ && event->type() == QEvent::Wheel) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace korvan
