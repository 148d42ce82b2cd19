// Fill for the window: the same %1..%9 texts in three languages, given as a QString, with
// QString values taken as they are. The window's texts go through this and nothing else, so
// one rule fills every placeholder in every layer.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "params/localized_text.h"

namespace korvan {

namespace fill_detail {
inline std::string Value(const QString& text) {
    return text.toStdString();
}
template <typename T>
const T& Value(const T& value) {
    return value;
}
}  // namespace fill_detail

template <typename... Args>
QString QFill(const LocalizedText& text, std::uint8_t language, const Args&... args) {
    return QString::fromStdString(Fill(text, language, fill_detail::Value(args)...));
}

}  // namespace korvan
