#include "ui/help/help_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "params/localized_text.h"
#include "ui/languages/qt_fill.h"

namespace korvan {

namespace {

const LocalizedText kManualName = {"manual_cs.html", "manual_en.html", "manual_de.html"};

const LocalizedText kHelpTitle = {"Korvan2 - Nápověda", "Korvan2 - Help", "Korvan2 - Hilfe"};
const LocalizedText kBack = {"Zpět", "Back", "Zurück"};
const LocalizedText kForward = {"Vpřed", "Forward", "Vorwärts"};
const LocalizedText kHome = {"Obsah", "Contents", "Inhalt"};

// %1 is the file name.
const LocalizedText kManualMissing = {
    "Návod %1 nebyl nalezen. Hledáno v:",
    "The manual %1 was not found. Looked for:",
    "Das Handbuch %1 wurde nicht gefunden. Gesucht wurde:",
};
// %1 is the full path of the damaged file.
const LocalizedText kManualNotAFile = {
    "Návod %1 není soubor.",
    "The manual %1 is not a file.",
    "Das Handbuch %1 ist keine Datei.",
};
const LocalizedText kManualUnreadable = {
    "Návod %1 nelze přečíst.",
    "The manual %1 cannot be read.",
    "Das Handbuch %1 kann nicht gelesen werden.",
};
const LocalizedText kManualEmpty = {
    "Návod %1 je prázdný.",
    "The manual %1 is empty.",
    "Das Handbuch %1 ist leer.",
};
const LocalizedText kManualNotHtml = {
    "Návod %1 je poškozený: není to stránka HTML.",
    "The manual %1 is damaged: it is not an HTML page.",
    "Das Handbuch %1 ist beschädigt: es ist keine HTML-Seite.",
};

// An HTML page names its type near the top; a look at the first part of the file is enough to
// tell a manual from a truncated or overwritten one.
constexpr qint64 kHtmlSniffBytes = 64 * 1024;

QString Text(const LocalizedText& text, std::uint8_t language) {
    return QString::fromUtf8(text.In(language));
}

ManualDamage Inspect(const QFileInfo& info) {
    if (!info.isFile()) return ManualDamage::NotAFile;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) return ManualDamage::Unreadable;
    const QByteArray head = file.read(kHtmlSniffBytes);
    if (head.trimmed().isEmpty()) return ManualDamage::Empty;
    const QByteArray lower = head.toLower();
    if (!lower.contains("<html") && !lower.contains("<!doctype html")) return ManualDamage::NotHtml;
    return ManualDamage::None;
}

}  // namespace

QString ManualFileName(std::uint8_t language) {
    return Text(kManualName, language);
}

QStringList ManualFolders() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        exeDir,
        exeDir + "/../share/doc/korvan2",
        QStringLiteral(KORVAN_DOC_DIR),
        QStringLiteral(KORVAN_SOURCE_MANUAL_DIR),
    };
    QStringList folders;
    for (const QString& folder : candidates) {
        const QString clean = QDir::cleanPath(folder);
        if (!folders.contains(clean)) folders.append(clean);
    }
    return folders;
}

ManualLookup FindManual(std::uint8_t language, const QStringList& folders) {
    ManualLookup lookup;
    lookup.fileName = ManualFileName(language);
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder).filePath(lookup.fileName));
        lookup.tried.append(QDir::cleanPath(info.absoluteFilePath()));
        if (!info.exists()) continue;
        const ManualDamage damage = Inspect(info);
        if (damage == ManualDamage::None) {
            lookup.path = lookup.tried.last();
            return lookup;
        }
        if (lookup.damage == ManualDamage::None) {
            lookup.damage = damage;
            lookup.damagedPath = lookup.tried.last();
        }
    }
    return lookup;
}

QString ManualProblemText(std::uint8_t language, const ManualLookup& lookup) {
    switch (lookup.damage) {
        case ManualDamage::NotAFile:
            return QFill(kManualNotAFile, language, lookup.damagedPath);
        case ManualDamage::Unreadable:
            return QFill(kManualUnreadable, language, lookup.damagedPath);
        case ManualDamage::Empty:
            return QFill(kManualEmpty, language, lookup.damagedPath);
        case ManualDamage::NotHtml:
            return QFill(kManualNotHtml, language, lookup.damagedPath);
        case ManualDamage::None:
            break;
    }
    QString text = QFill(kManualMissing, language, lookup.fileName);
    for (const QString& path : lookup.tried) text += "\n" + path;
    return text;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      toolBar_(new QToolBar(this)),
      back_(toolBar_->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString())),
      forward_(toolBar_->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString())),
      home_(toolBar_->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString())),
      browser_(new QTextBrowser(this)) {
    setObjectName("HelpWindow");
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    // Links to the web go to the desktop's browser; the manual's own pages stay in here.
    browser_->setOpenExternalLinks(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(browser_);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home_, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);

    resize(kWidth, kHeight);
    ApplyLanguage(1);
}

void HelpWindow::ApplyLanguage(std::uint8_t language) {
    setWindowTitle(Text(kHelpTitle, language));
    back_->setText(Text(kBack, language));
    forward_->setText(Text(kForward, language));
    home_->setText(Text(kHome, language));
}

bool HelpWindow::ShowManual(std::uint8_t language, const QStringList& folders) {
    ApplyLanguage(language);
    const ManualLookup lookup = FindManual(language, folders);
    // A new document starts a new history: back must not lead into another language's manual.
    browser_->clearHistory();
    if (lookup.Found()) {
        problem_.clear();
        browser_->setSearchPaths({QFileInfo(lookup.path).absolutePath()});
        browser_->setSource(QUrl::fromLocalFile(lookup.path));
        home_->setEnabled(true);
    } else {
        problem_ = ManualProblemText(language, lookup);
        browser_->setSource(QUrl());
        browser_->setPlainText(problem_);
        home_->setEnabled(false);
    }
    show();
    raise();
    activateWindow();
    return lookup.Found();
}

}  // namespace korvan
