#include "ui/help/help_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>

namespace korvan {
namespace {

constexpr std::uint8_t kCzech = 0;
constexpr std::uint8_t kEnglish = 1;
constexpr std::uint8_t kGerman = 2;

const QByteArray kGoodPage =
    "<!DOCTYPE html>\n<html><body><h1>Zündung</h1>"
    "<p><a href=\"second.html\">weiter</a></p></body></html>";

// Three folders, searched in order, each filled by a case.
class ManualFolderTest : public ::testing::Test {
  protected:
    QString Folder(int index) const { return dir_.filePath(QString("folder%1").arg(index)); }
    QStringList Folders() const { return {Folder(0), Folder(1), Folder(2)}; }

    void SetUp() override {
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(QDir().mkpath(Folder(i)));
    }

    void Write(int folder, const QString& name, const QByteArray& content) {
        QFile file(QDir(Folder(folder)).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir dir_;
};

enum class Place { Good, Empty, Blank, Binary, Folder, Unreadable };

struct LookupCase {
    const char* name;
    std::uint8_t language;
    std::vector<std::pair<int, Place>> files;  // folder index, what is put there
    int foundIn;                               // -1: nothing usable
    ManualDamage damage;
    int damagedIn;
};

TEST_F(ManualFolderTest, FirstUsableManualWinsAndDamageIsNamed) {
    const LookupCase cases[] = {
        {"missing everywhere", kEnglish, {}, -1, ManualDamage::None, -1},
        {"first folder", kCzech, {{0, Place::Good}, {1, Place::Good}}, 0, ManualDamage::None, -1},
        {"last folder", kGerman, {{2, Place::Good}}, 2, ManualDamage::None, -1},
        {"empty copy does not hide a good one",
         kEnglish,
         {{0, Place::Empty}, {1, Place::Good}},
         1,
         ManualDamage::Empty,
         0},
        {"empty", kEnglish, {{1, Place::Empty}}, -1, ManualDamage::Empty, 1},
        {"white space only", kEnglish, {{0, Place::Blank}}, -1, ManualDamage::Empty, 0},
        {"not html", kGerman, {{0, Place::Binary}}, -1, ManualDamage::NotHtml, 0},
        {"a folder of that name", kCzech, {{0, Place::Folder}}, -1, ManualDamage::NotAFile, 0},
        {"first damage is reported",
         kEnglish,
         {{0, Place::Binary}, {2, Place::Empty}},
         -1,
         ManualDamage::NotHtml,
         0},
        {"unreadable", kEnglish, {{1, Place::Unreadable}}, -1, ManualDamage::Unreadable, 1},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Root reads every file, so an unreadable manual cannot be made there.
        if (c.damage == ManualDamage::Unreadable && geteuid() == 0) continue;
        for (int i = 0; i < 3; ++i) {
            QDir(Folder(i)).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(Folder(i)));
        }
        const QString name = ManualFileName(c.language);
        for (const auto& [folder, place] : c.files) {
            const QString path = QDir(Folder(folder)).filePath(name);
            switch (place) {
                case Place::Good:
                    Write(folder, name, kGoodPage);
                    break;
                case Place::Empty:
                    Write(folder, name, {});
                    break;
                case Place::Blank:
                    Write(folder, name, " \r\n\t\n");
                    break;
                case Place::Binary:
                    Write(folder, name, QByteArray("\x00\x01PK\x03\x04", 7));
                    break;
                case Place::Folder:
                    ASSERT_TRUE(QDir().mkpath(path));
                    break;
                case Place::Unreadable:
                    Write(folder, name, kGoodPage);
                    QFile::setPermissions(path, QFileDevice::WriteOwner);
                    break;
            }
        }
        const ManualLookup lookup = FindManual(c.language, Folders());
        EXPECT_EQ(lookup.fileName, name);
        const QString expected = c.foundIn < 0 ? QString() : QDir(Folder(c.foundIn)).filePath(name);
        EXPECT_EQ(lookup.path, expected);
        EXPECT_EQ(lookup.damage, c.damage);
        if (c.damagedIn >= 0) {
            EXPECT_EQ(lookup.damagedPath, QDir(Folder(c.damagedIn)).filePath(name));
        }
        // Every folder up to the one that had it was looked at, in order.
        const int looked = c.foundIn < 0 ? 3 : c.foundIn + 1;
        ASSERT_EQ(lookup.tried.size(), looked);
        for (int i = 0; i < looked; ++i) EXPECT_EQ(lookup.tried[i], QDir(Folder(i)).filePath(name));
        if (!lookup.Found()) {
            // The message names the file, whichever problem it is.
            EXPECT_TRUE(ManualProblemText(c.language, lookup).contains(name));
        }
    }
}

TEST(ManualTextTest, MissingManualNamesFileAndPlacesInEachLanguage) {
    struct Case {
        std::uint8_t language;
        const char* fileName;
        const char* words;
    };
    const Case cases[] = {
        {kCzech, "manual_cs.html", "nebyl nalezen"},
        {kEnglish, "manual_en.html", "was not found"},
        {kGerman, "manual_de.html", "wurde nicht gefunden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        ManualLookup lookup;
        lookup.fileName = ManualFileName(c.language);
        EXPECT_EQ(lookup.fileName, c.fileName);
        lookup.tried = {"/opt/a/" + lookup.fileName, "/opt/b/" + lookup.fileName};
        const QString text = ManualProblemText(c.language, lookup);
        EXPECT_TRUE(text.contains(c.words)) << text.toStdString();
        EXPECT_TRUE(text.contains("/opt/a/" + lookup.fileName)) << text.toStdString();
        EXPECT_TRUE(text.contains("/opt/b/" + lookup.fileName)) << text.toStdString();
    }
}

TEST(ManualFoldersTest, InstalledAndSourceFoldersAreSearched) {
    const QStringList folders = ManualFolders();
    const QString exeDir = QCoreApplication::applicationDirPath();
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], exeDir);
    EXPECT_EQ(folders[1], QDir::cleanPath(exeDir + "/../share/doc/korvan2"));
    EXPECT_TRUE(folders.contains(QDir::cleanPath(KORVAN_SOURCE_MANUAL_DIR)));
    QStringList unique = folders;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

QAction* ToolAction(HelpWindow& window, int index) {
    return window.findChild<QToolBar*>()->actions().at(index);
}

TEST(HelpWindowTest, ShowsManualWithHistoryAndIsNotModal) {
    QTemporaryDir dir;
    QFile first(dir.filePath("manual_de.html"));
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.write(kGoodPage);
    first.close();
    QFile second(dir.filePath("second.html"));
    ASSERT_TRUE(second.open(QIODevice::WriteOnly));
    second.write("<html><body><p>Zweite Seite</p></body></html>");
    second.close();

    HelpWindow window;
    ASSERT_TRUE(window.ShowManual(kGerman, {dir.path()}));
    EXPECT_TRUE(window.Problem().isEmpty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(window.windowTitle(), "Korvan2 - Hilfe");
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Zündung"));

    QAction* back = ToolAction(window, 0);
    QAction* forward = ToolAction(window, 1);
    QAction* home = ToolAction(window, 2);
    EXPECT_EQ(back->text(), "Zurück");
    EXPECT_FALSE(back->isEnabled());

    window.Browser()->setSource(QUrl::fromLocalFile(dir.filePath("second.html")));
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Zweite Seite"));
    ASSERT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Zündung"));
    EXPECT_TRUE(forward->isEnabled());
    forward->trigger();
    home->trigger();
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Zündung"));
}

TEST(HelpWindowTest, MissingManualIsShownAsMessageAndAFoundOneReplacesIt) {
    QTemporaryDir empty;
    QTemporaryDir good;
    QFile page(good.filePath("manual_en.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body>Connecting the unit</body></html>");
    page.close();

    HelpWindow window;
    EXPECT_FALSE(window.ShowManual(kEnglish, {empty.path()}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.Problem().contains(empty.filePath("manual_en.html")));
    EXPECT_EQ(window.Browser()->toPlainText(), window.Problem());
    EXPECT_FALSE(ToolAction(window, 2)->isEnabled());

    EXPECT_FALSE(window.ShowManual(kCzech, {empty.path()}));
    EXPECT_TRUE(window.Problem().contains("manual_cs.html"));
    EXPECT_EQ(window.windowTitle(), "Korvan2 - Nápověda");

    ASSERT_TRUE(window.ShowManual(kEnglish, {good.path()}));
    EXPECT_TRUE(window.Problem().isEmpty());
    EXPECT_TRUE(window.Browser()->toPlainText().contains("Connecting the unit"));
    EXPECT_FALSE(ToolAction(window, 0)->isEnabled());
}

}  // namespace
}  // namespace korvan

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
