// The MLG binary log (version 2), the format log viewers read fastest. Everything is
// big-endian:
//
//   header, 24 bytes    "MLVLG\0", u16 version 2, u32 time of capture (seconds since 1970),
//                       u32 offset of the info text, u32 offset of the first data block,
//                       u16 length of a record's values, u16 number of fields
//   field, 89 bytes     u8 type, name[34], units[10], u8 display style, f32 scale,
//                       f32 transform, s8 digits shown, category[34]; texts end with NUL
//   info text           NUL-terminated: our title, "Capture Date: ...", "Unit: ...",
//                       "Tune: ...", one a line
//   data block          u8 block type 0, u8 rolling counter, u16 timestamp, the values of
//                       every field in field order, u8 check byte
//   marker block        u8 block type 1, u8 rolling counter, u16 timestamp, text[50]
//
// Where the layout leaves a choice, this program decides:
// - The timestamp is a 16-bit count of 10 microsecond steps, so it wraps every 0.65 s; it only
//   orders blocks. The time of a row is its Time field (u32 milliseconds with scale 0.001), so
//   a log of up to 49 days keeps every millisecond.
// - The check byte is the sum of the record's value bytes, modulo 256.
// - The counter counts every block, data or marker, and wraps at 256; the reader does not
//   check it (a gap means lost blocks, which the times show anyway).
// - A value is (raw + transform) * scale. This program writes transform 0, so readers that add
//   the transform after scaling get the same values.
// - Display style 0 (a plain number) for every field; categories group the fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "log/ride_log_reader.h"

namespace korvan {

namespace mlg {
constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kFieldSize = 89;
constexpr std::size_t kNameSize = 34;
constexpr std::size_t kUnitsSize = 10;
constexpr std::size_t kCategorySize = 34;
constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kMarkerTextSize = 50;
constexpr std::uint16_t kVersion = 2;
// A log of any real logger has a few hundred fields; far more is a damaged header.
constexpr std::size_t kMaxFields = 1000;
// The info text is shown as a title; more than this is not read.
constexpr std::size_t kMaxInfoSize = 64 * 1024;

enum BlockType : std::uint8_t { kDataBlock = 0, kMarkerBlock = 1 };
enum FieldType : std::uint8_t { kU08, kS08, kU16, kS16, kU32, kS32, kS64, kF32, kFieldTypes };

// Bytes a value of the type takes.
std::size_t FieldTypeSize(std::uint8_t type);
}  // namespace mlg

// The MLG log in `bytes`. `truncated`: the caller cut the file short, so a block cut off at
// the end is the cut, not damage.
RideLogReadResult ParseMlgLog(std::string_view bytes, const ReadLimits& limits = {},
                              bool truncated = false);

}  // namespace korvan
