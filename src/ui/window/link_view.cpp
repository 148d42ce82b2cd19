#include "ui/window/link_view.h"

#include "ui/window/progress_row.h"

namespace korvan {

void LinkView::SetMessage(const LocalizedText& text, Colour colour) {
    progress_.SetMessage(text, colour);
}
void LinkView::SetMessageVisible(bool visible) {
    progress_.SetMessageVisible(visible);
}
void LinkView::SetGaugeProgress(int progress) {
    progress_.SetGaugeProgress(progress);
}
void LinkView::SetGaugeVisible(bool visible) {
    progress_.SetGaugeVisible(visible);
}
void LinkView::SetNoConnectionVisible(bool visible) {
    progress_.SetNoConnectionVisible(visible);
    if (noConnection) noConnection(visible);
}

void LinkView::ShowModalMessage(const LocalizedText& text) {
    if (modalMessage) modalMessage(text);
}

void LinkView::ShowReceivedImage() {
    if (receivedImage) receivedImage();
}

void LinkView::ShowIdentity(const IdentityTexts& texts) {
    if (identity) identity(texts);
}

void LinkView::ShowMonitorFrame(const std::uint8_t* frame) {
    for (const FrameHandler& handler : frameHandlers_) handler(frame);
}

void LinkView::OperationFinished(const OperationEnd& end) {
    if (operationFinished) operationFinished(end);
}

}  // namespace korvan
