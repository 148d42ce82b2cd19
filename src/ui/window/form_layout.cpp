// The window's frame: fonts, the tool bar, the page control, the monitor column, the progress
// row and the status bar. The four pages are in form_pages.cpp, the menus in form_menus.cpp.
//
// Controls sit at fixed pixel positions in the client area (the part between the menu bar and
// the status bar), as tuners know the window; only the status bar follows the bottom edge.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "params/binding.h"
#include "ui/languages/language_tables.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/caption_fit.h"
#include "ui/widgets/cspin_button.h"
#include "ui/window/commit_check_box.h"
#include "ui/window/form_hlav.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/numeric_edit.h"
#include "ui/window/tool_icons.h"

namespace korvan {

namespace {

constexpr int kWindowFontPoints = 8;
constexpr int kBigReadoutPixels = 19;
constexpr int kSwitchLabelPixels = 16;
constexpr int kTestLabelPixels = 13;
constexpr int kMessagePixels = 13;
constexpr int kConnectionPixels = 23;

constexpr int kLabelHeight = 16;
constexpr int kCheckBoxHeight = 17;

QFont WindowFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(kWindowFontPoints);
    return f;
}

QFont PixelFont(const QFont& base, int pixels, bool bold) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

}  // namespace

QColor ToQColor(Colour colour) {
    switch (colour) {
        case Colour::ButtonFace: return QApplication::palette().color(QPalette::Window);
        case Colour::Window: return QApplication::palette().color(QPalette::Base);
        default: return QColor::fromRgb(static_cast<QRgb>(FixedRgb(colour)));
    }
}

QLabel* TFormHlav::MakeLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                             int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, h);
    return label;
}

QCheckBox* TFormHlav::MakeCheckBox(QWidget* parent, const char* name, const QString& text, int x,
                                   int y, int w) {
    auto* box = new CommitCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, kCheckBoxHeight);
    // Out of the Tab order; a click still focuses it, as a click on any check box does.
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

CommitCheckBox* TFormHlav::MakeCommitCheckBox(QWidget* parent, const char* name, const QString& text,
                                              int x, int y, int w) {
    auto* box = new CommitCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(x, y, w, kCheckBoxHeight);
    box->setFocusPolicy(Qt::ClickFocus);
    connect(box, &CommitCheckBox::MouseUp, this, &TFormHlav::CheckBoxAktBlok1MouseUp);
    return box;
}

QGroupBox* TFormHlav::MakeGroupBox(QWidget* parent, const char* name, const QString& title, int x,
                                   int y, int w, int h) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    group->setGeometry(x, y, w, h);
    return group;
}

QPushButton* TFormHlav::MakeButton(QWidget* parent, const char* name, const QString& text, int x,
                                   int y, int w, int h) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(x, y, w, h);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

NumericEdit* TFormHlav::MakeEdit(QWidget* parent, const char* name, int x, int y, int w) {
    const NumericField* field = FindNumericField(name);
    Q_ASSERT(field != nullptr);
    auto* edit = new NumericEdit(parent);
    edit->setObjectName(name);
    edit->SetUpDownName(QString::fromStdString(field->upDown));
    edit->setRange(field->min, field->max);
    edit->setSingleStep(field->step);
    edit->setGroupSeparatorShown(field->digitGroups);
    edit->setGeometry(x, y, w, 21);
    connect(edit, &NumericEdit::Left, this, &TFormHlav::EditExit);
    connect(edit, &NumericEdit::Stepped, this, &TFormHlav::UpDownClick);
    connect(edit, &NumericEdit::EnterPressed, this, &TFormHlav::FormKeyPress);
    return edit;
}

TCGauge* TFormHlav::MakeGauge(QWidget* parent, const char* name, int x, int y, int w, int h, int max,
                              const QColor& fore, bool showText) {
    auto* gauge = new TCGauge(parent);
    gauge->setObjectName(name);
    gauge->setGeometry(x, y, w, h);
    gauge->SetMinValue(0);
    gauge->SetMaxValue(max);
    gauge->SetForeColor(fore);
    gauge->SetBackColor(Qt::white);
    gauge->SetShowText(showText);
    gauge->setFocusPolicy(Qt::NoFocus);
    return gauge;
}

void TFormHlav::BuildWindow() {
    setObjectName("FormHlav");
    setFont(WindowFont());
    // The design title; the language table replaces it before the window is shown.
    setWindowTitle("Programming of Korvan15 Ignition Unit");
    resize(kWindowWidth, kWindowHeight);

    auto* client = new QWidget(this);
    setCentralWidget(client);

    BuildToolBar(client);

    labelSpojeni_ = MakeLabel(client, "LabelSpojeni", "No Connection", 480, 9, 190, 29);
    labelSpojeni_->setFont(PixelFont(font(), kConnectionPixels, true));
    labelSpojeni_->setAlignment(Qt::AlignCenter);
    SetBackground(labelSpojeni_, Colour::Red);

    checkBoxExtMonitor_ = MakeCheckBox(client, "CheckBoxExtMonitor", "Extended Monitor", 680, 10, 140);
    connect(checkBoxExtMonitor_, &QCheckBox::toggled, this, &TFormHlav::CheckBoxExtMonitorClick);

    pageControl1_ = new QTabWidget(client);
    pageControl1_->setObjectName("PageControl1");
    pageControl1_->setGeometry(4, 48, 653, 449);
    // The page tabs are not in the Tab order: Tab moves among the fields of the page only.
    pageControl1_->setFocusPolicy(Qt::NoFocus);
    if (auto* tabs = pageControl1_->findChild<QTabBar*>()) tabs->setFocusPolicy(Qt::NoFocus);
    const char* sheetNames[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    const char* sheetCaptions[] = {"Miscellaneous", "Advance Map", "N2O Controller", "Servo"};
    for (int i = 0; i < 4; ++i) {
        auto* sheet = new QWidget;
        sheet->setObjectName(sheetNames[i]);
        pageControl1_->addTab(sheet, sheetCaptions[i]);
        tabSheets_[i] = sheet;
    }
    BuildMiscPage(tabSheets_[0]);
    BuildMapPage(tabSheets_[1]);
    BuildN2oPage(tabSheets_[2]);
    BuildServoPage(tabSheets_[3]);

    BuildMonitorColumn(client);
    BuildProgressRow(client);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar1");
    status->setSizeGripEnabled(false);
    status->setFixedHeight(19);
    setStatusBar(status);

    BuildMenus();
    // Hints that no language table touches: they read the same in every language.
    SetHint("BitBtnServoMinus", "Take off 20 mV");
    SetHint("BitBtnServoPlus", "Add 20 mV");
    SetHint("AdvanceMinus", "Curve A minus|Take off 1 degree of curve A");
    SetHint("AdvancePlus", "Curve A plus|Add 1 degree of curve A");
    BuildTabOrder();
    FitCaptions();
}

void TFormHlav::BuildToolBar(QWidget* client) {
    // Wide enough for the German caption of the program button.
    QGroupBox* bar = MakeGroupBox(client, "GroupBox5", QString(), 3, 0, 470, 43);
    struct Tool {
        const char* name;
        int x;
        ToolIcon icon;
    };
    const Tool tools[] = {{"SpeedButton6", 12, ToolIcon::New},
                          {"SpeedButton5", 50, ToolIcon::Open},
                          {"SpeedButton7", 88, ToolIcon::Save},
                          {"SpeedButtonPrint", 126, ToolIcon::Print}};
    for (const Tool& t : tools) {
        auto* button = new QToolButton(bar);
        button->setObjectName(t.name);
        button->setGeometry(t.x, 11, 24, 23);
        button->setIcon(MakeToolIcon(t.icon));
        button->setAutoRaise(true);
        // A picture button never takes the focus from the field being edited.
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(bar->findChild<QToolButton*>("SpeedButton6"), &QToolButton::clicked, this,
            &TFormHlav::MenuNewClick);

    connect(MakeButton(bar, "Button1", "&Read", 230, 10, 64, 25), &QPushButton::clicked, this,
            &TFormHlav::MenuReadClick);
    connect(MakeButton(bar, "BitBtn2", "&Verify", 296, 10, 72, 25), &QPushButton::clicked, this,
            &TFormHlav::MenuVerifyClick);
    connect(MakeButton(bar, "BitBtn1", "&Program", 370, 10, 96, 25), &QPushButton::clicked, this,
            &TFormHlav::MenuProgramClick);
}

void TFormHlav::BuildMonitorColumn(QWidget* client) {
    const QFont big = PixelFont(font(), kBigReadoutPixels, true);
    const QFont sw = PixelFont(font(), kSwitchLabelPixels, false);
    auto readout = [&](const char* name, const char* text, int x, int y, int w, const QFont& f) {
        QLabel* label = MakeLabel(client, name, text, x, y, w, QFontMetrics(f).height() + 2);
        label->setFont(f);
        return label;
    };
    labelRpm_ = readout("LabelRpm", "RPM = ---", 676, 38, 270, big);
    cGaugeRpm_ = MakeGauge(client, "CGaugeRpm", 676, 69, 270, 21, 100, ToQColor(Colour::Fuchsia), false);
    labelTpsMon_ = readout("LabelTpsMon", "TP= --- [%]", 676, 103, 270, big);
    cGaugeTps_ = MakeGauge(client, "CGaugeTps", 676, 133, 270, 21, 100,
                           QApplication::palette().color(QPalette::Highlight), false);
    labelLambda_ = readout("LabelLambda", "LAMBDA= --- [mV]", 676, 167, 270, big);
    cGaugeLambda_ = MakeGauge(client, "CGaugeLambda", 676, 198, 270, 21, 100, Qt::black, false);

    // The three bands under the lambda bar mark 400-600, 600-800 and 800-1000 mV.
    struct Band {
        const char* name;
        int x;
        int w;
        Colour colour;
    };
    const Band bands[] = {{"LabelBarGraf1", 676, 90, Colour::Blue},
                          {"LabelBarGraf2", 766, 89, Colour::Lime},
                          {"LabelBarGraf3", 856, 90, Colour::Red}};
    for (const Band& b : bands) {
        QLabel* band = MakeLabel(client, b.name, QString(), b.x, 224, b.w, 8);
        SetBackground(band, b.colour);
    }

    labelAdvance_ = readout("LabelAdvance", "ADVANCE= --- [°]", 676, 241, 270, big);
    labelPriveraPoz_ = readout("LabelPriveraPoz", "Throtle Des. = ---", 672, 275, 274, sw);
    labelPriveraMer_ = readout("LabelPriveraMer", "Throtle Meas. = ---", 672, 308, 274, sw);
    labelBlok1_ = readout("LabelBlok1", "Blocking 1 = --", 672, 342, 180, sw);
    labelBlok2_ = readout("LabelBlok2", "Blocking 2 = --", 672, 376, 180, sw);
    labelTachoLambda_ = readout("LabelTacho_Lambda", "Tacho/Lambda  = --", 672, 410, 274, sw);
    labelClutchMon_ = readout("LabelClutchMon", "Clutch = --", 672, 443, 274, sw);
    labelLimiter1_ = readout("LabelLimiter1", "Limiter 1 = --", 672, 477, 274, sw);
    labelN2oEnable_ = readout("LabelN2oEnable", "N20 enable = --", 672, 511, 274, sw);

    // Diagnostic words of the unit: kept up to date, never shown.
    const QFont test = PixelFont(font(), kTestLabelPixels, true);
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "LabelTest" + QByteArray::number(i + 1);
        labelTest_[i] = readout(name.constData(), "", 856, 343 + (i * 152) / 7, 112, test);
        labelTest_[i]->setText(QString("Test%1 = ---").arg(i + 1));
        labelTest_[i]->hide();
    }
}

void TFormHlav::BuildProgressRow(QWidget* client) {
    labelHlaseni_ = MakeLabel(client, "LabelHlaseni", "Programming:", 8, 510, 176, 18);
    labelHlaseni_->setFont(PixelFont(font(), kMessagePixels, true));
    cGauge_ = MakeGauge(client, "CGauge", 184, 508, 297, 21, 5, ToQColor(Colour::Aqua), true);
    // Two lines when the count is long: the monitor column starts right after it.
    labelPocetProgramovani_ =
        MakeLabel(client, "LabelPocetProgramovani", "Number of Programing: -----", 519, 506, 150, 30);
    labelPocetProgramovani_->setWordWrap(true);
    labelPocetProgramovani_->hide();
}

void TFormHlav::BuildTabOrder() {
    // NumericFields() lists the fields page by page in Tab order. Tab and Enter skip the
    // fields that are not visible, so they move only within the page shown.
    QWidget* previous = nullptr;
    for (const NumericField& f : NumericFields()) {
        auto* edit = findChild<NumericEdit*>(QString::fromStdString(f.edit));
        if (previous != nullptr) setTabOrder(previous, edit);
        previous = edit;
    }
}

void TFormHlav::FitCaptions() {
    // The window's font differs between platforms; widen any caption control whose text in
    // one of the three languages would not fit, keeping its position.
    for (const LanguageEntry& e : LanguageTable()) {
        if (e.kind != TextKind::Caption) continue;
        QWidget* w = findChild<QWidget*>(e.control);
        if (w == nullptr || qobject_cast<QMenu*>(w) != nullptr) continue;
        int need = 0;
        for (std::uint8_t lang = 0; lang < 3; ++lang) {
            need = std::max(need, CaptionWidth(w, QString::fromUtf8(e.text.In(lang))));
        }
        if (need > w->width()) w->resize(need, w->height());
    }
}

}  // namespace korvan
