#include "ui/window/failure_help.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cstring>

#include "params/localized_text.h"
#include "ui/window/link_view.h"
#include "ui/window/main_menu.h"
#include "ui/window/parameter_model.h"
#include "ui/window/widget_factory.h"

namespace korvan {

namespace {

const LocalizedText kShowDifferences{"Zobrazit &rozdíly", "Show &differences",
                                     "&Unterschiede anzeigen"};
const LocalizedText kLineLost{"Spojení s jednotkou je ztraceno", "The line to the unit is lost",
                              "Die Verbindung zur Zündbox ist verloren"};
const LocalizedText kLineLostTip{
    "Jednotka neodpověděla. Může v ní být jen část nových parametrů: po obnovení spojení ji "
    "naprogramujte znovu.",
    "The unit did not answer. It may hold only part of the new parameters: program it again "
    "once the line is back.",
    "Die Zündbox hat nicht geantwortet. Sie kann nur einen Teil der neuen Parameter enthalten: "
    "nach dem Wiederherstellen der Verbindung erneut programmieren."};

// Where the progress gauge is: what follows a failure takes its place.
constexpr int kX = 184;
constexpr int kY = 508;
constexpr int kHeight = 21;
constexpr int kButtonWidth = 170;
constexpr int kLineWidth = 330;
constexpr int kLinePixels = 13;

bool Same(const LocalizedText& a, const LocalizedText& b) {
    return std::strcmp(a.english, b.english) == 0;
}

}  // namespace

FailureHelp::FailureHelp(QWidget* client, MainMenu& menu, LinkView& view, const DeviceLink& link,
                         const ParameterModel& model, QObject* parent)
    : QObject(parent), link_(link), model_(model) {
    button_ = MakeButton(client, "ButtonShowDifferences", QString(), kX, kY, kButtonWidth, kHeight);
    button_->hide();
    lineLost_ = MakeLabel(client, "LabelLineLost", QString(), kX, kY, kLineWidth, kHeight);
    lineLost_->setFont(PixelFont(client->font(), kLinePixels, true));
    // Its own background, the palette's, over the whole gauge: its words on the gauge's fixed
    // white would vanish under a dark palette, whose text is light.
    lineLost_->setAutoFillBackground(true);
    lineLost_->hide();
    item_ = MainMenu::AddItem(menu.deviceMenu, "MenuShowDifferences", QString());
    item_->setEnabled(false);

    connect(button_, &QPushButton::clicked, this, &FailureHelp::DifferencesWanted);
    connect(item_, &QAction::triggered, this, &FailureHelp::DifferencesWanted);
    connect(&view, &LinkView::Message, this, &FailureHelp::OnMessage);
    connect(&view, &LinkView::MessageVisible, this, &FailureHelp::OnMessageVisible);
    connect(&view, &LinkView::OperationEnded, this, &FailureHelp::OnOperationEnded);
    connect(&model, &ParameterModel::LanguageChanged, this, &FailureHelp::ApplyLanguage);
    ApplyLanguage();
}

void FailureHelp::ApplyLanguage() {
    const std::uint8_t language = model_.Language();
    button_->setText(QString::fromUtf8(kShowDifferences.In(language)));
    item_->setText(QString::fromUtf8(kShowDifferences.In(language)));
    lineLost_->setText(QString::fromUtf8(kLineLost.In(language)));
    lineLost_->setToolTip(QString::fromUtf8(kLineLostTip.In(language)));
}

void FailureHelp::OnMessage(const LocalizedText& text, Colour) {
    failureShown_ = Same(text, DeviceLink::kReadError) || Same(text, DeviceLink::kVerifyError) ||
                    Same(text, DeviceLink::kProgramError);
    // Any other message belongs to a new operation (or its success): the offer is over.
    if (!failureShown_) Offer(false, false);
}

void FailureHelp::OnOperationEnded(const OperationEnd& end) {
    if (end.ok || !failureShown_) return;
    // The last request got an answer whose content differed: the unit is there and holds
    // something else. No usable answer at all: the line is gone.
    const bool differs = link_.LastRequestAnsweredDiffering();
    Offer(differs, !differs);
}

void FailureHelp::OnMessageVisible(bool visible) {
    // The failure stays in the menu until the next operation; beside the message only while
    // the message shows.
    if (!visible) {
        button_->hide();
        lineLost_->hide();
    }
}

void FailureHelp::Offer(bool differences, bool lineLost) {
    button_->setVisible(differences);
    item_->setEnabled(differences);
    lineLost_->setVisible(lineLost);
    // In the gauge's place: once the line is gone, how far the operation got tells nothing.
    if (differences) button_->raise();
    if (lineLost) lineLost_->raise();
}

}  // namespace korvan
