#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "globe/data/GlobeException.h"
#include "globe/data/GlobeStream.h"
#include "globe/data/GlobeStreamReader.h"
#include "globe/data/GlobeStreamWriter.h"
#include "globe/data/LYRChainStream.h"
#include "globe/data/MemoryMapStream.h"
#include "globe/data/PointStore.h"

namespace globe {
namespace {

constexpr int32_t kMinute = 90000;

TPointStore Chain(const std::vector<TGeoPoint>& points, bool heights = false) {
    TPointStore chain(heights);
    for (const TGeoPoint& p : points)
        chain.Add(p);
    return chain;
}

std::vector<TGeoPoint> Points(const TPointStore& chain) {
    std::vector<TGeoPoint> out;
    for (int32_t i = 0; i < chain.Count(); ++i)
        out.push_back(chain.Point(i));
    return out;
}

struct Written {
    uint16_t Flags;
    std::string Bytes;
};

Written Write(TPointStore& chain) {
    TGlobeMemoryStream stream;
    TGlobeStreamWriter writer(stream);
    const uint16_t flags = ChooseChainFlags(chain);
    WritePointList(writer, chain, flags);
    return {flags, stream.Bytes()};
}

TPointStore Read(const Written& written) {
    TGlobeMemoryStream stream(written.Bytes);
    TGlobeStreamReader reader(stream);
    TPointStore chain;
    ReadPointList(reader, chain, written.Flags);
    EXPECT_EQ(stream.Remaining(), 0);
    return chain;
}

TEST(LYRChainStream, WholeMinutesWithSmallStepsUseByteDifferences) {
    TPointStore chain = Chain({{10 * kMinute, 20 * kMinute}, {11 * kMinute, 19 * kMinute},
                               {11 * kMinute, 17 * kMinute}, {-116 * kMinute, 17 * kMinute}});
    const Written w = Write(chain);
    EXPECT_EQ(w.Flags & (ofMinutes | ofDelta | ofHeights | ofLongCount), ofMinutes | ofDelta);
    // Word count, first point as two 16-bit minute counts, two byte steps, then a step of
    // 127 minutes: the escape byte and the full point.
    const std::string expected = std::string("\x04\x00", 2) + std::string("\x0A\x00\x14\x00", 4) +
                                 std::string("\x01\xFF", 2) + std::string("\x00\xFE", 2) +
                                 std::string("\x7F", 1) + std::string("\x8C\xFF\x11\x00", 4);
    EXPECT_EQ(w.Bytes, expected);
    EXPECT_EQ(Points(Read(w)), Points(chain));
}

TEST(LYRChainStream, OddCoordinatesUseFullIntegersOrSmallInts) {
    TPointStore scattered = Chain({{1, 2}, {500000001, -400000000}, {-3, 4}});
    Written w = Write(scattered);
    EXPECT_EQ(w.Flags & (ofMinutes | ofDelta), 0);
    EXPECT_EQ(w.Bytes.size(), 2u + 3 * 8);
    EXPECT_EQ(Points(Read(w)), Points(scattered));

    TPointStore near = Chain({{1000001, 2}, {1000101, -30}, {1032868, -30}, {1032768, -30}});
    w = Write(near);
    EXPECT_EQ(w.Flags & (ofMinutes | ofDelta), ofDelta);
    // count, first point, one SmallInt step, an escaped step of exactly 32,767, one step back.
    EXPECT_EQ(w.Bytes.size(), 2u + 8 + 4 + (2 + 8) + 4);
    EXPECT_EQ(Points(Read(w)), Points(near));
}

// Minute precision: kept while every coordinate is a whole minute; a non-zero height stores
// heights. The one addition to that rule: a height that is not a whole minute clears it as well.
TEST(LYRChainStream, MinutePrecisionFollowsCoordinatesAndHeights) {
    struct Case {
        const char* Name;
        std::vector<TGeoPoint> Points;
        uint16_t Flags;   // of ofMinutes | ofHeights
        std::size_t PointBytes;   // each point in full
    };
    // Steps of 200 minutes: too large for differences, so every point is written in full.
    constexpr int32_t k = 200 * kMinute;
    const Case cases[] = {
        {"whole minutes", {{0, 0}, {k, -k}, {2 * k, 0}}, ofMinutes, 4},
        {"a coordinate off a minute", {{0, 0}, {k, -k + 1}, {2 * k, 0}}, 0, 8},
        {"heights in whole minutes", {{0, 0, k}, {k, k, 0}, {2 * k, 0, -k}}, ofMinutes | ofHeights, 6},
        {"a height off a minute", {{0, 0, 5}, {k, k, 5}, {2 * k, 0, 7}}, ofHeights, 12},
    };
    for (const Case& c : cases) {
        TPointStore chain = Chain(c.Points, true);
        const Written w = Write(chain);
        EXPECT_EQ(w.Flags & (ofMinutes | ofHeights | ofDelta), c.Flags) << c.Name;
        EXPECT_EQ(w.Bytes.size(), 2 + c.Points.size() * c.PointBytes) << c.Name;
        const TPointStore back = Read(w);
        EXPECT_EQ(back.StoreHeight(), (c.Flags & ofHeights) != 0) << c.Name;
        EXPECT_EQ(Points(back), c.Points) << c.Name;
    }
}

TEST(LYRChainStream, DuplicatesAfterTheSecondPointAreDropped) {
    TPointStore chain = Chain({{0, 0}, {0, 0}, {kMinute, 0}, {2 * kMinute, 0}, {2 * kMinute, 0}});
    Write(chain);
    EXPECT_EQ(Points(chain), (std::vector<TGeoPoint>{{0, 0}, {0, 0}, {kMinute, 0}, {2 * kMinute, 0}}));
}

TEST(LYRChainStream, WrittenPointCountIsWhatWritingKeeps) {
    const TGeoPoint a{0, 0}, b{kMinute, 0}, c{2 * kMinute, 0};
    for (const std::vector<TGeoPoint>& points : std::vector<std::vector<TGeoPoint>>{
             {}, {a}, {a, a}, {a, a, a}, {a, a, a, a}, {a, b, b, b, c, c}, {a, b, c, c, c, a}, {a, b, b, a, a, b}}) {
        TPointStore chain = Chain(points);
        const int32_t counted = WrittenPointCount(chain);
        Write(chain);
        EXPECT_EQ(counted, chain.Count()) << points.size();
    }
}

TEST(LYRChainStream, CountsAbove65535UseAnIntegerCount) {
    for (const int32_t count : {65535, 65536}) {
        TPointStore chain;
        chain.SetCount(count);
        for (int32_t i = 0; i < count; ++i)
            chain.SetPoint(i, TGeoPoint(i * 7, -(i % 1000)));
        const Written w = Write(chain);
        EXPECT_EQ((w.Flags & ofLongCount) != 0, count == 65536);
        EXPECT_EQ(Points(Read(w)).size(), std::size_t(count));
    }
}

TEST(LYRChainStream, RandomChainsRoundTrip) {
    std::mt19937 random(17);
    for (int round = 0; round < 50; ++round) {
        const bool heights = round % 3 == 0;
        const bool minutes = round % 2 == 0;
        const int32_t spread = std::vector<int32_t>{100, 40000, 2000000000}[round % 3];
        TPointStore chain(heights);
        int64_t x = 0, y = 0;
        for (int i = 0, n = 1 + int(random() % 40); i < n; ++i) {
            x = std::clamp<int64_t>(x + std::uniform_int_distribution<int32_t>(-spread / 2, spread / 2)(random),
                                    -971000000, 971000000);
            y = std::clamp<int64_t>(y + std::uniform_int_distribution<int32_t>(-spread / 2, spread / 2)(random),
                                    -486000000, 486000000);
            TGeoPoint p(int32_t(x), int32_t(y), heights ? int32_t(random() % 1000) : 0);
            if (minutes)
                p = TGeoPoint(p.LongX / kMinute * kMinute, p.LatY / kMinute * kMinute, p.Height / kMinute * kMinute);
            chain.Add(p);
        }
        const Written w = Write(chain);
        EXPECT_EQ(Points(Read(w)), Points(chain)) << "round " << round;
    }
}

// Chains read from a mapped file (decoded in place) read as from any stream: same points, the
// position just past the chain, and a chain cut short by the end of the file raises.
TEST(LYRChainStream, MappedFilesReadAsAnyStream) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("lyr-chain-" + std::to_string(::getpid()) + ".bin")).string();
    std::mt19937 random(23);
    for (int round = 0; round < 24; ++round) {
        const bool heights = round % 3 == 0;
        const bool minutes = round % 2 == 0;
        TPointStore chain(heights);
        int64_t x = 0, y = 0;
        for (int i = 0; i < 60; ++i) {
            // Mostly small steps (differences), now and then a far jump (the escape).
            const int32_t spread = i % 17 == 5 ? 400 * kMinute : minutes ? 60 * kMinute : 15000;
            x = std::clamp<int64_t>(x + std::uniform_int_distribution<int32_t>(-spread, spread)(random), -971000000, 971000000);
            y = std::clamp<int64_t>(y + std::uniform_int_distribution<int32_t>(-spread, spread)(random), -486000000, 486000000);
            TGeoPoint p(int32_t(x), int32_t(y), !heights ? 0 : minutes ? int32_t(1 + random() % 50) * kMinute : int32_t(1 + random() % 5000));
            if (minutes)
                p = TGeoPoint(p.LongX / kMinute * kMinute, p.LatY / kMinute * kMinute, p.Height);
            else
                p.LongX += 7;  // off the whole minutes: 16-bit differences
            chain.Add(p);
        }
        const Written w = Write(chain);
        ASSERT_TRUE(w.Flags & ofDelta) << round;
        for (const bool cut : {false, true}) {
            const std::string bytes = cut ? w.Bytes.substr(0, w.Bytes.size() - 1) : w.Bytes + "tail";
            std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
            TMemoryMapStream stream(file);
            TGlobeStreamReader reader(stream);
            TPointStore read;
            if (cut) {
                EXPECT_THROW(ReadPointList(reader, read, w.Flags), EGlobeException) << round;
            } else {
                ReadPointList(reader, read, w.Flags);
                EXPECT_EQ(Points(read), Points(chain)) << round;
                EXPECT_EQ(stream.Position(), int64_t(w.Bytes.size())) << round;
            }
        }
    }
    std::filesystem::remove(file);
}

TEST(LYRChainStream, DataEndingEarlyRaises) {
    TPointStore chain = Chain({{1, 2}, {3, 4}, {5, 6}});
    Written w = Write(chain);
    w.Bytes.resize(w.Bytes.size() - 1);
    EXPECT_THROW(Read(w), EGlobeException);
    Written huge{ofLongCount, std::string("\xFF\xFF\xFF\x7F", 4) + std::string(8, '\0')};
    EXPECT_THROW(Read(huge), EGlobeException);
}

} // namespace
} // namespace globe
