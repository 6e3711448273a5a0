#pragma once
// The JSON values of the load check's output, built with nlohmann/json: objects keep their keys in
// the order written. Texts are the files' bytes; a text that is not valid UTF-8 (bytes of a
// Windows code page) is taken byte by byte as the characters U+0000 to U+00FF, so the output is
// always valid JSON.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace scenario {

using TJson = nlohmann::ordered_json;

// The text as a JSON string value.
TJson JsonText(std::string_view text);

// A number as JSON writes it: whole values without a fraction ("30", not "30.0"); values that
// are not finite become null.
TJson JsonNumber(double value);

// The value as one line of compact JSON.
std::string JsonDump(const TJson& value);

}  // namespace scenario
