#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "globe/data/GeoTypes.h"

namespace scenario {

// Position texts of the scenario files: latitude ddmmN or ddmmssN, longitude dddmmE or
// dddmmssE (a two-digit-degree longitude is read as if a "0" stood in front), joined by one
// blank: "5130N 00010W".

// Latitude text (before the first blank) and longitude text (after it). Without a blank the
// latitude text is empty and the whole value is the longitude text.
std::pair<std::string, std::string> SplitPositionText(std::string_view value);

// Reads a position. True and the point set (Height 0) on success; false and the point
// untouched when a number is not an integer or a text is empty. Only "S" and "W" (upper
// case) mark south and west.
bool ParseLatLong(std::string_view latitudeText, std::string_view longitudeText,
                  globe::TGeoPoint& point);

// A position value "latitude longitude": SplitPositionText, then ParseLatLong.
bool ParsePositionValue(std::string_view value, globe::TGeoPoint& point);

// Whether a position value reads and names a point on the globe: latitude at most 90 degrees,
// longitude at most 180, minutes and seconds below 60 and no field negative. The reading
// itself accepts "9999N" as 99 degrees 99 minutes north.
bool IsPositionOnGlobe(std::string_view value);

// Latitude, blank, longitude; whole minutes, or whole seconds withSeconds (truncated).
std::string FormatPosition(const globe::TGeoPoint& point, bool withSeconds);

// Padding of a formatted angle (digits and one hemisphere letter): trims it and left-pads the
// digits with "0" to 6 or 4 (latitude) and 7 or 5 (longitude) characters.
std::string PadLatitudeText(std::string_view text, bool withSeconds);
std::string PadLongitudeText(std::string_view text, bool withSeconds);

}  // namespace scenario
