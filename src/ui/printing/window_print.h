// Printing the window's picture: one page on the default printer, scaled to fit with its
// aspect kept, from the page's top-left corner.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSize>
#include <QString>

namespace korvan {

// Draws `image` into a page of `page` pixels by the fit-to-page rule, pixels copied unchanged
// (no smoothing). Returns the rectangle it filled.
QRect DrawOnPage(QPainter& painter, const QImage& image, QSize page);

// Prints `image` as exactly one page on `printer` (the caller chooses the printer or a PDF
// file). False, with the printing layer's message in `error`, when the job cannot start.
bool PrintImageOnePage(QPrinter& printer, const QImage& image, QString* error);

// Whether the system has a default printer; QPrinter silently turns into a PDF printer
// without a file when there is none.
bool DefaultPrinterAvailable();

}  // namespace korvan
