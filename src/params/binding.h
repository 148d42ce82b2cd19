// The rules that tie the parameter controls to the image: the table of numeric fields with
// their limits and scales, the flag fields, and NormalizeImage, which brings an image into
// the ranges and orderings the unit expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "params/device_image.h"

namespace korvan {

// The four pages of the window, in tab order.
enum class Page { Miscellaneous = 0, AdvanceMap = 1, N2oController = 2, Servo = 3 };

// One numeric field: an edit with an attached up-down that holds the shown value
// (raw * scale + shownOffset).
struct NumericField {
    std::string edit;    // control name of the edit, e.g. "EditOmez1"
    std::string upDown;  // its up-down, e.g. "UpDownOmez1"
    std::size_t imageIndex;
    int min;
    int max;
    int step;
    int scale;
    int shownOffset;   // 2500 for the 100 % throttle voltage, else 0
    bool digitGroups;  // shows values of 1000 and more with the locale's group separator
    Page page;

    int ToShown(std::uint8_t raw) const { return shownOffset + raw * scale; }
    // Truncating division, low 8 bits kept (the 100 % throttle voltage wraps as the unit's
    // 8-bit arithmetic does: 2000 mV gives 206).
    std::uint8_t ToRaw(int shown) const {
        return static_cast<std::uint8_t>(shown / scale - shownOffset / scale);
    }
    int Clamp(int shown) const { return shown < min ? min : (shown > max ? max : shown); }
};

// The object name of the edit of map cell `cell` (row * kMapColumns + column): the cells are
// numbered from 50, "Edit50" .. "Edit149". The one place that knows the rule.
std::string MapCellEditName(int cell);

// All 146 numeric fields, page by page in the order the Tab key moves through them.
const std::vector<NumericField>& NumericFields();
// The field of the given edit name, or nullptr.
const NumericField* FindNumericField(const std::string& editName);

// The twelve check boxes that edit a flag of the image.
struct FlagField {
    std::string checkBox;
    std::size_t imageIndex;
};
const std::vector<FlagField>& FlagFields();

// The parse rule of a numeric field: the text, with the locale's digit-group separator
// removed, is taken when it is a whole decimal number within min..max. Returns false (and
// leaves `value` alone) for anything else.
bool ParseFieldText(const std::string& text, const std::string& groupSeparator, int min, int max,
                    int& value);

constexpr std::uint8_t kLanguageCzech = 0;
constexpr std::uint8_t kLanguageEnglish = 1;
constexpr std::uint8_t kLanguageGerman = 2;
constexpr std::uint8_t kMaxComPort = 10;

// Clamps and orders the image in place. In the same pass a language index above German
// becomes English and a COM port above 10 becomes COM1.
void NormalizeImage(DeviceImage& image, std::uint8_t& languageIndex, std::uint8_t& comPortNumber);
// The image part alone, for callers that hold no window settings (tools, the simulator).
void NormalizeImage(DeviceImage& image);

}  // namespace korvan
