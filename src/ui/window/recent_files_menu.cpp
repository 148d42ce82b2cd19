#include "ui/window/recent_files_menu.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "files/recent_files.h"
#include "params/localized_text.h"
#include "ui/window/parameter_model.h"

namespace korvan {

namespace {

const LocalizedText kRecentTitle{"Naposledy &použité", "Recent &files", "&Zuletzt verwendet"};
const LocalizedText kNoRecent{"(žádné)", "(none)", "(keine)"};

}  // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QStatusBar& statusBar, const ParameterModel& model,
                                 QObject* parent)
    : QObject(parent), menu_(menu), model_(model) {
    field_ = new QLabel(&statusBar);
    field_->setObjectName("LabelFileName");
    statusBar.addPermanentWidget(field_);
    connect(&model, &ParameterModel::LanguageChanged, this, &RecentFilesMenu::ApplyLanguage);
    ApplyLanguage();
}

void RecentFilesMenu::Load(const IniStore& store) {
    files_ = ReadRecentFiles(store);
    Rebuild();
}

void RecentFilesMenu::Save(IniStore& store) const {
    SetRecentFiles(store, files_);
}

void RecentFilesMenu::Add(const QString& path) {
    files_ = WithRecentFile(files_, QFileInfo(path).absoluteFilePath().toStdString());
    Rebuild();
}

void RecentFilesMenu::ShowFileName(const QString& path) {
    // The name alone: the status bar is narrow; the whole path is in the tooltip.
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    if (field_->text() != name) field_->setText(name);
    field_->setToolTip(QDir::toNativeSeparators(path));
    field_->setVisible(!name.isEmpty());
}

void RecentFilesMenu::Rebuild() {
    menu_.clear();
    if (files_.empty()) {
        menu_.addAction(QString::fromUtf8(kNoRecent.In(model_.Language())))->setEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const QString path = QString::fromStdString(files_[i]);
        // "&1 race.ign": the digit chooses it from the keyboard; the status bar shows the path.
        QAction* item = menu_.addAction(
            QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName().replace('&', "&&")));
        item->setObjectName(QString("MenuRecent%1").arg(i + 1));
        item->setStatusTip(QDir::toNativeSeparators(path));
        item->setToolTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { emit OpenRequested(path); });
    }
}

void RecentFilesMenu::ApplyLanguage() {
    menu_.setTitle(QString::fromUtf8(kRecentTitle.In(model_.Language())));
    Rebuild();
}

}  // namespace korvan
