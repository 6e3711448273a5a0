#include "globe/data/GlobeColor.h"

#include <cstdio>

#include "platform/IntegerText.h"

namespace globe {

namespace {

struct TColorName {
  TColor Color;
  std::string_view Name;
};

constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clSystemColor + 0, "clScrollBar"},
    {clSystemColor + 1, "clBackground"},
    {clSystemColor + 2, "clActiveCaption"},
    {clSystemColor + 3, "clInactiveCaption"},
    {clSystemColor + 4, "clMenu"},
    {clSystemColor + 5, "clWindow"},
    {clSystemColor + 6, "clWindowFrame"},
    {clSystemColor + 7, "clMenuText"},
    {clSystemColor + 8, "clWindowText"},
    {clSystemColor + 9, "clCaptionText"},
    {clSystemColor + 10, "clActiveBorder"},
    {clSystemColor + 11, "clInactiveBorder"},
    {clSystemColor + 12, "clAppWorkSpace"},
    {clSystemColor + 13, "clHighlight"},
    {clSystemColor + 14, "clHighlightText"},
    {clSystemColor + 15, "clBtnFace"},
    {clSystemColor + 16, "clBtnShadow"},
    {clSystemColor + 17, "clGrayText"},
    {clSystemColor + 18, "clBtnText"},
    {clSystemColor + 19, "clInactiveCaptionText"},
    {clSystemColor + 20, "clBtnHighlight"},
    {clSystemColor + 21, "cl3DDkShadow"},
    {clSystemColor + 22, "cl3DLight"},
    {clSystemColor + 23, "clInfoText"},
    {clSystemColor + 24, "clInfoBk"},
};

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ColorToString(TColor color) {
  for (const TColorName& c : ColorNames)
    if (c.Color == color) return std::string(c.Name);
  char text[16];
  std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
  return text;
}

TColor StringToColor(std::string_view text) {
  const std::string_view name = TrimBlanks(text);
  for (const TColorName& c : ColorNames)
    if (SameTextAscii(c.Name, name)) return c.Color;
  return static_cast<TColor>(platform::StrToInt(name));
}

void AddColorAttribute(TGXML_Element& element, std::string_view name, TColor color) {
  element.AddAttribute(name, ColorToString(color));
}

TColor ColorAttribute(const TGXML_Element& element, std::string_view name, TColor def) {
  const std::string text = element.Attribute(name, std::string_view());
  return text.empty() ? def : StringToColor(text);
}

}  // namespace globe
