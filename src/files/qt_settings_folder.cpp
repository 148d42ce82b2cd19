#include "files/qt_settings_folder.h"

#include <QStandardPaths>

#include "files/settings.h"

namespace korvan {

std::string SettingsFolderPath() {
    return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Korvan2")
        .toStdString();
}

std::string SettingsFilePath() {
    return SettingsFolderPath() + "/" + kSettingsFileName;
}

}  // namespace korvan
