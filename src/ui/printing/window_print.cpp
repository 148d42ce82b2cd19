#include "ui/printing/window_print.h"

#include <QPrinterInfo>

#include "files/print_layout.h"

namespace korvan {

QRect DrawOnPage(QPainter& painter, const QImage& image, QSize page) {
    const PrintRect r = FitToPage(image.width(), image.height(), page.width(), page.height());
    const QRect target(0, 0, r.width, r.height);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, image);
    return target;
}

bool PrintImageOnePage(QPrinter& printer, const QImage& image, QString* error) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = QStringLiteral("The printer could not start the print job.");
        return false;
    }
    // The printable area in printer pixels; the painter's origin is its top-left corner.
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    DrawOnPage(painter, image, printable.size());
    if (!painter.end()) {
        if (error) *error = QStringLiteral("The printer could not finish the print job.");
        return false;
    }
    return true;
}

bool DefaultPrinterAvailable() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

}  // namespace korvan
