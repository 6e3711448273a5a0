#include "scenario/CaseLineCheck.h"

#include <exception>
#include <string_view>

#include "platform/IntegerText.h"
#include "scenario/CaseLines.h"
#include "scenario/LabelValue.h"

namespace scenario {

namespace {

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

std::optional<TDiagnostic> CaseLineDiagnostic(const std::string& line, int caseNumber, const std::vector<TBase*>& bases)
{
  const auto refused = [](std::string_view code, std::string text) {
    TDiagnostic diagnostic = MessageDiagnostic(std::move(text));
    diagnostic.Severity = TLintSeverity::lsError;
    diagnostic.Code = code;
    return diagnostic;
  };
  // The first fault the case-line rules find is the reason; for one that ends the case the box
  // shows the line already, so only the fault itself.
  const TParsedCase parsed = ParseCaseLines({line}, 0, 1, bases, TCaseReading::StopAtFault);
  const std::string caseText = std::to_string(caseNumber);
  if (const std::vector<TParsedCase::TSkipped> faults = parsed.Faults(); !faults.empty()) {
    const TCaseLineFault& fault = faults.front().Fault;
    return refused(CaseFaultCode(fault.Fault),
                   CaseFaultMessage(parsed.Lines.front(), fault, "case " + caseText, "Case " + caseText));
  }
  // Speeds are not case lines, but a speed typed into a case is checked as a number too.
  if (HasKey(line, "SPEED=")) {
    const std::size_t equals = line.find('=');  // there is one: the line holds "SPEED="
    if (std::string_view(line).substr(0, equals) != "SPEED")
      return refused("wrong-label", WrongLabelMessage("SPEED", std::string_view(line).substr(0, equals)));
    try {
      platform::StrToInt(std::string_view(line).substr(equals + 1, kMaxValueLength));
    } catch (const std::exception& error) {
      return refused("bad-number", error.what());
    }
  }
  // The reader takes any digits as a position; a stored one must also lie on the globe.
  const std::string_view label = std::string_view(line).substr(0, line.find('='));
  const std::size_t equals = line.find('=');
  if (equals != std::string::npos && (label == "WP" || label == "TP" || label == "LL")) {
    const std::string_view value = std::string_view(line).substr(equals + 1);
    if (!(label == "LL" && value.empty()) && !SoundPosition(value))
      return refused("off-globe", "Not a position on the globe: \"" + std::string(value) + "\" (e.g. 3700N 02400E)");
  }
  return std::nullopt;
}

std::string CaseLineRefusal(const std::string& line, int caseNumber, const std::vector<TBase*>& bases)
{
  const std::optional<TDiagnostic> refusal = CaseLineDiagnostic(line, caseNumber, bases);
  return refusal ? DiagnosticMessage(*refusal) : std::string();
}

std::string TypedCaseLineRefusal(const std::string& typed, TLineEncoding encoding, int caseNumber,
                                 const std::vector<TBase*>& bases)
{
  std::string refusal = TypedTextRefusal(typed, encoding);
  return refusal.empty() ? CaseLineRefusal(TypedTextBytes(typed, encoding), caseNumber, bases) : refusal;
}

}  // namespace scenario
