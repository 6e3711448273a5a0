#include "scenario/CaseLineCheck.h"

#include <exception>
#include <string_view>

#include "platform/IntegerText.h"
#include "platform/QuietDialogs.h"
#include "scenario/CaseParser.h"
#include "scenario/LabelValue.h"

namespace scenario {

namespace {

// Takes the first report of the rules as the reason; asks nothing.
class TFirstReport : public platform::QuietDialogs {
 public:
  std::string Reason;

  void ShowMessage(const std::string& text) override { Keep(text); }
  void ShowError(const std::string& text) override { Keep(text); }

 private:
  void Keep(const std::string& text)
  {
    if (!Reason.empty()) return;
    // A fault that ends a case is reported with the line and case around it; the box shows
    // the line already, so only the fault itself is kept.
    const std::size_t fault = text.rfind("\r\r");
    Reason = fault == std::string::npos ? text : text.substr(fault + 2);
  }
};

// Whether text is whole degrees of `degreeDigits` digits, minutes and maybe seconds, then one
// of the two hemisphere letters; the value at most `maxDegrees`, minutes and seconds below 60.
bool SoundAngle(std::string_view text, std::size_t degreeDigits, int maxDegrees, char plus, char minus)
{
  if (text.size() != degreeDigits + 3 && text.size() != degreeDigits + 5) return false;
  if (text.back() != plus && text.back() != minus) return false;
  const std::string_view digits = text.substr(0, text.size() - 1);
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) return false;
  const auto number = [&digits](std::size_t at, std::size_t count) {
    int value = 0;
    for (const char digit : digits.substr(at, count)) value = value * 10 + (digit - '0');
    return value;
  };
  const int degrees = number(0, degreeDigits);
  const int minutes = number(degreeDigits, 2);
  const int seconds = digits.size() > degreeDigits + 2 ? number(degreeDigits + 2, 2) : 0;
  if (minutes >= 60 || seconds >= 60) return false;
  return degrees < maxDegrees || (degrees == maxDegrees && minutes == 0 && seconds == 0);
}

// A position as the files write it: "ddmm[ss]N|S dddmm[ss]E|W" (the longitude's leading zero
// may be left out, as the reader allows), on the globe.
bool SoundPosition(std::string_view value)
{
  const std::size_t blank = value.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::string_view latitude = value.substr(0, blank);
  std::string longitude(value.substr(blank + 1));
  if (longitude.size() == 5 || longitude.size() == 7) longitude.insert(0, "0");
  return SoundAngle(latitude, 2, 90, 'N', 'S') && SoundAngle(longitude, 3, 180, 'E', 'W');
}

}  // namespace

std::string CaseLineRefusal(const std::string& line, int caseNumber, const std::vector<TBase*>& bases)
{
  TFirstReport report;
  TForceCases scratch;
  ParseCase({line}, 0, 1, caseNumber, scratch, bases, report);
  // Speeds are not case lines, but a speed typed into a case is checked as a number too.
  if (report.Reason.empty() && HasKey(line, "SPEED=")) {
    try {
      platform::StrToInt(ReadLabelValue(line, "SPEED", report));
    } catch (const std::exception& error) {
      report.Reason = error.what();
    }
  }
  // The reader takes any digits as a position; a stored one must also lie on the globe.
  if (report.Reason.empty()) {
    const std::string_view label = std::string_view(line).substr(0, line.find('='));
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && (label == "WP" || label == "TP" || label == "LL")) {
      const std::string_view value = std::string_view(line).substr(equals + 1);
      if (!(label == "LL" && value.empty()) && !SoundPosition(value)) {
        report.Reason = "Not a position on the globe: \"" + std::string(value) + "\" (e.g. 3700N 02400E)";
      }
    }
  }
  return report.Reason;
}

}  // namespace scenario
