#pragma once
// Colours and their text form in environment files.
//
// A colour is a 32-bit value laid out 0x00BBGGRR (red in the lowest byte). Values with the top
// bit set name the desktop's system colours (0x80000000 + the system colour index); 0x1FFFFFFF
// is "no colour" and 0x20000000 "the default colour".
//
// Text form: the standard colour's name when it has one ("clRed", "clSilver", "clBtnFace"),
// else "$" and eight upper-case hexadecimal digits ("$00A0B0C0"). Reading accepts a name in any
// letter case, "$" or "0x" hexadecimal, or a decimal number; anything else raises
// platform::EConvertError "'%s' is not a valid integer value".

#include <cstdint>
#include <string>
#include <string_view>

#include "globe/data/XmlElement.h"
#include "platform/Color.h"

namespace globe {

using platform::TColor;

// The standard colours (those the platform names too are shared with it).
using platform::clAqua;
using platform::clBlack;
using platform::clBlue;
using platform::clGray;
using platform::clRed;
using platform::clSilver;
using platform::clWhite;
using platform::clYellow;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
// First of the system colours (clScrollBar); the others follow at +1 ... +24 (clInfoBk).
inline constexpr TColor clSystemColor = 0x80000000;

std::string ColorToString(TColor color);
TColor StringToColor(std::string_view text);

// A colour attribute in text form, and reading one (the default when absent or empty).
void AddColorAttribute(TGXML_Element& element, std::string_view name, TColor color);
TColor ColorAttribute(const TGXML_Element& element, std::string_view name, TColor def);

}  // namespace globe
