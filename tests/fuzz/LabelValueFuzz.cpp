// The label-and-value line reader and the value readers behind it: the input's first line is the
// label the reader expects (empty: any), the rest the data line. The value is then read as a
// position and as start date and hour, as the scenario readers do.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>

#include "FuzzScratch.h"
#include "globe/data/GlobeUnits.h"
#include "platform/ConvertError.h"
#include "platform/testing/ScriptedDialogs.h"
#include "scenario/LabelValue.h"
#include "scenario/PositionText.h"
#include "scenario/ScenarioTime.h"

namespace {

// Positions the editor writes must read back as the same point.
void CheckPositionRoundTrip(const globe::TGeoPoint& point) {
  if (std::abs(static_cast<int64_t>(point.LatY)) > globe::GU_90_DEGREES ||
      std::abs(static_cast<int64_t>(point.LongX)) > globe::GU_180_DEGREES)
    return;
  globe::TGeoPoint first{}, second{};
  const auto [lat1, long1] = scenario::SplitPositionText(scenario::FormatPosition(point, true));
  if (!scenario::ParseLatLong(lat1, long1, first)) std::abort();
  const auto [lat2, long2] = scenario::SplitPositionText(scenario::FormatPosition(first, true));
  if (!scenario::ParseLatLong(lat2, long2, second)) std::abort();
  if (first.LatY != second.LatY || first.LongX != second.LongX) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const size_t end = input.find('\n');
  const std::string_view label = end == std::string_view::npos ? std::string_view() : input.substr(0, end);
  const std::string_view line = end == std::string_view::npos ? input : input.substr(end + 1);

  platform::testing::ScriptedDialogs dialogs;
  const std::string value = scenario::ReadLabelValue(line, label, dialogs);
  if (value.size() > scenario::kMaxValueLength) std::abort();

  const auto [latitude, longitude] = scenario::SplitPositionText(value);
  globe::TGeoPoint point{};
  if (scenario::ParseLatLong(latitude, longitude, point)) CheckPositionRoundTrip(point);

  try {
    const double start = scenario::StartDateFromText(value);
    scenario::FormatTimeGroup(scenario::AddStartHour(start, value));
  } catch (const platform::EConvertError&) {
  }
  return 0;
}
