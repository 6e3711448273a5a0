#include "scenario/JsonWriter.h"

#include <cmath>
#include <cstdio>

namespace scenario {

namespace {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        std::uint32_t code = 0;
        if (byte < 0x80) {
            ++i;
            continue;
        } else if ((byte & 0xE0) == 0xC0) {
            extra = 1;
            code = byte & 0x1F;
        } else if ((byte & 0xF0) == 0xE0) {
            extra = 2;
            code = byte & 0x0F;
        } else if ((byte & 0xF8) == 0xF0) {
            extra = 3;
            code = byte & 0x07;
        } else {
            return false;
        }
        if (i + extra >= text.size()) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr std::uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

void AppendEscape(std::string& out, unsigned code) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
    out += buffer;
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
    const bool utf8 = IsValidUtf8(text);
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20 || (byte >= 0x80 && !utf8)) {
                AppendEscape(out, byte);
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void TJsonWriter::BeforeValue() {
    if (AfterKey_) {
        AfterKey_ = false;
        return;
    }
    if (!HasElement_.empty()) {
        if (HasElement_.back()) Text_ += ',';
        HasElement_.back() = true;
    }
}

void TJsonWriter::BeginObject() {
    BeforeValue();
    Text_ += '{';
    HasElement_.push_back(false);
}

void TJsonWriter::EndObject() {
    Text_ += '}';
    HasElement_.pop_back();
}

void TJsonWriter::BeginArray() {
    BeforeValue();
    Text_ += '[';
    HasElement_.push_back(false);
}

void TJsonWriter::EndArray() {
    Text_ += ']';
    HasElement_.pop_back();
}

void TJsonWriter::Key(std::string_view key) {
    BeforeValue();
    Text_ += JsonQuoted(key);
    Text_ += ':';
    AfterKey_ = true;
}

void TJsonWriter::String(std::string_view text) {
    BeforeValue();
    Text_ += JsonQuoted(text);
}

void TJsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    Text_ += std::to_string(value);
}

void TJsonWriter::Number(double value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        Text_ += "null";
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    Text_ += buffer;
}

void TJsonWriter::Boolean(bool value) {
    BeforeValue();
    Text_ += value ? "true" : "false";
}

void TJsonWriter::Null() {
    BeforeValue();
    Text_ += "null";
}

}  // namespace scenario
