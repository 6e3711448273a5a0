#include "scenario/PositionText.h"

#include <cstdint>
#include <optional>

#include "globe/data/GlobeUnits.h"
#include "globe/data/LatLongText.h"
#include "platform/IntegerText.h"

namespace scenario {

namespace {

struct AngleParts {
    std::int64_t degrees = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
};

// Reads degrees (degreeDigits characters), minutes (2) and, when the text is exactly long
// enough for them, seconds (2), from a text whose own length decides which fields exist.
// Returns nothing on a conversion error.
std::optional<AngleParts> ReadAngle(std::string_view text, std::size_t degreeDigits) {
    AngleParts parts;
    const std::size_t shortLength = degreeDigits + 3;  // digits and letter, no seconds
    const std::size_t longLength = degreeDigits + 5;
    if (text.size() < shortLength) return parts;
    std::optional<std::int32_t> degrees = platform::TryStrToInt(text.substr(0, degreeDigits));
    std::optional<std::int32_t> minutes = platform::TryStrToInt(text.substr(degreeDigits, 2));
    if (!degrees || !minutes) return std::nullopt;
    parts.degrees = *degrees;
    parts.minutes = *minutes;
    if (text.size() == longLength) {
        std::optional<std::int32_t> seconds = platform::TryStrToInt(text.substr(degreeDigits + 2, 2));
        if (!seconds) return std::nullopt;
        parts.seconds = *seconds;
    }
    return parts;
}

// The angle in GlobeUnit, wrapped to 32 bits as the integer arithmetic of the files allows.
std::int32_t ToGlobeUnits(const AngleParts& parts, bool negative) {
    std::int64_t value = parts.degrees * globe::GlobeUnitsPerDegree +
                         parts.minutes * globe::GlobeUnitsPerMinute +
                         parts.seconds * globe::GlobeUnitsPerSecond;
    return platform::WrapToInt32(negative ? -value : value);
}

// Removes blanks and control characters at both ends.
std::string_view Trim(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string PadAngleText(std::string_view text, std::size_t digits) {
    std::string_view trimmed = Trim(text);
    if (trimmed.empty()) return {};
    std::string result(trimmed.substr(0, trimmed.size() - 1));
    if (result.size() < digits) result.insert(0, digits - result.size(), '0');
    result += trimmed.back();
    return result;
}

}  // namespace

std::pair<std::string, std::string> SplitPositionText(std::string_view value) {
    std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos) return {std::string(), std::string(value)};
    return {std::string(value.substr(0, blank)), std::string(value.substr(blank + 1))};
}

namespace {

struct PositionParts {
    AngleParts Latitude;
    AngleParts Longitude;
    bool South = false;
    bool West = false;
};

// The fields of a position's two texts, or nothing when one does not read.
std::optional<PositionParts> ReadPosition(std::string_view latitudeText, std::string_view longitudeText) {
    if (latitudeText.empty() || longitudeText.empty()) return std::nullopt;
    std::string longitude(longitudeText);
    if (longitude.size() == 5 || longitude.size() == 7) longitude.insert(0, "0");
    std::optional<AngleParts> lat = ReadAngle(latitudeText, 2);
    std::optional<AngleParts> lon = ReadAngle(longitude, 3);
    if (!lat || !lon) return std::nullopt;
    return PositionParts{*lat, *lon, latitudeText.back() == 'S', longitude.back() == 'W'};
}

// Minutes and seconds below 60 and the whole angle within maxDegrees.
bool AngleWithin(const AngleParts& parts, std::int64_t maxDegrees) {
    const auto isClockField = [](std::int64_t field) { return field >= 0 && field < 60; };
    if (parts.degrees < 0 || !isClockField(parts.minutes) || !isClockField(parts.seconds)) return false;
    return parts.degrees * 3600 + parts.minutes * 60 + parts.seconds <= maxDegrees * 3600;
}

}  // namespace

bool ParseLatLong(std::string_view latitudeText, std::string_view longitudeText,
                  globe::TGeoPoint& point) {
    const std::optional<PositionParts> parts = ReadPosition(latitudeText, longitudeText);
    if (!parts) return false;
    point.LongX = ToGlobeUnits(parts->Longitude, parts->West);
    point.LatY = ToGlobeUnits(parts->Latitude, parts->South);
    point.Height = 0;
    return true;
}

bool IsPositionOnGlobe(std::string_view value) {
    const auto [latitude, longitude] = SplitPositionText(value);
    const std::optional<PositionParts> parts = ReadPosition(latitude, longitude);
    return parts && AngleWithin(parts->Latitude, 90) && AngleWithin(parts->Longitude, 180);
}

std::string PadLatitudeText(std::string_view text, bool withSeconds) {
    return PadAngleText(text, withSeconds ? 6 : 4);
}

std::string PadLongitudeText(std::string_view text, bool withSeconds) {
    return PadAngleText(text, withSeconds ? 7 : 5);
}

std::string FormatPosition(const globe::TGeoPoint& point, bool withSeconds) {
    std::string latitude = globe::FormatLatLong(point.LatY, withSeconds ? "%d%m%s%N" : "%d%m%N");
    std::string longitude = globe::FormatLatLong(point.LongX, withSeconds ? "%d%m%s%E" : "%d%m%E");
    return PadLatitudeText(latitude, withSeconds) + " " + PadLongitudeText(longitude, withSeconds);
}

bool ParsePositionValue(std::string_view value, globe::TGeoPoint& point) {
    const auto [latitude, longitude] = SplitPositionText(value);
    return ParseLatLong(latitude, longitude, point);
}

}  // namespace scenario
