#pragma once
// A small writer of compact JSON text: objects, arrays, strings, numbers, Booleans and null.
// Texts that are not valid UTF-8 (bytes of a Windows code page) are written byte by byte as
// the characters U+0000 to U+00FF, so the output is always valid JSON.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

class TJsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view key);
    void String(std::string_view text);
    void Integer(std::int64_t value);
    void Number(double value);
    void Boolean(bool value);
    void Null();

    const std::string& Text() const { return Text_; }

private:
    void BeforeValue();

    std::string Text_;
    // Per open container: whether it already holds an element.
    std::vector<bool> HasElement_;
    bool AfterKey_ = false;
};

// The text as a JSON string literal, quotes included.
std::string JsonQuoted(std::string_view text);

}  // namespace scenario
