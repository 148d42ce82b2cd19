#include "log/mlg_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "log/log_reading.h"
#include "log/ride_log_writer.h"

namespace korvan {

namespace mlg {

std::size_t FieldTypeSize(std::uint8_t type) {
    static constexpr std::size_t kSizes[kFieldTypes] = {1, 1, 2, 2, 4, 4, 8, 4};
    return type < kFieldTypes ? kSizes[type] : 0;
}

}  // namespace mlg

namespace {

using namespace mlg;

constexpr char kMagic[] = {'M', 'L', 'V', 'L', 'G', '\0'};
constexpr std::uint32_t kTimestampStepsPerMs = 100;  // 10 microsecond steps
constexpr std::uint8_t kDisplayNumber = 0;

// ---- Writing ----

void PutU8(std::string& out, std::uint8_t v) {
    out.push_back(static_cast<char>(v));
}
void PutU16(std::string& out, std::uint16_t v) {
    PutU8(out, static_cast<std::uint8_t>(v >> 8));
    PutU8(out, static_cast<std::uint8_t>(v));
}
void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, static_cast<std::uint16_t>(v >> 16));
    PutU16(out, static_cast<std::uint16_t>(v));
}
void PutF32(std::string& out, float v) {
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof v, "IEEE single precision");
    std::memcpy(&bits, &v, sizeof bits);
    PutU32(out, bits);
}
// A fixed-size text field, cut to leave room for its NUL and padded with NULs.
void PutText(std::string& out, std::string_view text, std::size_t size) {
    text = text.substr(0, size - 1);
    out.append(text.data(), text.size());
    out.append(size - text.size(), '\0');
}

struct OurField {
    std::uint8_t type;
    float scale;
    std::int8_t digits;
    const char* category;
};

// How each of kLogChannels is stored, in the same order.
constexpr OurField kOurFields[kLogChannelCount] = {
    {kU32, 0.001f, 3, "Time"},  // Time: milliseconds
    {kU16, 1, 0, "Engine"},     // RPM
    {kU08, 1, 0, "Engine"},     // TPS
    {kU16, 1, 0, "Engine"},     // TPS mV
    {kU16, 1, 0, "Engine"},     // Lambda
    {kU08, 1, 0, "Ignition"},   // Advance
    {kU16, 1, 0, "Servo"},      // Servo desired
    {kU16, 1, 0, "Servo"},      // Servo measured
    {kU08, 1, 0, "Inputs"},     // Blocking1
    {kU08, 1, 0, "Inputs"},     // Blocking2
    {kU08, 1, 0, "Inputs"},     // Clutch
    {kU08, 1, 0, "Inputs"},     // Limiter1
    {kU08, 1, 0, "Inputs"},     // TachoLambda
    {kU08, 1, 0, "Inputs"},     // N2O
    {kS08, 1, 0, "Map"},        // Map RPM column
    {kS08, 1, 0, "Map"},        // Map TPS row
};

std::size_t OurRecordLength() {
    std::size_t n = 0;
    for (const OurField& f : kOurFields) n += FieldTypeSize(f.type);
    return n;
}

class MlgEncoder : public LogEncoder {
  public:
    void Header(std::string& out, const std::string& title, const LogHeader& header) override {
        std::string info = title;
        if (!header.captureDate.empty()) info += "\nCapture Date: " + header.captureDate;
        if (!header.unitVersion.empty()) info += "\nUnit: " + header.unitVersion;
        if (!header.tuneFile.empty()) info += "\nTune: " + header.tuneFile;
        // The info text ends at its NUL: one inside a name would cut it short.
        info.erase(std::remove(info.begin(), info.end(), '\0'), info.end());
        info = info.substr(0, kMaxInfoSize - 1);

        const std::size_t infoOffset = kHeaderSize + kFieldSize * kLogChannelCount;
        const std::size_t dataOffset = infoOffset + info.size() + 1;
        out.append(kMagic, sizeof kMagic);
        PutU16(out, kVersion);
        const std::int64_t time = header.unixTime;
        PutU32(out,
               static_cast<std::uint32_t>(time < 0 ? 0 : (time > UINT32_MAX ? UINT32_MAX : time)));
        PutU32(out, static_cast<std::uint32_t>(infoOffset));
        PutU32(out, static_cast<std::uint32_t>(dataOffset));
        PutU16(out, static_cast<std::uint16_t>(OurRecordLength()));
        PutU16(out, static_cast<std::uint16_t>(kLogChannelCount));
        for (std::size_t i = 0; i < kLogChannelCount; ++i) {
            const OurField& f = kOurFields[i];
            PutU8(out, f.type);
            PutText(out, kLogChannels[i].name, kNameSize);
            PutText(out, kLogChannels[i].unit, kUnitsSize);
            PutU8(out, kDisplayNumber);
            PutF32(out, f.scale);
            PutF32(out, 0.0f);  // transform
            PutU8(out, static_cast<std::uint8_t>(f.digits));
            PutText(out, f.category, kCategorySize);
        }
        out += info;
        out.push_back('\0');
    }

    void Row(std::string& out, const RideLogRow& row) override {
        BlockHeader(out, kDataBlock, row.TimeMs);
        const std::size_t start = out.size();
        const MonitorChannels& c = row.Channels;
        PutU32(out, row.TimeMs);
        PutU16(out, c.Rpm);
        PutU8(out, c.TpsPercent);
        PutU16(out, c.TpsMv);
        PutU16(out, c.LambdaMv);
        PutU8(out, c.Advance);
        PutU16(out, c.ServoDesiredMv);
        PutU16(out, c.ServoMeasuredMv);
        for (bool flag : {c.Blocking1, c.Blocking2, c.Clutch, c.Limiter1, c.TachoLambda, c.N2o})
            PutU8(out, flag ? 1 : 0);
        PutU8(out, static_cast<std::uint8_t>(static_cast<std::int8_t>(row.Cell.RpmColumn)));
        PutU8(out, static_cast<std::uint8_t>(static_cast<std::int8_t>(row.Cell.TpsRow)));
        unsigned sum = 0;
        for (std::size_t i = start; i < out.size(); ++i) sum += static_cast<std::uint8_t>(out[i]);
        PutU8(out, static_cast<std::uint8_t>(sum));
    }

    void Mark(std::string& out, unsigned number, std::uint32_t timeMs) override {
        BlockHeader(out, kMarkerBlock, timeMs);
        PutText(out, MarkText(number), kMarkerTextSize);
    }

  private:
    void BlockHeader(std::string& out, std::uint8_t type, std::uint32_t timeMs) {
        PutU8(out, type);
        PutU8(out, counter_++);
        PutU16(out, static_cast<std::uint16_t>(timeMs * kTimestampStepsPerMs));
    }

    std::uint8_t counter_ = 0;
};

// ---- Reading ----

struct Reader {
    std::string_view bytes;
    std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(bytes[at]); }
    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>(U8(at) << 8 | U8(at + 1));
    }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(U16(at)) << 16 | U16(at + 2);
    }
    std::uint64_t U64(std::size_t at) const {
        return static_cast<std::uint64_t>(U32(at)) << 32 | U32(at + 4);
    }
    float F32(std::size_t at) const {
        const std::uint32_t bits = U32(at);
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A NUL-terminated text in a field of `size` bytes.
    std::string_view Text(std::size_t at, std::size_t size) const {
        const std::string_view field = bytes.substr(at, size);
        return field.substr(0, field.find('\0'));
    }
};

// The decimal number a single-precision value was written from: 0.001f is 0.0010000000475,
// which would put a long log's times milliseconds off; its shortest decimal form is 0.001.
double IntendedDecimal(float v) {
    if (!std::isfinite(v)) return v;
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, v);
    double d = v;
    std::from_chars(text, written.ptr, d);
    return d;
}

struct FieldInfo {
    std::uint8_t type = 0;
    std::size_t offset = 0;  // within the record
    double scale = 1;
    double transform = 0;
    std::size_t channel = kNoChannel;
};

double RawValue(const Reader& in, std::size_t at, std::uint8_t type) {
    switch (type) {
        case kU08:
            return in.U8(at);
        case kS08:
            return static_cast<std::int8_t>(in.U8(at));
        case kU16:
            return in.U16(at);
        case kS16:
            return static_cast<std::int16_t>(in.U16(at));
        case kU32:
            return in.U32(at);
        case kS32:
            return static_cast<std::int32_t>(in.U32(at));
        case kS64:
            return static_cast<double>(static_cast<std::int64_t>(in.U64(at)));
        case kF32:
            return in.F32(at);
        default:
            return 0;
    }
}

void NoteInfo(RideLogReadResult& r, std::string_view info) {
    std::size_t start = 0;
    while (start < info.size()) {
        std::size_t end = info.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = info.size();
        logread::NoteHeaderLine(r, info.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace

std::unique_ptr<LogEncoder> MakeMlgEncoder() {
    return std::make_unique<MlgEncoder>();
}

RideLogReadResult ParseMlgLog(std::string_view bytes, const ReadLimits& limits, bool truncated) {
    RideLogReadResult r;
    r.format = LogFormat::Mlg;
    r.truncated = truncated;
    if (bytes.size() > limits.maxBytes) {
        bytes = bytes.substr(0, limits.maxBytes);
        r.truncated = true;
    }
    r.bytesRead = bytes.size();
    const Reader in{bytes};
    const std::size_t size = bytes.size();
    if (size < kHeaderSize ||
        bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic)) {
        r.refusal = LogRefusal::NotMlg;
        return r;
    }
    const std::uint16_t version = in.U16(6);
    if (version != kVersion) {
        r.refusal = LogRefusal::MlgVersion;
        r.detail = version;
        return r;
    }
    r.captureTime = in.U32(8);
    const std::uint32_t infoOffset = in.U32(12);
    const std::uint32_t dataOffset = in.U32(16);
    const std::size_t recordLength = in.U16(20);
    const std::size_t fieldCount = in.U16(22);
    if (fieldCount == 0 || fieldCount > kMaxFields) {
        r.refusal = LogRefusal::MlgFieldCount;
        r.detail = static_cast<long long>(fieldCount);
        r.detail2 = static_cast<long long>(kMaxFields);
        return r;
    }
    const std::size_t fieldsEnd = kHeaderSize + kFieldSize * fieldCount;
    if (fieldsEnd > size || dataOffset < fieldsEnd || dataOffset > size) {
        r.refusal = LogRefusal::MlgDamaged;
        return r;
    }

    std::vector<FieldInfo> fields(fieldCount);
    std::size_t offset = 0;
    std::size_t columnOf[kLogChannelCount];
    std::fill(std::begin(columnOf), std::end(columnOf), SIZE_MAX);
    for (std::size_t i = 0; i < fieldCount; ++i) {
        const std::size_t at = kHeaderSize + kFieldSize * i;
        FieldInfo& f = fields[i];
        f.type = in.U8(at);
        const std::string_view name = logread::Trim(in.Text(at + 1, kNameSize));
        const std::string_view units = logread::Trim(in.Text(at + 1 + kNameSize, kUnitsSize));
        const std::size_t typeSize = FieldTypeSize(f.type);
        if (typeSize == 0) {
            r.refusal = LogRefusal::MlgFieldType;
            r.detailName = std::string(name);
            r.detail = f.type;
            return r;
        }
        const std::size_t numbers = at + 1 + kNameSize + kUnitsSize + 1;
        f.scale = IntendedDecimal(in.F32(numbers));
        f.transform = IntendedDecimal(in.F32(numbers + 4));
        f.offset = offset;
        offset += typeSize;
        r.columns.emplace_back(name);
        std::size_t ch = FindLogChannel(name);
        // As in the text log: only millivolts are taken for the lambda channel.
        if (ch == kChannelLambda && !logread::SameName(units, "mV")) ch = kNoChannel;
        if (ch != kNoChannel && columnOf[ch] == SIZE_MAX) {
            columnOf[ch] = i;
            f.channel = ch;
            r.channels |= 1u << ch;
        }
    }
    if (offset != recordLength) {
        r.refusal = LogRefusal::MlgRecordLength;
        r.detail = static_cast<long long>(recordLength);
        r.detail2 = static_cast<long long>(offset);
        return r;
    }
    if (infoOffset >= fieldsEnd && infoOffset < dataOffset) {
        const std::string_view info =
            bytes.substr(infoOffset, std::min<std::size_t>(dataOffset - infoOffset, kMaxInfoSize));
        NoteInfo(r, info.substr(0, info.find('\0')));
    }
    if (columnOf[kChannelTime] == SIZE_MAX) {
        r.refusal = LogRefusal::NoTimeColumn;
        return r;
    }
    if (columnOf[kChannelRpm] == SIZE_MAX) {
        r.refusal = LogRefusal::NoRpmColumn;
        return r;
    }

    logread::RowCollector rows(r, limits);
    const std::size_t dataBlockSize = kBlockHeaderSize + recordLength + 1;
    const std::size_t markerBlockSize = kBlockHeaderSize + kMarkerTextSize;
    std::size_t pos = dataOffset;
    std::size_t record = 0;
    while (pos < size) {
        ++record;
        const std::uint8_t type = in.U8(pos);
        const std::size_t blockSize = type == kDataBlock     ? dataBlockSize
                                      : type == kMarkerBlock ? markerBlockSize
                                                             : 0;
        if (blockSize == 0) {
            rows.Bad(record, BadRowKind::UnknownBlock);
            break;
        }
        if (size - pos < blockSize) {
            // Where the limit cut the file, the block goes on beyond it.
            if (!r.truncated) rows.Bad(record, BadRowKind::CutShort);
            break;
        }
        if (type == kMarkerBlock) {
            rows.Mark();
            pos += blockSize;
            continue;
        }
        const std::size_t values = pos + kBlockHeaderSize;
        unsigned sum = 0;
        for (std::size_t i = 0; i < recordLength; ++i) sum += in.U8(values + i);
        if (static_cast<std::uint8_t>(sum) != in.U8(values + recordLength)) {
            rows.Bad(record, BadRowKind::BadChecksum);
            pos += blockSize;
            continue;
        }
        if (!rows.Room()) break;
        LogSample sample;
        bool good = true;
        for (const FieldInfo& f : fields) {
            if (f.channel == kNoChannel) continue;
            const double v = (RawValue(in, values + f.offset, f.type) + f.transform) * f.scale;
            if (!std::isfinite(v)) {
                rows.Bad(record, BadRowKind::NotANumber, kLogChannels[f.channel].name);
                good = false;
                break;
            }
            logread::StoreChannel(sample, f.channel, v);
        }
        if (good) rows.Add(sample, record);
        pos += blockSize;
    }
    rows.Finish();
    return r;
}

}  // namespace korvan
