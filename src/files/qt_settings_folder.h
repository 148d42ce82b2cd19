// Where the program keeps its settings file and state file, for the window and the command
// line alike: the per-user configuration folder + "/Korvan2" (on Linux $XDG_CONFIG_HOME/Korvan2,
// by default ~/.config/Korvan2). The one Qt piece of the file layer.
#pragma once

#include <string>

namespace korvan {

std::string SettingsFolderPath();
// The settings file "Korvan2.ini" in that folder.
std::string SettingsFilePath();

}  // namespace korvan
