#include "globe/data/Geodesy.h"

#include <array>
#include <cmath>

#include "globe/data/GeoMath.h"

namespace globe {

namespace {

struct TSpheroidRow {
  int32_t SemiMajorAxis;
  double InverseFlattening;
};

// In the order of TSpheroid.
constexpr std::array<TSpheroidRow, SpheroidCount> SpheroidTable{{
    {309'924'787, 299.3249646},    // Airy1830
    {309'953'780, 298.25},         // Australian1965
    {309'916'708, 299.1528128},    // Bessel1841
    {309'956'035, 294.9786982},    // Clarke1866
    {309'958'112, 293.465},        // Clarke1880
    {309'910'838, 300.8017},       // Everest1830
    {309'953'780, 298.247167427},  // GRS1967
    {309'952'662, 298.257222101},  // GRS1980
    {309'955'724, 298.3},          // Helmert1906
    {309'959'125, 297.0},          // Hough
    {309'964'860, 297.0},          // International1920
    {309'957'910, 298.3},          // Krassovsky1940
    {309'953'780, 298.25},         // SouthAmerican1969
    {309'954'023, 298.3},          // WGS60
    {309'953'051, 298.25},         // WGS66
    {309'952'565, 298.26},         // WGS72
    {309'952'662, 298.257223563},  // WGS84
}};

long double Radians(int32_t angle) { return angle * GUToRadians; }

}  // namespace

TSpheroidParameters SpheroidParameters(TSpheroid spheroid) {
  auto index = static_cast<std::size_t>(spheroid);
  if (index >= SpheroidTable.size()) index = static_cast<std::size_t>(TSpheroid::WGS84);
  return {SpheroidTable[index].SemiMajorAxis, 1.0 / SpheroidTable[index].InverseFlattening};
}

int32_t GreatCircleDistance(const TGeoPoint& a, const TGeoPoint& b) {
  const long double latA = Radians(a.LatY), latB = Radians(b.LatY);
  const long double halfDLat = (latA - latB) / 2;
  const long double halfDLong = (Radians(a.LongX) - Radians(b.LongX)) / 2;
  const long double h = std::sin(halfDLat) * std::sin(halfDLat) +
                        std::cos(latA) * std::cos(latB) * std::sin(halfDLong) * std::sin(halfDLong);
  return RoundToInt(2 * ArcSin(std::sqrt(h)) * RadiansToGU);
}

int32_t InitialBearing(const TGeoPoint& a, const TGeoPoint& b) {
  const long double latA = Radians(a.LatY), latB = Radians(b.LatY);
  const long double delta = Radians(a.LongX) - Radians(b.LongX);
  const long double angle =
      std::atan2(std::sin(delta) * std::cos(latB),
                 std::cos(latA) * std::sin(latB) - std::sin(latA) * std::cos(latB) * std::cos(delta));
  return RoundToInt(NormaliseRadians(angle) * RadiansToGU);
}

TGeoPoint DestinationPoint(const TGeoPoint& start, int32_t bearing, int32_t distance) {
  const long double delta = static_cast<long double>(distance) / EarthRadiusGU;
  const long double theta = Radians(bearing);
  const long double lat1 = Radians(start.LatY), long1 = Radians(start.LongX);
  const long double lat2 =
      ArcSin(std::sin(lat1) * std::cos(delta) + std::cos(lat1) * std::sin(delta) * std::cos(theta));
  const long double d = std::atan2(std::sin(theta) * std::sin(delta) * std::cos(lat1),
                                   std::cos(delta) - std::sin(lat1) * std::sin(lat2));
  const long double long2 = NormaliseRadians(long1 - d + GUPi) - GUPi;
  return TGeoPoint(RoundToInt(long2 * RadiansToGU), RoundToInt(lat2 * RadiansToGU));
}

int32_t EllipsoidDistance(const TGeoPoint& a, const TGeoPoint& b, TSpheroid spheroid) {
  if (a.LongX == b.LongX && a.LatY == b.LatY) return 0;
  const TSpheroidParameters p = SpheroidParameters(spheroid);
  const long double f = p.Flattening;
  const long double majorAxis = p.SemiMajorAxis;
  const long double minorAxis = majorAxis * (1 - f);

  const long double u1 = std::atan((1 - f) * std::tan(Radians(a.LatY)));
  const long double u2 = std::atan((1 - f) * std::tan(Radians(b.LatY)));
  const long double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const long double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  const long double bigL = Radians(b.LongX) - Radians(a.LongX);

  long double sinSigma = 0, cosSigma = 0, sigma = 0, sinAlpha = 0, cosSqAlpha = 0, cos2SigmaM = 0;
  // The geodesic terms at a given lambda; false when the points coincide on the auxiliary sphere.
  auto terms = [&](long double lambda) {
    const long double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const long double t1 = cosU2 * sinLambda;
    const long double t2 = cosU1 * sinU2 - sinU1 * cosU2 * cosLambda;
    sinSigma = std::sqrt(t1 * t1 + t2 * t2);
    if (sinSigma == 0) return false;
    cosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
    sigma = std::atan2(sinSigma, cosSigma);
    sinAlpha = cosU1 * cosU2 * sinLambda / sinSigma;
    cosSqAlpha = 1 - sinAlpha * sinAlpha;
    cos2SigmaM = cosSqAlpha != 0 ? cosSigma - 2 * sinU1 * sinU2 / cosSqAlpha : 2 * sinU1 * sinU2;
    return true;
  };

  // One update of lambda from L, then the terms at the updated lambda (no iteration).
  if (!terms(bigL)) return 0;
  const long double c = f / 16 * cosSqAlpha * (4 + f * (4 - 3 * cosSqAlpha));
  const long double lambda =
      bigL + (1 - c) * f * sinAlpha *
                 (sigma + c * sinSigma * (cos2SigmaM + c * cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM)));
  if (!terms(lambda)) return 0;

  const long double uSq = cosSqAlpha * (majorAxis * majorAxis - minorAxis * minorAxis) / (minorAxis * minorAxis);
  const long double root = std::sqrt(1 + uSq);
  const long double k1 = (root - 1) / (root + 1);
  const long double bigA = (1 + k1 * k1 / 4) / (1 - k1);
  const long double bigB = k1 * (1 - 3 * k1 * k1 / 8);
  const long double deltaSigma =
      bigB * sinSigma *
      (cos2SigmaM + bigB / 4 *
                        (cosSigma * (-1 + 2 * cos2SigmaM * cos2SigmaM) -
                         bigB / 6 * cos2SigmaM * (-3 + 4 * sinSigma * sinSigma) *
                             (-3 + 4 * cos2SigmaM * cos2SigmaM)));
  return RoundToInt(minorAxis * bigA * (sigma - deltaSigma));
}

}  // namespace globe
