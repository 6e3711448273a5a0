#pragma once

#include <stdexcept>

namespace platform {

// A text or value could not be converted (bad number text, impossible date or time).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace platform
