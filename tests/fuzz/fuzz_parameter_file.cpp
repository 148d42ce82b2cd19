// Fuzzes the .ign reader. Each input is read into two start images and compared with a plain
// model of the format written from its key table; whatever the reader accepted is then written
// out and read back, which has to reproduce every field the file holds.
#include <algorithm>
#include <array>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "files/parameter_file.h"
#include "fuzz_support.h"

namespace korvan::fuzz {
namespace {

constexpr const char* kHeaderKey = "MAVELTIK_KEY";
constexpr const char* kExtMonKey = "EXT_MON";
constexpr unsigned kFileVersion = 15;
constexpr unsigned kNumberModulus = 65536;  // numbers count modulo 2^16 ...
constexpr unsigned kByteModulus = 256;      // ... and bytes keep the low 8 bits
// Every field has a fixed width, so the writer's output never changes length.
constexpr std::size_t kWrittenFileSize = 1482;

// One number of a key: the image byte it fills, byte = number / divisor + add (modulo 256).
struct Value {
    std::size_t imageIndex;
    unsigned divisor;
    unsigned add;
    bool flag;  // written as 1 when the byte is not 0
};

struct Key {
    const char* name;
    std::vector<Value> values;
};

Value Num(std::size_t index, unsigned divisor = 1, unsigned add = 0) {
    return {index, divisor, add, false};
}
Value Flag(std::size_t index) {
    return {index, 1, 0, true};
}

std::vector<Value> Numbers(std::size_t first, int count, unsigned divisor) {
    std::vector<Value> v;
    for (int i = 0; i < count; ++i) v.push_back(Num(first + static_cast<std::size_t>(i), divisor));
    return v;
}

const std::vector<Key>& Keys() {
    static const std::vector<Key> keys = {
        {"BIKE", {Num(field::BikeType)}},
        {"BASE_ADV", {Num(field::BaseAdv)}},
        {"LIMITER1", {Num(field::Limiter1)}},
        {"LIMITER2", {Num(field::Limiter2)}},
        {"CLUTCH", {Num(field::Clutch, 10)}},
        {"LED_RAZENI", {Num(field::LedRazeni, 100)}},
        // The file holds (Tps100 + 250) * 10 mV; + 6 is - 250 modulo 256.
        {"TPS", {Num(field::Tps0, 10), Num(field::Tps100, 10, 6)}},
        {"N2O",
         {Flag(field::N2oEnable), Num(field::Gas1), Num(field::Gas2), Num(field::GasDelay, 100),
          Num(field::GasBuildUp, 100)}},
        {"RETARD",
         {Num(field::Retard1), Num(field::Retard2), Num(field::RetardDelay, 100),
          Num(field::RetardBuildUp, 100)}},
        {"NO_READING", {Flag(field::NoReading)}},
        {"RPM2", {Flag(field::Rpm2)}},
        {"EXCITATION", {Flag(field::Excitation)}},
        {"TPS_MAPA", {Flag(field::TpsMapa)}},
        {"ACT_LIM1", {Flag(field::ActLim1)}},
        {"ACT_CLUTCH", {Flag(field::ActClutch)}},
        {"ACT_BLOK1", {Flag(field::ActBlok1)}},
        {"ACT_BLOK2", {Flag(field::ActBlok2)}},
        {"ACT_RPM", {Flag(field::ActRpm)}},
        {"ACT_N2O", {Flag(field::ActN2o)}},
        {"RPM_ADV", Numbers(field::RpmAdv, kAxisPoints, 100)},
        {"ADVANCE", Numbers(field::Advance, kMapRows * kMapColumns, 1)},
        {"PRIV_ENABLE", {Flag(field::PrivEnable)}},
        {"PRIV_HYSTER", {Num(field::PrivHyster, 5)}},
        {"RPM_PRIV", Numbers(field::RpmPriv, kAxisPoints, 100)},
        {"NAP_PRIV", Numbers(field::NapPriv, kAxisPoints, 20)},
    };
    return keys;
}

const Key* FindKey(const std::string& token) {
    for (const Key& k : Keys()) {
        if (token == k.name) return &k;
    }
    return nullptr;
}

bool NeverInFile(std::size_t i) {
    return i < kParamImageBegin || i == field::ActTachoLambda ||
           (i >= field::ParamReserved && i < field::ParamReserved + field::ParamReservedLength);
}

// Which image bytes the file holds, and which of them as flags.
struct Layout {
    std::array<bool, kImageSize> stored{};
    std::array<bool, kImageSize> flag{};
};

const Layout& FileLayout() {
    static const Layout layout = [] {
        Layout l;
        for (const Key& k : Keys()) {
            for (const Value& v : k.values) {
                FUZZ_CHECK(!l.stored[v.imageIndex], "model: every byte has one key");
                l.stored[v.imageIndex] = true;
                l.flag[v.imageIndex] = v.flag;
            }
        }
        for (std::size_t i = 0; i < kImageSize; ++i) {
            FUZZ_CHECK(l.stored[i] == !NeverInFile(i),
                       "model: the file holds pages 1 and 2 but the reserved bytes");
        }
        return l;
    }();
    return layout;
}

struct Outcome {
    bool accepted = false;
    std::optional<bool> extendedMonitor;
    DeviceImage image;
};

// The format as described: the first header key directly followed by the number 15 opens the
// keys; each key takes the numbers that follow it, up to its count, and stops at the first
// token that is not a number, which is then scanned as a token of its own.
Outcome Model(const std::vector<std::string>& tokens, const DeviceImage& start) {
    Outcome out;
    out.image = start;
    std::size_t i = 0;
    while (i < tokens.size() && !out.accepted) {
        if (tokens[i] == kHeaderKey && i + 1 < tokens.size() && IsNumber(tokens[i + 1])) {
            out.accepted = NumberModulo(tokens[i + 1], kNumberModulus) == kFileVersion;
            i += 2;
        } else {
            ++i;
        }
    }
    if (!out.accepted) return out;
    while (i < tokens.size()) {
        const std::string& token = tokens[i++];
        if (token == kExtMonKey) {
            if (i < tokens.size() && IsNumber(tokens[i])) {
                out.extendedMonitor = NumberModulo(tokens[i++], kNumberModulus) != 0;
            }
            continue;
        }
        const Key* key = FindKey(token);
        if (!key) continue;
        for (const Value& v : key->values) {
            if (i >= tokens.size() || !IsNumber(tokens[i])) break;
            const unsigned number = NumberModulo(tokens[i++], kNumberModulus);
            out.image[v.imageIndex] =
                static_cast<std::uint8_t>((number / v.divisor + v.add) % kByteModulus);
        }
    }
    return out;
}

ParameterFileResult Read(const std::string& text, DeviceImage& image) {
    std::istringstream in(text, std::ios::in | std::ios::binary);
    return ReadParameterFile(in, image);
}

void CheckRoundTrip(const DeviceImage& read, bool extendedMonitor) {
    const Layout& layout = FileLayout();
    const std::string written = ParameterFileText(read, extendedMonitor);
    FUZZ_CHECK(written.size() == kWrittenFileSize, "the written file has its fixed length");

    const DeviceImage start = StartImage(true);
    DeviceImage back = start;
    const ParameterFileResult r = Read(written, back);
    FUZZ_CHECK(r.accepted, "a written file is accepted");
    FUZZ_CHECK(r.ignored.empty(), "nothing of a written file is ignored");
    FUZZ_CHECK(r.extendedMonitor == std::optional<bool>(extendedMonitor),
               "EXT_MON survives writing and reading");
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (!layout.stored[i]) {
            FUZZ_CHECK(back[i] == start[i],
                       "reading a written file keeps the bytes the file does not hold");
        } else if (layout.flag[i]) {
            FUZZ_CHECK(back[i] == (read[i] != 0 ? 1 : 0), "a flag comes back as 1 or 0");
        } else {
            FUZZ_CHECK(back[i] == read[i], "a number comes back as written");
        }
    }
    FUZZ_CHECK(ParameterFileText(back, extendedMonitor) == written,
               "writing what was read back gives the same file");
}

}  // namespace
}  // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    using namespace korvan::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);

    const DeviceImage startA = StartImage(false);
    const DeviceImage startB = StartImage(true);
    DeviceImage a = startA;
    DeviceImage b = startB;
    const ParameterFileResult ra = Read(text, a);
    const ParameterFileResult rb = Read(text, b);

    FUZZ_CHECK(ra.ignored == rb.ignored, "what is ignored does not depend on the image");
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const IgnoredEntry& e : ra.ignored) {
        FUZZ_CHECK(e.line >= 1 && e.line <= lines, "an ignored entry names a line of the file");
        FUZZ_CHECK(!e.key.empty(), "an ignored entry names its key");
        FUZZ_CHECK(e.kind != IgnoredKind::TooFewNumbers || e.found < e.expected,
                   "too few numbers means fewer than the key has");
        FUZZ_CHECK(e.kind != IgnoredKind::DoesNotFit || (!e.readAs.empty() && e.value != e.readAs),
                   "a number that does not fit its field is read as another");
    }
    if (!ra.accepted) {
        FUZZ_CHECK(ra.ignored.empty(), "nothing is listed for a file that was not read");
        FUZZ_CHECK(a == startA, "a file without an accepted header changes nothing");
        FUZZ_CHECK(!ra.extendedMonitor, "a file without an accepted header does not set EXT_MON");
    }
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (NeverInFile(i)) {
            FUZZ_CHECK(
                a[i] == startA[i] && b[i] == startB[i],
                "identity page, reserved bytes and ActTachoLambda are never read from a file");
        }
        // A byte is either left alone or set from the file, never from a mix of file and old value.
        FUZZ_CHECK((a[i] == startA[i] && b[i] == startB[i]) || a[i] == b[i],
                   "a byte read does not depend on its old value");
    }
    FUZZ_CHECK(ra.accepted == rb.accepted && ra.extendedMonitor == rb.extendedMonitor,
               "the result does not depend on the image");

    // One UTF-8 byte order mark at the very start is not part of the file.
    const std::string kMark = "\xEF\xBB\xBF";
    const std::string withoutMark =
        text.compare(0, kMark.size(), kMark) == 0 ? text.substr(kMark.size()) : text;
    const Outcome expected = Model(SplitTokens(withoutMark), startA);
    FUZZ_CHECK(ra.accepted == expected.accepted,
               "the header is accepted exactly when the format says");
    FUZZ_CHECK(ra.extendedMonitor == expected.extendedMonitor, "EXT_MON as the format says");
    FUZZ_CHECK(a == expected.image, "the image holds what the format says");

    if (ra.accepted) CheckRoundTrip(a, ra.extendedMonitor.value_or(false));
    return 0;
}
