#include "history/compare.h"

#include <array>
#include <cstdio>

#include "files/parameter_file.h"
#include "params/binding.h"

namespace korvan {

namespace {

// What each byte of the image is, looked up once: the field tables are searched by name
// elsewhere, but the compare walks every byte and must not search 146 fields each time.
struct ByteRole {
    const NumericField* numeric = nullptr;
    const FlagField* flag = nullptr;
};

const std::array<ByteRole, kImageSize>& ByteRoles() {
    static const std::array<ByteRole, kImageSize> roles = [] {
        std::array<ByteRole, kImageSize> r{};
        for (const NumericField& f : NumericFields()) r[f.imageIndex].numeric = &f;
        for (const FlagField& f : FlagFields()) r[f.imageIndex].flag = &f;
        return r;
    }();
    return roles;
}

bool InRange(std::size_t index, std::size_t first, std::size_t count) {
    return index >= first && index < first + count;
}

void AddAxis(const DeviceImage& base, const DeviceImage& other, AxisKind axis, std::size_t first,
             ParameterComparison& out) {
    const auto& roles = ByteRoles();
    for (int k = 0; k < kAxisPoints; ++k) {
        const std::size_t i = first + static_cast<std::size_t>(k);
        if (base[i] == other[i]) continue;
        const NumericField& f = *roles[i].numeric;
        out.axes.push_back({axis, k, f.ToShown(base[i]), f.ToShown(other[i])});
    }
}

}  // namespace

const char* FieldUnit(std::size_t index) {
    using namespace field;
    if (InRange(index, Advance, kMapRows * kMapColumns)) return "°";
    if (InRange(index, RpmAdv, kAxisPoints) || InRange(index, RpmPriv, kAxisPoints)) return "rpm";
    if (InRange(index, NapPriv, kAxisPoints)) return "mV";
    switch (index) {
        case Tps0:
        case Tps100:
        case PrivHyster:
            return "mV";
        case BaseAdv:
        case Retard1:
        case Retard2:
            return "°";
        case Limiter1:
        case Limiter2:
        case LedRazeni:
            return "rpm";
        case Clutch:
        case GasDelay:
        case GasBuildUp:
        case RetardDelay:
        case RetardBuildUp:
            return "ms";
        case Gas1:
        case Gas2:
            return "%";
        default:
            return "";
    }
}

ParameterComparison CompareParameters(const DeviceImage& base, const DeviceImage& other) {
    ParameterComparison out;
    const auto& roles = ByteRoles();
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const std::size_t i = AdvanceIndex(row, column);
            if (base[i] != other[i]) out.cells.push_back({row, column, base[i], other[i]});
        }
    }
    for (int column = 0; column < kMapColumns; ++column) {
        const std::size_t i = field::RpmAdv + static_cast<std::size_t>(column);
        out.columnRpm[static_cast<std::size_t>(column)] = roles[i].numeric->ToShown(other[i]);
    }
    AddAxis(base, other, AxisKind::AdvanceRpm, field::RpmAdv, out);
    AddAxis(base, other, AxisKind::ServoVoltage, field::NapPriv, out);
    AddAxis(base, other, AxisKind::ServoRpm, field::RpmPriv, out);

    for (std::size_t i = kParamImageBegin; i < field::RpmAdv; ++i) {
        if (base[i] == other[i]) continue;
        const ByteRole& role = roles[i];
        if (role.numeric) {
            out.fields.push_back({FieldKind::Numeric, role.numeric->edit, i,
                                  role.numeric->ToShown(base[i]), role.numeric->ToShown(other[i]),
                                  FieldUnit(i)});
        } else if (role.flag) {
            out.fields.push_back({FieldKind::Flag, role.flag->checkBox, i, base[i], other[i], ""});
        } else if (i == field::BikeType) {
            out.fields.push_back({FieldKind::BikeType, "ComboBox1", i, base[i], other[i], ""});
        } else {
            out.fields.push_back({FieldKind::Byte, "", i, base[i], other[i], ""});
        }
    }
    return out;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += ch;  // UTF-8 passes through; JSON is UTF-8
                }
        }
    }
    return out + "\"";
}

namespace {

// The first image byte of the ten-point table a breakpoint belongs to.
std::size_t AxisFirstByte(AxisKind axis) {
    switch (axis) {
        case AxisKind::AdvanceRpm:
            return field::RpmAdv;
        case AxisKind::ServoVoltage:
            return field::NapPriv;
        case AxisKind::ServoRpm:
            return field::RpmPriv;
    }
    return field::RpmAdv;
}

const char* KindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Numeric:
            return "numeric";
        case FieldKind::Flag:
            return "flag";
        case FieldKind::BikeType:
            return "bikeType";
        case FieldKind::Byte:
            return "byte";
    }
    return "";
}

std::string Pair(const char* key, int value) {
    return JsonString(key) + ":" + std::to_string(value);
}

// The parameter file's key of an image byte and which of its numbers it is: the names a
// script already knows from the .ign file ("BASE_ADV", "TPS" 1); null for a byte no file holds.
std::string FileKeyPairs(std::size_t imageIndex) {
    const ParameterFileKey key = ParameterFileKeyOf(imageIndex);
    if (key.key == nullptr) return "\"key\":null";
    return "\"key\":" + JsonString(key.key) + "," + Pair("index", key.index);
}

}  // namespace

std::string ComparisonJson(const ParameterComparison& c) {
    std::string out = "{\"identical\":";
    out += c.Identical() ? "true" : "false";
    out += "," + Pair("changes", c.ChangeCount());
    out += ",\"cells\":[";
    for (std::size_t i = 0; i < c.cells.size(); ++i) {
        const CellDifference& d = c.cells[i];
        out += (i ? ",{" : "{") + FileKeyPairs(AdvanceIndex(d.row, d.column)) + "," +
               Pair("row", d.row) + "," + Pair("column", d.column) + "," +
               Pair("tpsPercent", kTpsAxisPercent[static_cast<std::size_t>(d.row)]) + "," +
               Pair("base", d.base) + "," + Pair("other", d.other) + "," +
               Pair("delta", d.Delta()) + ",\"unit\":" + JsonString("°") + "}";
    }
    out += "],\"axes\":[";
    for (std::size_t i = 0; i < c.axes.size(); ++i) {
        const AxisDifference& d = c.axes[i];
        const char* unit = d.axis == AxisKind::ServoVoltage ? "mV" : "rpm";
        out += (i ? ",{" : "{") + FileKeyPairs(AxisFirstByte(d.axis) + d.point) + "," +
               Pair("base", d.base) + "," + Pair("other", d.other) + "," +
               Pair("delta", d.Delta()) + ",\"unit\":" + JsonString(unit) + "}";
    }
    out += "],\"fields\":[";
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        const FieldDifference& d = c.fields[i];
        out += (i ? ",{" : "{") + FileKeyPairs(d.imageIndex) +
               ",\"kind\":" + JsonString(KindName(d.kind)) + "," +
               Pair("offset", static_cast<int>(d.imageIndex)) + "," + Pair("base", d.base) + "," +
               Pair("other", d.other) + ",\"unit\":" + JsonString(d.unit) + "}";
    }
    out += "]}";
    return out;
}

}  // namespace korvan
