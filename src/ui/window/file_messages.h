// What the window says when a parameter file is refused or cannot be saved: the message as
// tuners know it on the first line, the file and the reason in the user's language on the
// second ("Open file error" / "/media/stick/race.ign: a device, not a file").
#pragma once

#include <QString>
#include <cstdint>

#include "files/atomic_write.h"
#include "files/parameter_file.h"

namespace korvan {

// Why the file at `path` was not taken; empty when it was read and its version accepted.
QString OpenRefusalText(const QString& path, const ParameterFileLoad& load, std::uint8_t language);
// Why a save to `path` failed.
QString SaveFailureText(const QString& path, const WriteResult& written, std::uint8_t language);

}  // namespace korvan
