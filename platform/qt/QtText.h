#pragma once
// Conversions between the byte texts of the files and Qt strings. File texts are UTF-8 when
// they are valid UTF-8 and Windows Latin-1 bytes otherwise.
#include <QString>

#include <string>
#include <string_view>

namespace platform {

QString ToQString(std::string_view bytes);

// Back to bytes in the encoding that `like` was read with: Latin-1 when `like` was not
// valid UTF-8 and every character fits, else UTF-8. So an unchanged text keeps its bytes.
std::string FromQString(const QString& text, std::string_view like = {});

}  // namespace platform
