// Fuzzes the map text a paste, an import and korvan2-cli map take. The first bytes choose the
// selection and how the text is taken, the rest is the text. A refused paste changes no byte
// and says why in every language; an accepted one changes only the cells it reports, all to
// whole degrees within 0..60, and copying those cells and pasting them back changes nothing.
#include <string>

#include "fuzz_support.h"
#include "params/binding.h"
#include "params/map_text.h"

namespace korvan::fuzz {
namespace {

constexpr std::size_t kControlBytes = 3;
constexpr std::uint8_t kLanguages = 3;

// Two images: one with every byte out of order (an axis that does not rise, cells above 60,
// any throttle axis flag), one as the window keeps it.
DeviceImage Image(bool normalised, std::uint8_t flags) {
    DeviceImage image = StartImage(normalised);
    if (normalised) {
        for (int k = 0; k < kAxisPoints; ++k)
            image[field::RpmAdv + k] = static_cast<std::uint8_t>(8 + 7 * k);
        for (int i = 0; i < kMapRows * kMapColumns; ++i)
            image[field::Advance + i] = static_cast<std::uint8_t>(image[field::Advance + i] % 61);
        image[field::TpsMapa] = flags & 2 ? 1 : 0;
        NormalizeImage(image);
    }
    return image;
}

void Check(const std::string& text, const MapRect& selection, bool followHeaders, CommaRule commas,
           const DeviceImage& start, bool normalised) {
    DeviceImage image = start;
    const EditOutcome out = PasteMapText(image, text, {selection, followHeaders}, commas);
    if (out.refused) {
        FUZZ_CHECK(image == start, "a refused paste changes nothing");
        FUZZ_CHECK(out.cellsChanged == 0, "a refused paste counts no change");
        for (std::uint8_t l = 0; l < kLanguages; ++l)
            FUZZ_CHECK(!out.reason.In(l).empty(), "a refusal says why in every language");
        return;
    }
    FUZZ_CHECK(out.cells.OnMap(), "the cells written lie on the map");
    int changed = 0;
    for (std::size_t i = 0; i < kImageSize; ++i) {
        const bool inMap = i >= field::Advance && i < field::Advance + kMapRows * kMapColumns;
        const int cell = static_cast<int>(i - field::Advance);
        if (inMap && out.cells.Contains(cell / kMapColumns, cell % kMapColumns)) {
            FUZZ_CHECK(image[i] <= 60, "a pasted cell is within 0..60");
            changed += image[i] != start[i];
        } else {
            FUZZ_CHECK(image[i] == start[i], "nothing outside the reported cells changes");
        }
    }
    FUZZ_CHECK(changed == out.cellsChanged, "the count of changed cells is right");
    for (std::uint8_t l = 0; l < kLanguages; ++l)
        FUZZ_CHECK(!out.step.In(l).empty(), "the undo step has a name in every language");

    // The axis header only names points of an axis the window can hold (every point at least
    // 300 rpm, so above any advance).
    for (bool axes : {false, normalised}) {
        DeviceImage again = image;
        const EditOutcome back =
            PasteMapText(again, FormatMapText(image, out.cells, axes), {out.cells, false});
        FUZZ_CHECK(!back.refused, "a copy of pasted cells pastes");
        FUZZ_CHECK(again == image, "copy and paste of the pasted cells changes nothing");
    }
}

}  // namespace
}  // namespace korvan::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvan;
    using namespace korvan::fuzz;
    std::uint8_t control[kControlBytes] = {};
    const std::size_t used = size < kControlBytes ? size : kControlBytes;
    for (std::size_t i = 0; i < used; ++i) control[i] = data[i];
    const std::string text(reinterpret_cast<const char*>(data) + used, size - used);

    const MapRect selection = MapRect::Spanning({control[0] / 16 % 10, control[0] % 16 % 10},
                                                {control[1] / 16 % 10, control[1] % 16 % 10});
    const bool followHeaders = control[2] & 1;
    const CommaRule commas = control[2] & 4 ? CommaRule::Separates : CommaRule::DecimalWhenAlone;
    for (bool normalised : {false, true})
        Check(text, selection, followHeaders, commas, Image(normalised, control[2]), normalised);

    const MapTextBlock block = ParseMapText(text, Image(true, control[2]), commas);
    if (block.fault == MapTextBlock::Fault::None) {
        FUZZ_CHECK(block.degrees.size() == static_cast<std::size_t>(block.rows) *
                                               static_cast<std::size_t>(block.columns),
                   "a block holds rows x columns values");
        for (int v : block.degrees) FUZZ_CHECK(v >= 0 && v <= 60, "a block's values are degrees");
    }
    return 0;
}
