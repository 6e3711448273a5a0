#include "globe/data/LYRChainStream.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/GlobeUnits.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/PointStore.h"

namespace globe {

namespace {

constexpr int64_t kMinute = 90000;
// Any 32-bit value in whole minutes fits the signed 16 bits of minute precision.
static_assert(INT32_MAX / kMinute <= INT16_MAX);

bool WholeMinute(int64_t value) { return value % kMinute == 0; }

int64_t Limit(uint16_t flags) { return (flags & ofMinutes) ? 127 : 32767; }
int64_t Unit(uint16_t flags) { return (flags & ofMinutes) ? kMinute : 1; }

// The differences from `previous` to `point` in the chosen unit, and whether they fit the limit.
bool SmallSteps(const TGeoPoint& previous, const TGeoPoint& point, uint16_t flags, int64_t d[3]) {
    const int64_t unit = Unit(flags);
    d[0] = (int64_t{point.LongX} - previous.LongX) / unit;
    d[1] = (int64_t{point.LatY} - previous.LatY) / unit;
    d[2] = (int64_t{point.Height} - previous.Height) / unit;
    const int count = (flags & ofHeights) ? 3 : 2;
    for (int i = 0; i < count; ++i)
        if (std::llabs(d[i]) >= Limit(flags))
            return false;
    return true;
}

int32_t Wrap32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

} // namespace

bool IsRepeatedPoint(const TPointStore& chain, int32_t i) {
    return i >= 2 && i + 1 < chain.Count() && chain.Point(i) == chain.Point(i + 1);
}

int32_t WrittenPointCount(const TPointStore& chain) {
    int32_t count = chain.Count();
    if (chain.StoreHeight()) {
        for (int32_t i = 2; i + 1 < chain.Count(); ++i)
            count -= IsRepeatedPoint(chain, i);
        return count;
    }
    // Without heights a point is its two packed words: compared in one sweep, unchecked.
    const TPointStore::TPackedView points = chain.Packed();
    for (int32_t i = 2; i + 1 < points.Count(); ++i)
        count -= points.LongX(i) == points.LongX(i + 1) && points.LatY(i) == points.LatY(i + 1);
    return count;
}

uint16_t ChooseChainFlags(TPointStore& chain) {
    uint16_t flags = ofMinutes;
    for (int32_t i = chain.Count() - 1; i >= 0; --i) {
        const TGeoPoint p = chain.Point(i);
        if (p.Height != 0)
            flags |= ofHeights;
        if (!WholeMinute(p.LongX) || !WholeMinute(p.LatY))
            flags &= static_cast<uint16_t>(~ofMinutes);
        // Beyond the format's rule, which looks at the coordinates only: a height that is not a
        // whole minute clears minute precision too, so that writing it loses nothing.
        if (!WholeMinute(p.Height))
            flags &= static_cast<uint16_t>(~ofMinutes);
        if (IsRepeatedPoint(chain, i))
            chain.Delete(i);
    }
    const int32_t count = chain.Count();
    const int64_t full = (flags & ofHeights) ? 12 : 8;
    const int64_t step = (flags & ofHeights) ? 6 : 4;
    int64_t estimate = full;
    int64_t d[3];
    for (int32_t i = 1; i < count; ++i)
        estimate += SmallSteps(chain.Point(i - 1), chain.Point(i), flags, d) ? step : full + 2;
    if (count * full > estimate)
        flags |= ofDelta;
    if (count > 65535)
        flags |= ofLongCount;
    return flags;
}

void WritePointList(TGlobeStreamWriter& writer, const TPointStore& chain, uint16_t chainFlags) {
    const bool heights = (chainFlags & ofHeights) != 0;
    const bool minutes = (chainFlags & ofMinutes) != 0;
    const int32_t count = chain.Count();
    if (chainFlags & ofLongCount)
        writer.WriteInteger(count);
    else
        writer.WriteWord(static_cast<uint16_t>(count));
    int64_t d[3];
    for (int32_t i = 0; i < count; ++i) {
        const TGeoPoint point = chain.Point(i);
        if (i == 0 || !(chainFlags & ofDelta)) {
            writer.WritePoint(point, heights, minutes);
        } else if (SmallSteps(chain.Point(i - 1), point, chainFlags, d)) {
            for (int k = 0; k < (heights ? 3 : 2); ++k) {
                if (minutes)
                    writer.WriteByte(static_cast<uint8_t>(static_cast<int8_t>(d[k])));
                else
                    writer.WriteSmallInt(static_cast<int16_t>(d[k]));
            }
        } else {
            if (minutes)
                writer.WriteByte(127);
            else
                writer.WriteSmallInt(32767);
            writer.WritePoint(point, heights, minutes);
        }
    }
}

namespace {

// Points read for a chain, stored in runs (one range check a run) as the chain packs them:
// longitude and latitude words, and the height where heights are kept. The chain is left empty
// unless Finish is reached.
class TPointRun {
 public:
    explicit TPointRun(TPointStore& chain) : Chain_(chain), Heights_(chain.StoreHeight()) {}
    TPointRun(const TPointRun&) = delete;
    TPointRun& operator=(const TPointRun&) = delete;
    ~TPointRun() {
        if (!Finished_)
            Chain_.SetCount(0);
    }
    // A longitude normalised already (as a TGeoPoint's).
    void Add(int32_t longX, int32_t latY, int32_t height) {
        int32_t* at = Words_.data() + Size_ * (Heights_ ? 3 : 2);
        at[0] = longX;
        at[1] = latY;
        if (Heights_)
            at[2] = height;
        if (++Size_ == kRun)
            Flush();
    }
    void Add(const TGeoPoint& point) { Add(point.LongX, point.LatY, point.Height); }
    void Finish() {
        Flush();
        Chain_.SetCount(Stored_);
        Finished_ = true;
    }

 private:
    static constexpr std::size_t kRun = 1024;
    void Flush() {
        if (Stored_ + static_cast<int64_t>(Size_) > Chain_.Count())
            Chain_.SetCount(static_cast<int32_t>(Stored_ + static_cast<int64_t>(Size_)));
        if (!Heights_) {
            Chain_.StoreLongLat(Stored_, Words_.data(), static_cast<int32_t>(Size_));
        } else {
            std::array<TGeoPoint, kRun> points;
            for (std::size_t i = 0; i < Size_; ++i)
                points[i] = TGeoPoint(Words_[3 * i], Words_[3 * i + 1], Words_[3 * i + 2]);
            Chain_.StorePoints(Stored_, points.data(), static_cast<int32_t>(Size_));
        }
        Stored_ += static_cast<int32_t>(Size_);
        Size_ = 0;
    }

    TPointStore& Chain_;
    const bool Heights_;
    std::array<int32_t, 3 * kRun> Words_;
    std::size_t Size_ = 0;
    int32_t Stored_ = 0;
    bool Finished_ = false;
};

// Points first .. count - 1 of a chain decoded in place from a mapped file while the bytes of
// their whole forms lie within it (a difference, an escape with its point, or a whole point),
// one loop for each form of the chain: returns the index of the first point left to the stream
// reader (count when none), with `at` moved past the bytes decoded.
template <bool Heights, bool Minutes, bool Delta>
int64_t DecodeMappedPoints(const uint8_t* memory, int64_t size, int64_t& at, int64_t first, int64_t count,
                           TGeoPoint& previous, TPointRun& points) {
    constexpr int64_t width = Minutes ? 1 : 2, need = width * (Heights ? 3 : 2);
    constexpr int64_t unit = Minutes ? kMinute : 1, escape = Minutes ? 127 : 32767;
    const int64_t full = TGlobeStreamReader::PointSize(Heights, Minutes);
    auto value = [&](int64_t offset) -> int64_t {
        const uint8_t* p = memory + at + offset * width;
        if constexpr (Minutes)
            return int64_t{static_cast<int8_t>(p[0])};
        else
            return int64_t{static_cast<int16_t>(p[0] | (p[1] << 8))};
    };
    // The last point in locals: the run's stores cannot change them.
    int32_t lastLong = previous.LongX, lastLat = previous.LatY, lastHeight = previous.Height;
    int64_t i = first;
    for (; i < count; ++i) {
        const int64_t left = size - at;
        if (Delta && left >= need && value(0) != escape) {
            lastLong = NormaliseLongitude(Wrap32(lastLong + value(0) * unit));
            lastLat = Wrap32(lastLat + value(1) * unit);
            if constexpr (Heights)
                lastHeight = Wrap32(lastHeight + value(2) * unit);
            at += need;
        } else {
            const int64_t skip = Delta ? width : 0;  // an escape before a whole point
            if (left < skip + full)
                break;
            const TGeoPoint point = TGlobeStreamReader::DecodePoint(memory + at + skip, Heights, Minutes);
            lastLong = point.LongX;
            lastLat = point.LatY;
            lastHeight = point.Height;
            at += skip + full;
        }
        points.Add(lastLong, lastLat, lastHeight);
    }
    previous = TGeoPoint(lastLong, lastLat, lastHeight);
    return i;
}

using TMappedDecoder = int64_t (*)(const uint8_t*, int64_t, int64_t&, int64_t, int64_t, TGeoPoint&, TPointRun&);

TMappedDecoder MappedDecoder(bool heights, bool minutes, bool delta) {
    static constexpr TMappedDecoder decoders[8] = {
        &DecodeMappedPoints<false, false, false>, &DecodeMappedPoints<false, false, true>,
        &DecodeMappedPoints<false, true, false>,  &DecodeMappedPoints<false, true, true>,
        &DecodeMappedPoints<true, false, false>,  &DecodeMappedPoints<true, false, true>,
        &DecodeMappedPoints<true, true, false>,   &DecodeMappedPoints<true, true, true>};
    return decoders[(heights ? 4 : 0) + (minutes ? 2 : 0) + (delta ? 1 : 0)];
}

} // namespace

void ReadPointList(TGlobeStreamReader& reader, TPointStore& chain, uint16_t chainFlags) {
    const bool heights = (chainFlags & ofHeights) != 0;
    const bool minutes = (chainFlags & ofMinutes) != 0;
    const bool delta = (chainFlags & ofDelta) != 0;
    const int64_t count = (chainFlags & ofLongCount) ? int64_t{reader.ReadInteger()} : int64_t{reader.ReadWord()};
    chain.SetStoreHeight(heights);
    chain.SetCount(0);
    if (count <= 0)
        return;
    // The points go into the chain in runs. Every point takes at least two bytes, so a count
    // beyond the data never sizes the chain beyond the data; the read past the end then raises,
    // and leaves the chain empty.
    chain.SetCountUnfilled(static_cast<int32_t>(std::min<int64_t>(count, reader.Stream().Remaining() / 2 + 1)));
    TPointRun points(chain);
    TGeoPoint previous = reader.ReadPoint(heights, minutes);
    points.Add(previous);
    int64_t i = 1;
    // Points straight from a mapped file are decoded in place; near the end of the file the
    // position goes back to the stream reader, which then reads (or fails) exactly as for any
    // stream.
    if (auto* mapped = dynamic_cast<TMemoryMapStream*>(&reader.Stream())) {
        int64_t at = mapped->Position();
        i = MappedDecoder(heights, minutes, delta)(mapped->Memory(), mapped->Size(), at, i, count, previous, points);
        mapped->Seek(at);
    }
    const int64_t unit = minutes ? kMinute : 1;
    const int64_t escape = minutes ? 127 : 32767;
    for (; i < count; ++i) {
        TGeoPoint point;
        if (!delta) {
            point = reader.ReadPoint(heights, minutes);
        } else {
            auto next = [&]() -> int64_t {
                return minutes ? int64_t{static_cast<int8_t>(reader.ReadByte())} : int64_t{reader.ReadSmallInt()};
            };
            const int64_t first = next();
            if (first == escape) {
                point = reader.ReadPoint(heights, minutes);
            } else {
                const int64_t dLat = next();
                const int64_t dHeight = heights ? next() : 0;
                point = TGeoPoint(Wrap32(previous.LongX + first * unit), Wrap32(previous.LatY + dLat * unit),
                                  Wrap32(previous.Height + dHeight * unit));
            }
        }
        points.Add(point);
        previous = point;
    }
    points.Finish();
}

} // namespace globe
