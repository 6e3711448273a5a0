#include "scenario/DayPhase.h"

#include <cmath>

#include "globe/data/GeoMath.h"
#include "globe/view/GlobeProjection.h"
#include "platform/ConvertError.h"
#include "platform/DateTime.h"

namespace scenario {

namespace {

// tan of the earth's axial tilt; the length of the tropical year in days.
constexpr double kTiltTangent = 0.4333823;
constexpr double kTropicalYear = 365.24225;
constexpr double kPi = 3.141592653589793;
// 2 / 309,397,230: scales an integer point on the globe's sphere to length 2.
constexpr double kSunVectorScale = 6.464181983788284e-09;
// 2 × 309,397,230 × cos(96 degrees): the sun about six degrees below the horizon.
constexpr long double kTwilightLimit = -64'800'000.0L;
// The sun moves a quarter of an arc minute a second; a day is 21,600 arc minutes.
constexpr std::int64_t kArcMinutesPerDay = 21'600;

}  // namespace

std::optional<globe::TGeoPoint> SubSolarPoint(double time)
{
  if (!std::isfinite(time)) return std::nullopt;
  double solstice = 0;
  try {
    const platform::DateTimeParts parts = platform::DecodeDateTime(time);
    solstice = platform::EncodeDate(parts.year - 1, 12, 21);
  } catch (const platform::EConvertError&) {
    return std::nullopt;
  }
  // Days since the previous winter solstice.
  const double days = std::trunc(time) - std::trunc(solstice);
  // The declination with its sign reversed: largest at the December solstice.
  const double reversedDeclination =
      std::atan(kTiltTangent * std::cos(2 * kPi * days / kTropicalYear)) * 180 / kPi;

  const auto seconds = static_cast<std::int64_t>(std::nearbyint((time - std::trunc(time)) * 86400));
  const std::int64_t arcMinutes =
      static_cast<std::int64_t>(std::nearbyint(static_cast<double>(seconds) * 0.25)) % kArcMinutesPerDay -
      kArcMinutesPerDay / 2;
  const std::int32_t longX = globe::WrapLongitude(-arcMinutes * globe::GlobeUnitsPerMinute);
  const std::int32_t latY = -globe::RoundToInt(static_cast<long double>(reversedDeclination) * globe::GlobeUnitsPerDegree);
  return globe::TGeoPoint(longX, latY, 0);
}

TDayPhase DayPhase(const globe::TGeoPoint& point, double time)
{
  const std::optional<globe::TGeoPoint> sun = SubSolarPoint(time);
  if (!sun) return dpNone;
  const globe::TPoint3D sunOnSphere = globe::GeoToCartesian(*sun);
  const double sunX = sunOnSphere.X * kSunVectorScale;
  const double sunY = sunOnSphere.Y * kSunVectorScale;
  const double sunZ = sunOnSphere.Z * kSunVectorScale;
  const globe::TPoint3D v = globe::GeoToCartesian(point);

  const long double dot = static_cast<long double>(v.X) * sunX + static_cast<long double>(v.Y) * sunY +
                          static_cast<long double>(v.Z) * sunZ;
  if (dot > 0) return dpDay;
  if (dot >= kTwilightLimit) return dpTwilight;
  return dpNight;
}

TDayPhase DayPhase(const globe::TGlobeProjection& projection, const globe::TGeoPoint& point, double time)
{
  platform::TPoint xy;
  projection.PointLLToDeviceXY(point, xy);
  globe::TGeoPoint shown;
  if (!projection.DeviceXYToLL(xy.X, xy.Y, shown)) return dpNone;
  return DayPhase(shown, time);
}

const char* DayPhaseName(TDayPhase phase)
{
  switch (phase) {
    case dpDay: return "day";
    case dpTwilight: return "twilight";
    case dpNight: return "night";
    default: return "";
  }
}

}  // namespace scenario
