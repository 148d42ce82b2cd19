// The files a tuner used last: owns File > Recent files (the five last parameter files opened
// or saved, newest first, kept in the settings) and the status bar's field with the name of
// the file the parameters came from or went to. Choosing an entry asks for it to be opened.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QStatusBar;

namespace korvan {

class IniStore;
class ParameterModel;

class RecentFilesMenu : public QObject {
    Q_OBJECT

  public:
    // Fills `menu` (File > Recent files) and adds the file name field to `statusBar`.
    RecentFilesMenu(QMenu& menu, QStatusBar& statusBar, const ParameterModel& model,
                    QObject* parent = nullptr);

    // Section "RECENT_FILES".
    void Load(const IniStore& store);
    void Save(IniStore& store) const;

    const std::vector<std::string>& Files() const { return files_; }
    QLabel* FileNameField() const { return field_; }

  public slots:
    // A file was opened or saved: it goes to the top of the list.
    void Add(const QString& path);
    // The file the parameters belong to now (empty after New or a read).
    void ShowFileName(const QString& path);

  signals:
    void OpenRequested(const QString& path);

  private:
    void Rebuild();
    void ApplyLanguage();

    QMenu& menu_;
    const ParameterModel& model_;
    std::vector<std::string> files_;
    QLabel* field_ = nullptr;  // "LabelFileName"
};

}  // namespace korvan
