// The four parameter pages. Positions are pixels within each page or group box. The design
// captions are the English ones; the language table replaces those it lists.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/form_hlav.h"
#include "ui/window/numeric_edit.h"

namespace korvan {

namespace {

// The ten columns of the advance map and of the servo table: x 51 to 584.
constexpr int kColumnLeft = 51;
constexpr int kColumnSpan = 533;
constexpr int kColumnEditWidth = 55;
int ColumnX(int c) { return kColumnLeft + (c * kColumnSpan + 4) / 9; }

// The ten rows of the map: y 53 to 318.
constexpr int kRowTop = 53;
constexpr int kRowSpan = 265;
int RowY(int r) { return kRowTop + (r * kRowSpan + 4) / 9; }

// The row labels of the map sit 4 pixels below the top of their row, so that the single
// curve row can be placed 4 pixels above a label's top.
constexpr int kTpsLabelOffset = 4;

// A field with its label to the right, the label vertically centred on the field; a label
// that does not fit in one line wraps into two.
struct FieldRow {
    const char* edit;
    const char* label;
    const char* caption;
};

// The picture beside the activation switches: a sketch of an advance curve.
class CurvePicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
        p.setPen(QPen(palette().color(QPalette::Mid), 1));
        p.drawLine(area.bottomLeft(), area.topLeft());
        p.drawLine(area.bottomLeft(), area.bottomRight());
        const double curve[] = {0.05, 0.25, 0.45, 0.7, 0.82, 0.9, 0.93, 0.93, 0.92, 0.92};
        QPolygonF line;
        for (int i = 0; i < 10; ++i) {
            line << QPointF(area.left() + area.width() * i / 9.0, area.bottom() - area.height() * curve[i]);
        }
        p.setPen(QPen(QColor(0x00, 0x60, 0xC0), 2));
        p.drawPolyline(line);
    }
};

}  // namespace

void TFormHlav::BuildMiscPage(QWidget* page) {
    QGroupBox* other = MakeGroupBox(page, "GroupBox1", "Other", 4, 0, 192, 214);
    comboBox1_ = new QComboBox(other);
    comboBox1_->setObjectName("ComboBox1");
    comboBox1_->setGeometry(8, 18, 176, 22);
    comboBox1_->setMaxVisibleItems(10);
    comboBox1_->setFocusPolicy(Qt::ClickFocus);
    for (const char* name : kBikeTypeNames) comboBox1_->addItem(QString::fromUtf8(name));
    // A wheel turn over the list would replace the whole tune with the defaults.
    comboBox1_->installEventFilter(this);
    connect(comboBox1_, qOverload<int>(&QComboBox::currentIndexChanged), this, &TFormHlav::ComboBox1Change);

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
    checkBoxBuzDlouhe_ = MakeCommitCheckBox(switches, "CheckBoxBuzDlouhe", "Excitation Long", 8, 10, 176);
    MakeCommitCheckBox(switches, "CheckBoxRpm2Krat", "Tachometer 2x", 8, 32, 176);

    // Wide enough for the German title; the two groups to its right start after it.
    QGroupBox* activation = MakeGroupBox(page, "GroupBox4", "Activation by Switch on", 200, 0, 178, 176);
    const char* actNames[] = {"CheckBoxAktLimiter1", "CheckBoxAktRpm",   "CheckBoxAktClutch",
                              "CheckBoxAktBlok1",    "CheckBoxAktBlok2", "CheckBoxAktN2o"};
    const char* actCaptions[] = {"Start Limiter", "Tacho/Lambda", "Clutch m.",
                                 "Blocking 1",    "Blocking 2",   "Activation N2O"};
    for (int i = 0; i < 6; ++i) {
        CommitCheckBox* box = MakeCommitCheckBox(activation, actNames[i], actCaptions[i], 8, 22 + 24 * i, 164);
        if (i == 5) checkBoxAktN2o_ = box;
    }

    QGroupBox* reading = MakeGroupBox(page, "GroupBox16", QString(), 384, 4, 216, 60);
    checkBoxZakazCteni_ = MakeCommitCheckBox(reading, "CheckBoxZakazCteni", "No Reading", 8, 10, 200);
    checkBoxProgHned_ = MakeCommitCheckBox(reading, "CheckBoxProgHned", "Programming after change", 8, 34, 200);

    QGroupBox* tps = MakeGroupBox(page, "GroupBoxTps", "TPS", 380, 96, 260, 84);
    MakeEdit(tps, "EditTps0", 8, 22, 60);
    MakeLabel(tps, "LabelTps0", "0%  [mV]", 72, 24, 72, 16);
    MakeButton(tps, "BitBtnTps0", "Set TPS 0 %", 150, 20, 100, 25);
    MakeEdit(tps, "EditTps100", 8, 52, 60);
    MakeLabel(tps, "LabelTps100", "100%  [mv]", 72, 54, 72, 16);
    MakeButton(tps, "BitBtnTps100", "Set TPS 100 %", 150, 50, 100, 25);

    auto* picture = new CurvePicture(page);
    picture->setObjectName("Image1");
    picture->setGeometry(200, 216, 169, 89);

    const char* verze[] = {"LabelVerze1", "LabelVerze2", "LabelVerze3"};
    const char* placeholders[] = {"Version", "Date", "Time"};
    for (int i = 0; i < 3; ++i) {
        labelVerze_[i] = MakeLabel(page, verze[i], placeholders[i], 528, 280 + 28 * i, 112, 16);
    }
    MakeLabel(page, "LabelFile1", "File:", 8, 354, 48, 16);
    labelFile2_ = MakeLabel(page, "LabelFile2", QString(), 60, 354, 580, 16);
}

void TFormHlav::BuildMapPage(QWidget* page) {
    QGroupBox* map = MakeGroupBox(page, "GroupBox6", QString(), 0, 0, 645, 420);
    MakeLabel(map, "Label26", "RPM", 8, 24, 40, 16);
    for (int k = 0; k < 10; ++k) {
        const QByteArray name = "EditRpmAdv" + QByteArray::number(k + 1);
        MakeEdit(map, name.constData(), ColumnX(k), 21, kColumnEditWidth);
    }
    const char* tpsCaptions[] = {"0%", "2%", "5%", "10%", "20%", "30%", "40%", "60%", "80%", "100%"};
    for (int r = 0; r < 10; ++r) {
        const QByteArray name = "LabelTps" + QByteArray::number(r + 1);
        MakeLabel(map, name.constData(), tpsCaptions[r], 8, RowY(r) + kTpsLabelOffset, 38, 16);
        for (int c = 0; c < 10; ++c) {
            const QByteArray cell = "Edit" + QByteArray::number(50 + 10 * r + c);
            MakeEdit(map, cell.constData(), ColumnX(c), RowY(r), kColumnEditWidth);
        }
    }
    for (int c = 0; c < 10; ++c) {
        auto* spin = new TCSpinButton(map);
        spin->setObjectName("CSpinButton" + QString::number(c + 1));
        spin->setGeometry(ColumnX(c) + (kColumnEditWidth - 18) / 2, 349, 18, 26);
        spin->setFocusPolicy(Qt::NoFocus);
    }
    MakeCommitCheckBox(map, "CheckBoxTpsMapa", "TPS", 8, 388, 56);
    MakeButton(map, "BitBtnAdvMinus", "-", 70, 384, 30, 25);
    MakeButton(map, "BitBtnAdvPlus", "+", 104, 384, 30, 25);
    MakeCheckBox(map, "CheckBoxIgnAll", "All", 144, 388, 70);
}

void TFormHlav::BuildN2oPage(QWidget* page) {
    checkBoxGas_ = MakeCommitCheckBox(page, "CheckBoxGas", "N2O Enable", 24, 29, 150);
    struct Group {
        const char* name;
        const char* title;
        int x;
        int w;
        FieldRow rows[4];
    };
    const Group groups[] = {
        {"GroupBoxGas", "N2O", 21, 270,
         {{"EditGas1", "LabelGas1", "N2O 1 [%]"},
          {"EditGas2", "LabelGas2", "N2O 2 [%]"},
          {"EditGasD", "LabelGasD", "Delay [ms]"},
          {"EditGasT", "LabelGasT", "Build up Time [ms]"}}},
        {"GroupBoxRetard", "Retard", 301, 290,
         {{"EditRetard1", "LabelRetard1", "Retard 1 [°]"},
          {"EditRetard2", "LabelRetard2", "Retard 2 [°]"},
          {"EditRetardD", "LabelRetardD", "Delay [ms]"},
          {"EditRetardT", "LabelRetardT", "Build up Time [ms]"}}},
    };
    for (const Group& g : groups) {
        QGroupBox* box = MakeGroupBox(page, g.name, QString::fromUtf8(g.title), g.x, 62, g.w, 150);
        (g.x == 21 ? groupBoxGas_ : groupBoxRetard_) = box;
        int y = 24;
        for (const FieldRow& r : g.rows) {
            MakeEdit(box, r.edit, 12, y, 66);
            MakeLabel(box, r.label, QString::fromUtf8(r.caption), 84, y + 2, g.w - 92, 16);
            y += 32;
        }
    }
}

void TFormHlav::BuildServoPage(QWidget* page) {
    MakeCommitCheckBox(page, "CheckBoxPrivEnable", "Servo Enable", 24, 29, 150);
    groupBoxPrivera_ = MakeGroupBox(page, "GroupBoxPrivera", "Servo", 2, 56, 641, 190);
    MakeLabel(groupBoxPrivera_, "Label6", "RPM", 8, 32, 40, 16);
    MakeLabel(groupBoxPrivera_, "Label5", "[mV]", 8, 67, 40, 16);
    for (int k = 0; k < 10; ++k) {
        const QByteArray rpm = "EditRpmPriv" + QByteArray::number(k + 1);
        const QByteArray nap = "EditNapPriv" + QByteArray::number(k + 1);
        MakeEdit(groupBoxPrivera_, rpm.constData(), ColumnX(k), 29, kColumnEditWidth);
        MakeEdit(groupBoxPrivera_, nap.constData(), ColumnX(k), 64, kColumnEditWidth);
    }
    MakeEdit(groupBoxPrivera_, "EditPrivHyster", kColumnLeft, 108, 66);
    MakeLabel(groupBoxPrivera_, "LabelPrivHyster", "Sevro Hysteresis [mV]", kColumnLeft + 72, 110, 180, 16);
    MakeButton(groupBoxPrivera_, "BitBtnServoMinus", "-", 8, 150, 30, 25);
    MakeButton(groupBoxPrivera_, "BitBtnServoPlus", "+", 42, 150, 30, 25);
    MakeCheckBox(groupBoxPrivera_, "CheckBoxPrivAll", "All", 82, 154, 70);
}

}  // namespace korvan
