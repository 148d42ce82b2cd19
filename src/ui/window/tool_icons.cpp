#include "ui/window/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvan {

namespace {

constexpr int kIconSize = 16;

void DrawNew(QPainter& p) {
    // A sheet with its top right corner folded.
    QPainterPath sheet;
    sheet.moveTo(3, 1);
    sheet.lineTo(10, 1);
    sheet.lineTo(13, 4);
    sheet.lineTo(13, 15);
    sheet.lineTo(3, 15);
    sheet.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(10, 1), QPointF(10, 4), QPointF(13, 4)}));
}

void DrawOpen(QPainter& p) {
    // An open folder.
    p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
    p.setBrush(QColor(0xE8, 0xC0, 0x40));
    p.drawRect(1, 4, 12, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(0xFF, 0xE0, 0x70));
    p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(15, 7), QPointF(13, 14), QPointF(1, 14)}));
}

void DrawSave(QPainter& p) {
    // A diskette: body, label and shutter.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0x20, 0x40, 0xA0));
    p.drawRect(1, 1, 14, 14);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    p.drawRect(4, 10, 8, 5);
    p.fillRect(9, 11, 2, 3, Qt::black);
}

void DrawPrint(QPainter& p) {
    // A printer with a sheet coming out.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 6);
    p.setBrush(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 5);
    p.fillRect(12, 8, 2, 1, QColor(0x00, 0xC0, 0x00));
}

}  // namespace

QIcon MakeToolIcon(ToolIcon which) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (which) {
        case ToolIcon::New:
            DrawNew(p);
            break;
        case ToolIcon::Open:
            DrawOpen(p);
            break;
        case ToolIcon::Save:
            DrawSave(p);
            break;
        case ToolIcon::Print:
            DrawPrint(p);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace korvan
