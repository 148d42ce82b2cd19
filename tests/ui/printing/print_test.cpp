#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "ui/printing/window_print.h"

namespace korvan {
namespace {

QImage Picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    return image;
}

TEST(Print, DrawsTheImageFromTheTopLeftKeepingItsAspect) {
    struct Case {
        QSize image, page;
        QRect filled;
    } cases[] = {
        {{400, 200}, {1000, 1400}, {0, 0, 1000, 500}},  // wider than the page: full width
        {{200, 400}, {1000, 1000}, {0, 0, 500, 1000}},  // taller: full height
    };
    for (const Case& c : cases) {
        QImage page(c.page, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        const QRect r = DrawOnPage(painter, Picture(c.image.width(), c.image.height()), c.page);
        painter.end();
        EXPECT_EQ(r, c.filled);
        EXPECT_EQ(page.pixel(r.width() / 2, r.height() / 2), qRgb(0, 0, 255));
        EXPECT_EQ(page.pixel(0, 0), qRgb(255, 0, 0));  // the corner pixel, copied unchanged
        EXPECT_EQ(page.pixel(c.page.width() - 1, c.page.height() - 1), qRgb(255, 255, 255));
    }
}

TEST(Print, APdfGetsExactlyOnePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("window.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QString error;
    ASSERT_TRUE(PrintImageOnePage(printer, Picture(965, 557), &error)) << error.toStdString();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page/") + bytes.count("/Type /Page "),
              1);
    EXPECT_TRUE(bytes.contains("/Count 1"));
}

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
