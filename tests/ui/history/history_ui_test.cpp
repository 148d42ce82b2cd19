#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "params/binding.h"
#include "params/defaults.h"
#include "ui/history/compare_view.h"
#include "ui/history/history_window.h"

namespace korvan {
namespace {

constexpr std::int64_t kFirst = 1796712303;  // 2026-12-08 06:45:03 UTC

bool Marked(const QTableWidgetItem* item) {
    return item->background().style() != Qt::NoBrush;
}

TEST(CompareView, MarksEachDifferenceAndSaysIdenticalInOneLine) {
    CompareView view;
    const DeviceImage base = DefaultImage();
    view.ShowComparison(base, base, "same");
    EXPECT_EQ(view.SummaryLabel()->text(), "The parameters are identical.");
    EXPECT_TRUE(view.MapTable()->isHidden());
    EXPECT_TRUE(view.AxisTable()->isHidden());

    DeviceImage other = base;
    other[AdvanceIndex(3, 4)] = static_cast<std::uint8_t>(base[AdvanceIndex(3, 4)] + 2);
    other[AdvanceIndex(9, 9)] = static_cast<std::uint8_t>(base[AdvanceIndex(9, 9)] - 1);
    other[field::NapPriv + 2] = static_cast<std::uint8_t>(base[field::NapPriv + 2] + 1);
    other[field::Limiter2] = 95;
    view.ShowComparison(base, other, "current / point");
    EXPECT_FALSE(view.MapTable()->isHidden());
    int marked = 0;
    for (int r = 0; r < kMapRows; ++r) {
        for (int c = 0; c < kMapColumns; ++c) marked += Marked(view.MapTable()->item(r, c));
    }
    EXPECT_EQ(marked, 2);
    EXPECT_EQ(view.MapTable()->item(3, 4)->text(),
              QString::number(base[AdvanceIndex(3, 4)] + 2) + "\n+2");
    EXPECT_EQ(view.MapTable()->item(9, 9)->text(),
              QString::number(base[AdvanceIndex(9, 9)] - 1) + "\n-1");
    EXPECT_EQ(view.MapTable()->verticalHeaderItem(3)->text(), "10 %");
    // The servo voltage row: point 3 marked, 20 mV more.
    EXPECT_TRUE(Marked(view.AxisTable()->item(1, 2)));
    EXPECT_FALSE(Marked(view.AxisTable()->item(0, 2)));
    EXPECT_TRUE(view.AxisTable()->item(1, 2)->text().endsWith("\n+20"));
    EXPECT_TRUE(view.FieldsLabel()->text().contains(QString::fromUtf8("Limiter: ")));

    view.SetLanguage(kLanguageGerman);
    EXPECT_TRUE(view.FieldsLabel()->text().contains(QString::fromUtf8("Begrenzer: ")));
    EXPECT_EQ(view.AxisTable()->verticalHeaderItem(1)->text(),
              QString::fromUtf8("Servo – Spannung [mV]"));
    // Printable as the window is: the caller grabs the widget.
    view.resize(800, 900);
    EXPECT_FALSE(view.PrintWidget()->grab().isNull());
}

class HistoryWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store_ = std::make_unique<RestoreStore>(dir_.path().toStdString(), [this] { return now_; });
        names_.push_back(Add(RestoreKind::Read, {"K2 1.5", "1.12.2026", "10:00"}, "first"));
        names_.push_back(Add(RestoreKind::Saved, {}, "second"));
        names_.push_back(Add(RestoreKind::Opened, {}, "third"));
        // The middle one edited by hand beyond reading.
        std::ofstream(dir_.path().toStdString() + "/" + names_[1].toStdString(), std::ios::binary)
            << "nonsense";
        store_->CheckFiles();
    }
    QString Add(RestoreKind kind, const IdentityTexts& unit, const std::string& note) {
        const AddResult r = store_->Add(kind, DefaultImage(), false, unit, "", note);
        now_ += 60;
        return QString::fromStdString(r.fileName);
    }
    QTemporaryDir dir_;
    std::int64_t now_ = kFirst;
    std::unique_ptr<RestoreStore> store_;
    QStringList names_;
};

TEST_F(HistoryWindowTest, ListsNewestFirstAndAsksForOpenAndCompare) {
    HistoryWindow window(store_.get());
    window.Refresh();
    QTreeView* list = window.List();
    QAbstractItemModel* model = window.Model();
    auto text = [&](int row, int column) { return model->index(row, column).data().toString(); };
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(text(0, HistoryWindow::NoteColumn), "third");
    EXPECT_EQ(text(0, HistoryWindow::KindColumn), "Opened");
    EXPECT_EQ(text(1, HistoryWindow::KindColumn), "Saved (unreadable)");
    EXPECT_EQ(text(2, HistoryWindow::UnitColumn), "K2 1.5 1.12.2026 10:00");
    EXPECT_FALSE(window.ProblemsLabel()->text().isEmpty());  // the unreadable file has its line

    QSignalSpy open(&window, &HistoryWindow::openRequested);
    QSignalSpy compare(&window, &HistoryWindow::compareRequested);
    list->setCurrentIndex(model->index(1, 0));
    EXPECT_FALSE(window.OpenButton()->isEnabled());
    EXPECT_FALSE(window.CompareButton()->isEnabled());
    window.OpenButton()->click();
    EXPECT_EQ(open.count(), 0);

    list->setCurrentIndex(model->index(2, 0));
    ASSERT_TRUE(window.OpenButton()->isEnabled());
    window.OpenButton()->click();
    window.CompareButton()->click();
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(open.at(0).at(0).toString(), names_[0]);
    ASSERT_EQ(compare.count(), 1);
    EXPECT_EQ(compare.at(0).at(0).toString(), names_[0]);

    QString opened;
    window.SetFolderOpener([&](const QString& path) { opened = path; });
    window.ShowFileButton()->click();
    EXPECT_EQ(opened, dir_.path());
}

TEST_F(HistoryWindowTest, ANoteTypedInTheListIsStoredAndTheLanguageSwitches) {
    HistoryWindow window(store_.get());
    window.Refresh();
    QAbstractItemModel* model = window.Model();
    auto text = [&](int row, int column) { return model->index(row, column).data().toString(); };
    ASSERT_TRUE(
        model->setData(model->index(0, HistoryWindow::NoteColumn), QString::fromUtf8("po závodě")));
    RestoreStore fresh(dir_.path().toStdString());
    EXPECT_EQ(fresh.List().front().note, "po závodě");

    window.SetLanguage(kLanguageCzech);
    EXPECT_EQ(model->headerData(HistoryWindow::NoteColumn, Qt::Horizontal).toString(),
              QString::fromUtf8("Poznámka"));
    EXPECT_EQ(text(0, HistoryWindow::KindColumn), QString::fromUtf8("Otevřeno"));
    EXPECT_EQ(text(0, HistoryWindow::NoteColumn), QString::fromUtf8("po závodě"));
    window.SetLanguage(kLanguageGerman);
    EXPECT_EQ(window.CompareButton()->text(), "&Unterschiede");
}

TEST(HistoryWindowGroups, ALiveSessionShowsAsOneGroupThatOpensAndKeepsEveryPoint) {
    QTemporaryDir dir;
    std::int64_t now = kFirst;
    RestoreStore store(dir.path().toStdString(), [&now] { return now; });
    auto add = [&](RestoreKind kind, std::int64_t after) {
        now += after;
        return QString::fromStdString(store.Add(kind, DefaultImage(), false, {}, "", "").fileName);
    };
    const QString read = add(RestoreKind::Read, 0);
    QStringList programmed;  // an F5 every 20 seconds for 12 minutes
    for (int i = 0; i < 37; ++i) programmed.prepend(add(RestoreKind::Programmed, 20));

    HistoryWindow window(&store);
    window.show();
    window.Refresh();
    QAbstractItemModel* model = window.Model();
    ASSERT_EQ(model->rowCount(), 2);
    const QModelIndex group = model->index(0, 0);
    const QLocale locale = QLocale::system();
    const QDateTime first =
        QDateTime::fromSecsSinceEpoch(kFirst + 20, QTimeZone::utc()).toLocalTime();
    const QDateTime last =
        QDateTime::fromSecsSinceEpoch(kFirst + 37 * 20, QTimeZone::utc()).toLocalTime();
    EXPECT_EQ(group.data().toString(),
              "Programmed 37 times, " + locale.toString(first, QLocale::ShortFormat) +
                  QChar(0x2013) + locale.toString(last.time(), QLocale::ShortFormat));
    EXPECT_TRUE(window.List()->isFirstColumnSpanned(0, QModelIndex()));
    ASSERT_EQ(model->rowCount(group), 37);
    EXPECT_EQ(model->index(36, HistoryWindow::KindColumn, group).data().toString(), "Programmed");
    EXPECT_EQ(model->index(1, HistoryWindow::KindColumn).data().toString(), "Read");
    // Opened, its points stand one step in and are not cut short: the columns widen for them.
    window.List()->expand(group);
    for (const int column : {HistoryWindow::TimeColumn, HistoryWindow::KindColumn}) {
        const QModelIndex cell = model->index(0, column, group);
        EXPECT_GE(window.List()->visualRect(cell).width(),
                  window.List()->fontMetrics().horizontalAdvance(cell.data().toString()))
            << cell.data().toString().toStdString();
    }
    window.List()->collapse(group);

    // The group row stands for its newest point; a note belongs to one point only.
    QSignalSpy open(&window, &HistoryWindow::openRequested);
    window.List()->setCurrentIndex(group);
    EXPECT_EQ(window.CurrentFileName(), programmed.first());
    EXPECT_FALSE(window.NoteButton()->isEnabled());
    EXPECT_FALSE(model->setData(group.siblingAtColumn(HistoryWindow::NoteColumn), "x"));
    window.OpenButton()->click();
    ASSERT_EQ(open.count(), 1);
    EXPECT_EQ(open.at(0).at(0).toString(), programmed.first());
    const QModelIndex oldest = model->index(36, HistoryWindow::NoteColumn, group);
    ASSERT_TRUE(model->setData(oldest, "base map"));
    window.List()->setCurrentIndex(oldest);
    EXPECT_EQ(window.CurrentFileName(), programmed.last());
    EXPECT_TRUE(window.NoteButton()->isEnabled());

    // The chosen point stays chosen, inside its group, when a point is added.
    programmed.prepend(add(RestoreKind::Programmed, 30));
    window.Refresh();
    EXPECT_EQ(window.CurrentFileName(), programmed.last());
    // One more point joins the group, which stays open; nothing was dropped.
    window.List()->expand(model->index(0, 0));
    window.List()->setCurrentIndex(model->index(1, 0));
    ASSERT_EQ(window.CurrentFileName(), read);
    programmed.prepend(add(RestoreKind::Programmed, 30));
    window.Refresh();
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 39);
    EXPECT_TRUE(window.List()->isExpanded(model->index(0, 0)));
    EXPECT_EQ(window.CurrentFileName(), read);
    EXPECT_EQ(store.List().size(), 40u);
    EXPECT_EQ(model->index(38, HistoryWindow::NoteColumn, model->index(0, 0)).data().toString(),
              "base map");

    // Ten minutes later a new run begins: a point on its own.
    add(RestoreKind::Programmed, 600);
    window.Refresh();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 0);
    EXPECT_EQ(model->index(0, HistoryWindow::KindColumn).data().toString(), "Programmed");
}

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
    // Before QApplication exists, so the tests and their listing need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
