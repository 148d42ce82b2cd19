#include "ui/window/link_view.h"

namespace korvan {

void LinkView::SetMessage(const LocalizedText& text, Colour colour) {
    emit Message(text, colour);
}
void LinkView::SetMessageVisible(bool visible) {
    emit MessageVisible(visible);
}
void LinkView::SetGaugeProgress(int progress) {
    emit GaugeProgress(progress);
}
void LinkView::SetGaugeVisible(bool visible) {
    emit GaugeVisible(visible);
}
void LinkView::SetNoConnectionVisible(bool visible) {
    emit NoConnectionVisible(visible);
}
void LinkView::ShowModalMessage(const LocalizedText& text) {
    emit ModalMessage(text);
}
void LinkView::ShowReceivedImage() {
    emit ImageReceived();
}
void LinkView::ShowIdentity(const IdentityTexts& texts) {
    emit IdentityReceived(texts);
}
void LinkView::ShowMonitorFrame(const std::uint8_t* frame) {
    emit MonitorFrame(frame);
}
void LinkView::OperationFinished(const OperationEnd& end) {
    emit OperationEnded(end);
}

}  // namespace korvan
