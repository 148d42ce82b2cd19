// What the device link shows, as Qt signals: the link reports to this LinkListener, and every
// collaborator that shows a part of it connects itself to the signal it wants (the progress
// row to the messages and the gauge, the monitor column to the frames, the history to the
// ends of operations). The window also announces the live cursor here once per tick.
//
// Every signal is emitted on the window's thread from inside the tick or a start command;
// connect directly. A frame pointer is valid only during the emission.
#pragma once

#include <QObject>
#include <cstdint>

#include "device/device_link.h"
#include "device/map_cursor.h"

namespace korvan {

class LinkView : public QObject, public LinkListener {
    Q_OBJECT

  public:
    explicit LinkView(QObject* parent = nullptr) : QObject(parent) {}

    // Each tick, after the link's tick: the live position on the map (cleared without live
    // values). Emits CursorMoved.
    void ShowCursor(const MapCursor& cursor) { emit CursorMoved(cursor); }

    void SetMessage(const LocalizedText& text, Colour colour) override;
    void SetMessageVisible(bool visible) override;
    void SetGaugeProgress(int progress) override;
    void SetGaugeVisible(bool visible) override;
    void SetNoConnectionVisible(bool visible) override;
    void ShowModalMessage(const LocalizedText& text) override;
    void ShowReceivedImage() override;
    void ShowIdentity(const IdentityTexts& texts) override;
    void ShowMonitorFrame(const std::uint8_t* frame) override;
    void OperationFinished(const OperationEnd& end) override;

  signals:
    // The message label: text (in three languages) and background, and whether it shows.
    void Message(const korvan::LocalizedText& text, korvan::Colour colour);
    void MessageVisible(bool visible);
    // The operation gauge (0..5) and whether it shows.
    void GaugeProgress(int progress);
    void GaugeVisible(bool visible);
    // Told on every tick whether "No Connection" shows.
    void NoConnectionVisible(bool visible);
    // A modal box the link asks for; the operation has already ended.
    void ModalMessage(const korvan::LocalizedText& text);
    // The unit's pages arrived in the image: commit them (kind Read) before this returns,
    // the link verifies what the image then holds.
    void ImageReceived();
    void IdentityReceived(const korvan::IdentityTexts& texts);
    // A valid monitor frame (102 bytes; the link's live values are already updated).
    void MonitorFrame(const std::uint8_t* frame);
    // Once per start command, after the link went idle, before any modal box of the end.
    void OperationEnded(const korvan::OperationEnd& end);
    // The live cursor of this tick.
    void CursorMoved(const korvan::MapCursor& cursor);
};

}  // namespace korvan
