// A window with the 3D view, the difference grid and the curves over a sample tune, for looking
// at them by eye (under Xvfb with a screenshot, or on a desktop). Not a test: it runs until
// closed. Options: --compare (a second tune), --curve (no throttle axis), --dark (a dark
// palette), --live (the live cell walks round the map), --curves (the curve window beside,
// its drags and keys taken into the tune as the window will take them), --save FILE WxH (the
// 3D view's picture at that size into a PNG, then quit).
#include <QApplication>
#include <QHBoxLayout>
#include <QPalette>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/ridelog/curve_view.h"
#include "ui/surface/difference_grid.h"
#include "ui/surface/surface_view.h"

namespace {

bool Has(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

QPalette DarkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    p.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    p.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    p.setColor(QPalette::ButtonText, QColor(0xe0, 0xe0, 0xe0));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x8e, 0xe8));
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (Has(argc, argv, "--dark")) app.setPalette(DarkPalette());
    using namespace korvan;
    DeviceImage image = DefaultImage();
    // Breakpoints as a tuner spaces them: dense where the engine lives.
    const std::uint8_t rpm[kAxisPoints] = {10, 20, 30, 60, 65, 70, 72, 90, 120, 140};
    for (int k = 0; k < kAxisPoints; ++k)
        image[field::RpmAdv + static_cast<std::size_t>(k)] = rpm[k];
    const bool curve = Has(argc, argv, "--curve");
    image[field::TpsMapa] = curve ? 0 : 1;
    const SurfaceMap map = SurfaceMapFromImage(image, !curve);

    QWidget window;
    window.setWindowTitle("korvan2 surface demo");
    auto* layout = new QHBoxLayout(&window);
    auto* view = new SurfaceView(kLanguageEnglish, &window);
    view->SetMap(map);
    layout->addWidget(view, 3);
    CurveView* curves = nullptr;
    if (Has(argc, argv, "--curves")) {
        curves = new CurveView(kLanguageEnglish, &window);
        curves->SetImage(image);
        layout->addWidget(curves, 3);
        QObject::connect(curves, &CurveView::PointEdited, [&, curves, view](int index, int value) {
            image[static_cast<std::size_t>(index)] = static_cast<std::uint8_t>(value);
            curves->SetImage(image);
            view->SetMap(SurfaceMapFromImage(image, !curve));
        });
    }
    auto* grid = new DifferenceGrid(kLanguageEnglish, &window);
    if (Has(argc, argv, "--compare")) {
        DeviceImage other = image;
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 3; column < 7; ++column)
                other[AdvanceIndex(row, column)] =
                    static_cast<std::uint8_t>(other[AdvanceIndex(row, column)] - (column - 2));
        }
        other[AdvanceIndex(2, 8)] = static_cast<std::uint8_t>(other[AdvanceIndex(2, 8)] + 6);
        const SurfaceMap compared = SurfaceMapFromImage(other, !curve);
        view->SetCompare(compared, "tune-2026-05.ign");
        if (curves != nullptr) curves->SetCompare(other, "tune-2026-05.ign");
        grid->SetMaps(map, compared);
        layout->addWidget(grid, 2);
    } else {
        delete grid;
    }
    view->SetSelection(CellRange{{2, 3}, {4, 5}});
    int step = 0;
    auto next = [&] {
        ++step;
        const int column = step % 20 < 10 ? step % 10 : 9 - step % 10;
        const MapCell cell{curve ? 9 : 3 + step / 7 % 4, column};
        view->SetLiveCell(cell);
        if (curves != nullptr) {
            MapCursor cursor;
            cursor.TpsIndex = static_cast<std::uint8_t>(cell.row);
            cursor.RpmIndex = static_cast<std::uint8_t>(cell.column);
            curves->SetCursor(cursor);
        }
    };
    QTimer walk;
    QObject::connect(&walk, &QTimer::timeout, next);
    for (int i = 0; i < 14; ++i) next();
    if (Has(argc, argv, "--live")) walk.start(200);
    window.resize(Has(argc, argv, "--compare") || curves != nullptr ? 1380 : 900, 640);
    for (int i = 1; i + 2 < argc; ++i) {
        if (std::strcmp(argv[i], "--save") != 0) continue;
        const QStringList size = QString::fromUtf8(argv[i + 2]).split('x');
        view->resize(size.value(0).toInt(), size.value(1).toInt());
        return view->Picture().save(QString::fromUtf8(argv[i + 1])) ? 0 : 1;
    }
    window.show();
    view->setFocus();
    return app.exec();
}
