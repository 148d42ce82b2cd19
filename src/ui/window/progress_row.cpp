#include "ui/window/progress_row.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <algorithm>

#include "files/settings.h"
#include "params/localized_text.h"
#include "ui/ridelog/ridelog_texts.h"
#include "ui/widgets/cgauge.h"
#include "ui/window/guarded_setters.h"
#include "ui/window/link_view.h"
#include "ui/window/parameter_model.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

constexpr int kMessagePixels = 13;
constexpr int kConnectionPixels = 23;
// The gauge counts the five steps of an operation.
constexpr int kOperationSteps = 5;
// White on a dark blue: nothing like the red of a lost unit, and legible in any palette.
const QColor kReplayBackground(0x00, 0x40, 0xA0);
const QColor kReplayText(0xFF, 0xFF, 0xFF);
constexpr int kReplayMargin = 8;

}  // namespace

ProgressRow::ProgressRow(QWidget* client, const QFont& windowFont, const ParameterModel& model,
                         LinkView& view)
    : model_(model) {
    noConnectionLabel_ = MakeLabel(client, "LabelSpojeni", "No Connection", 480, 9, 190, 29);
    noConnectionLabel_->setFont(PixelFont(windowFont, kConnectionPixels, true));
    noConnectionLabel_->setAlignment(Qt::AlignCenter);
    SetBackground(noConnectionLabel_, Colour::Red);
    replayLabel_ = MakeLabel(client, "LabelReplay", QString(), 480, 9, 190, 29);
    replayLabel_->setAlignment(Qt::AlignCenter);
    QPalette replayColours = replayLabel_->palette();
    replayColours.setColor(QPalette::Window, kReplayBackground);
    replayColours.setColor(QPalette::WindowText, kReplayText);
    replayLabel_->setPalette(replayColours);
    replayLabel_->setAutoFillBackground(true);
    replayLabel_->hide();
    connect(&model, &ParameterModel::LanguageChanged, this, [this] {
        if (replaying_) ShowReplayText();
    });

    messageLabel_ = MakeLabel(client, "LabelHlaseni", "Programming:", 8, 510, 176, 18);
    messageLabel_->setFont(PixelFont(windowFont, kMessagePixels, true));
    progressGauge_ = MakeGauge(client, "CGauge", 184, 508, 297, 21, kOperationSteps,
                               ToQColor(Colour::Aqua), true);

    connect(&view, &LinkView::Message, this, &ProgressRow::SetMessage);
    connect(&view, &LinkView::MessageVisible, this, &ProgressRow::SetMessageVisible);
    connect(&view, &LinkView::GaugeProgress, this, &ProgressRow::SetGaugeProgress);
    connect(&view, &LinkView::GaugeVisible, this, &ProgressRow::SetGaugeVisible);
    connect(&view, &LinkView::NoConnectionVisible, this, &ProgressRow::SetNoConnectionVisible);
}

void ProgressRow::AddFileLabel(QWidget* page) {
    MakeLabel(page, "LabelFile1", "File:", 8, 354, 48, 16);
    fileLabel_ = MakeLabel(page, "LabelFile2", QString(), 60, 354, 580, 16);
}

void ProgressRow::SetMessage(const LocalizedText& text, Colour colour) {
    SetLabelText(messageLabel_, QString::fromUtf8(text.In(model_.Language())));
    SetBackground(messageLabel_, colour);
}

void ProgressRow::SetMessageVisible(bool visible) {
    SetShown(messageLabel_, visible);
}

void ProgressRow::SetGaugeProgress(int progress) {
    if (progressGauge_->Progress() != progress) progressGauge_->SetProgress(progress);
}

void ProgressRow::SetGaugeVisible(bool visible) {
    SetShown(progressGauge_, visible);
}

void ProgressRow::SetNoConnectionVisible(bool visible) {
    noConnection_ = visible;
    SetShown(noConnectionLabel_, visible && !replaying_);
}

void ProgressRow::SetReplaying(bool replaying) {
    replaying_ = replaying;
    if (replaying) ShowReplayText();
    SetShown(replayLabel_, replaying);
    SetShown(noConnectionLabel_, noConnection_ && !replaying);
}

void ProgressRow::ShowReplayText() {
    const QString text = QString::fromUtf8(ridelogtext::kReplayIndicator.In(model_.Language()));
    // As large as "No Connection", smaller only where a language's word would not fit.
    QFont font = noConnectionLabel_->font();
    const int room = replayLabel_->width() - kReplayMargin;
    while (font.pixelSize() > 1 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (replayLabel_->font() != font) replayLabel_->setFont(font);
    SetLabelText(replayLabel_, text);
}

void ProgressRow::BeginPrintLine(const QString* line) {
    SetBackground(messageLabel_, Colour::ButtonFace);
    if (line != nullptr) messageLabel_->setText(*line);
    messageGeometry_ = messageLabel_->geometry();
    messageLabel_->resize(std::max(messageGeometry_.width(), messageLabel_->sizeHint().width()),
                          messageGeometry_.height());
}

void ProgressRow::EndPrintLine() {
    messageLabel_->setGeometry(messageGeometry_);
}

QString ProgressRow::FileName() const {
    return fileLabel_->text();
}

void ProgressRow::SetFileName(const QString& path) {
    fileLabel_->setText(path);
    emit FileNameChanged(path);
}

void ProgressRow::Load(const IniStore& store) {
    SetFileName(QString::fromStdString(ReadSettings(store, Settings{}).file));
}

void ProgressRow::Save(IniStore& store) const {
    Settings s;
    s.file = FileName().toStdString();
    SetSettings(store, s, kFileKey);
}

}  // namespace korvan
