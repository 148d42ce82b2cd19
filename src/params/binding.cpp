#include "params/binding.h"

#include <algorithm>

namespace korvan {

namespace {

// A row of the field table, named member by member:
//   Field("EditOmez1", field::Limiter1, misc).Range(999, 25000).PerUnit(100).Grouped()
// The up-down's name follows from the edit's ("EditOmez1" -> "UpDownOmez1").
class Field {
  public:
    Field(const std::string& edit, std::size_t imageIndex, Page page) {
        f_.edit = edit;
        f_.upDown = "UpDown" + edit.substr(std::string("Edit").size());
        f_.imageIndex = imageIndex;
        f_.min = 0;
        f_.max = 0;
        f_.step = 1;
        f_.scale = 1;
        f_.shownOffset = 0;
        f_.digitGroups = false;
        f_.page = page;
    }
    // The limits of the shown value.
    Field& Range(int min, int max) {
        f_.min = min;
        f_.max = max;
        return *this;
    }
    // How much one raw unit shows as; one step of the up-down is one raw unit.
    Field& PerUnit(int shownPerRaw) {
        f_.scale = shownPerRaw;
        f_.step = shownPerRaw;
        return *this;
    }
    // Values of 1000 and more show the locale's digit-group separator.
    Field& Grouped() {
        f_.digitGroups = true;
        return *this;
    }
    // Added to the scaled raw value when shown.
    Field& ShownFrom(int offset) {
        f_.shownOffset = offset;
        return *this;
    }
    operator NumericField() const { return f_; }

  private:
    NumericField f_;
};

std::vector<NumericField> BuildNumericFields() {
    std::vector<NumericField> f;
    const Page misc = Page::Miscellaneous;
    f.push_back(Field("EditTps0", field::Tps0, misc).Range(250, 2500).PerUnit(10).Grouped());
    f.push_back(Field("EditTps100", field::Tps100, misc)
                    .Range(2500, 4750)
                    .PerUnit(10)
                    .Grouped()
                    .ShownFrom(2500));
    f.push_back(Field("EditBaseAdv", field::BaseAdv, misc).Range(0, 40).PerUnit(1));
    f.push_back(Field("EditOmez1", field::Limiter1, misc).Range(999, 25000).PerUnit(100).Grouped());
    f.push_back(Field("EditOmez2", field::Limiter2, misc).Range(999, 25000).PerUnit(100).Grouped());
    f.push_back(Field("EditClutch", field::Clutch, misc).Range(0, 500).PerUnit(10));
    f.push_back(
        Field("EditLedRazeni", field::LedRazeni, misc).Range(1000, 25000).PerUnit(100).Grouped());

    const Page map = Page::AdvanceMap;
    for (int cell = 0; cell < kMapRows * kMapColumns; ++cell) {
        f.push_back(
            Field(MapCellEditName(cell), field::Advance + cell, map).Range(0, 60).PerUnit(1));
    }
    for (int k = 0; k < kAxisPoints; ++k) {
        const std::string n = std::to_string(k + 1);
        f.push_back(Field("EditRpmAdv" + n, field::RpmAdv + k, map)
                        .Range(k == 0 ? 199 : 300, 20100)
                        .PerUnit(100));
    }

    const Page n2o = Page::N2oController;
    f.push_back(Field("EditGas1", field::Gas1, n2o).Range(0, 100).PerUnit(1));
    f.push_back(Field("EditGas2", field::Gas2, n2o).Range(0, 100).PerUnit(1));
    f.push_back(Field("EditGasD", field::GasDelay, n2o).Range(0, 25500).PerUnit(100).Grouped());
    f.push_back(Field("EditGasT", field::GasBuildUp, n2o).Range(0, 25500).PerUnit(100).Grouped());
    f.push_back(Field("EditRetard1", field::Retard1, n2o).Range(0, 25).PerUnit(1));
    f.push_back(Field("EditRetard2", field::Retard2, n2o).Range(0, 25).PerUnit(1));
    f.push_back(
        Field("EditRetardD", field::RetardDelay, n2o).Range(0, 25500).PerUnit(100).Grouped());
    f.push_back(
        Field("EditRetardT", field::RetardBuildUp, n2o).Range(0, 25500).PerUnit(100).Grouped());

    const Page servo = Page::Servo;
    for (int k = 0; k < kAxisPoints; ++k) {
        const std::string n = std::to_string(k + 1);
        f.push_back(
            Field("EditNapPriv" + n, field::NapPriv + k, servo).Range(20, 5000).PerUnit(20));
    }
    for (int k = 0; k < kAxisPoints; ++k) {
        const std::string n = std::to_string(k + 1);
        f.push_back(Field("EditRpmPriv" + n, field::RpmPriv + k, servo)
                        .Range(k < 2 ? 200 : 300, 20100)
                        .PerUnit(100));
    }
    f.push_back(
        Field("EditPrivHyster", field::PrivHyster, servo).Range(0, 1275).PerUnit(5).Grouped());
    return f;
}

void ClampInto(std::uint8_t& v, std::uint8_t lo, std::uint8_t hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
}

void LimitAbove(std::uint8_t& v, std::uint8_t hi) {
    if (v > hi) v = hi;
}

// A breakpoint axis: point k within k + 3 .. k + 191, then strictly rising. A point pulled
// below its left neighbour snaps to neighbour + 1; earlier points are never lowered.
void NormalizeAxis(DeviceImage& image, std::size_t first) {
    for (int k = 0; k < kAxisPoints; ++k) {
        ClampInto(image[first + k], static_cast<std::uint8_t>(k + 3),
                  static_cast<std::uint8_t>(k + 191));
    }
    for (int k = 1; k < kAxisPoints; ++k) {
        if (image[first + k] <= image[first + k - 1]) {
            image[first + k] = static_cast<std::uint8_t>(image[first + k - 1] + 1);
        }
    }
}

}  // namespace

std::string MapCellEditName(int cell) {
    constexpr int kFirstCellNumber = 50;
    return "Edit" + std::to_string(kFirstCellNumber + cell);
}

const std::vector<NumericField>& NumericFields() {
    static const std::vector<NumericField> fields = BuildNumericFields();
    return fields;
}

const NumericField* FindNumericField(const std::string& editName) {
    for (const NumericField& f : NumericFields()) {
        if (f.edit == editName) return &f;
    }
    return nullptr;
}

const std::vector<FlagField>& FlagFields() {
    static const std::vector<FlagField> flags = {
        {"CheckBoxZakazCteni", field::NoReading}, {"CheckBoxRpm2Krat", field::Rpm2},
        {"CheckBoxBuzDlouhe", field::Excitation}, {"CheckBoxPrivEnable", field::PrivEnable},
        {"CheckBoxAktBlok1", field::ActBlok1},    {"CheckBoxAktBlok2", field::ActBlok2},
        {"CheckBoxAktClutch", field::ActClutch},  {"CheckBoxAktN2o", field::ActN2o},
        {"CheckBoxAktLimiter1", field::ActLim1},  {"CheckBoxAktRpm", field::ActTachoLambda},
        {"CheckBoxGas", field::N2oEnable},        {"CheckBoxTpsMapa", field::TpsMapa},
    };
    return flags;
}

bool ParseFieldText(const std::string& text, const std::string& groupSeparator, int min, int max,
                    int& value) {
    // Where the locale groups digits with a (no-break) space, a typed plain blank groups too:
    // nobody can tell the two apart on screen.
    const bool blankGroups =
        groupSeparator == " " || groupSeparator == "\xC2\xA0" || groupSeparator == "\xE2\x80\xAF";
    std::string digits;
    for (std::size_t i = 0; i < text.size();) {
        if (!groupSeparator.empty() &&
            text.compare(i, groupSeparator.size(), groupSeparator) == 0) {
            i += groupSeparator.size();
            continue;
        }
        if (blankGroups && text[i] == ' ') {
            ++i;
            continue;
        }
        digits += text[i++];
    }
    // Leading and trailing blanks are what an edit shows around a number, not part of it.
    const auto first = digits.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    digits = digits.substr(first, digits.find_last_not_of(' ') - first + 1);

    std::size_t i = 0;
    bool negative = false;
    if (digits[0] == '-' || digits[0] == '+') {
        negative = digits[0] == '-';
        i = 1;
    }
    if (i == digits.size()) return false;
    long long v = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 1000000) return false;  // far beyond every field's range; stops overflow
    }
    if (negative) v = -v;
    if (v < min || v > max) return false;
    value = static_cast<int>(v);
    return true;
}

void NormalizeImage(DeviceImage& image) {
    NormalizeAxis(image, field::RpmAdv);

    ClampInto(image[field::Limiter1], 10, 250);
    ClampInto(image[field::Limiter2], 10, 250);
    if (image[field::Limiter2] < image[field::Limiter1])
        image[field::Limiter2] = image[field::Limiter1];

    LimitAbove(image[field::Clutch], 100);
    ClampInto(image[field::LedRazeni], 10, 250);

    LimitAbove(image[field::Gas1], 100);
    LimitAbove(image[field::Gas2], 100);
    if (image[field::Gas2] < image[field::Gas1]) image[field::Gas1] = image[field::Gas2];

    if (image[field::GasBuildUp] == 0) image[field::GasBuildUp] = 1;
    LimitAbove(image[field::GasDelay], 200);
    LimitAbove(image[field::GasBuildUp], 200);

    LimitAbove(image[field::Retard1], 25);
    LimitAbove(image[field::Retard2], 25);
    if (image[field::Retard2] < image[field::Retard1])
        image[field::Retard1] = image[field::Retard2];

    LimitAbove(image[field::RetardDelay], 200);
    ClampInto(image[field::RetardBuildUp], 1, 200);

    LimitAbove(image[field::Tps0], 250);
    LimitAbove(image[field::Tps100], 250);

    NormalizeAxis(image, field::RpmPriv);
}

void NormalizeImage(DeviceImage& image, std::uint8_t& languageIndex, std::uint8_t& comPortNumber) {
    NormalizeImage(image);
    if (languageIndex > kLanguageGerman) languageIndex = kLanguageEnglish;
    if (comPortNumber > kMaxComPort) comPortNumber = 1;
}

}  // namespace korvan
