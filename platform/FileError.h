#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// A file or directory operation failed; the message names the file.
class EFileError : public std::runtime_error {
public:
    EFileError(const std::string& message, std::string fileName)
        : std::runtime_error(message), fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

}  // namespace platform
