#include "platform/qt/QtText.h"

#include <QStringDecoder>

namespace platform {

namespace {

bool IsUtf8(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

bool FitsLatin1(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0xFF) return false;
    }
    return true;
}

}  // namespace

QString ToQString(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    return IsUtf8(bytes) ? QString::fromUtf8(bytes.data(), size) : QString::fromLatin1(bytes.data(), size);
}

std::string FromQString(const QString& text, std::string_view like) {
    QByteArray bytes = !IsUtf8(like) && FitsLatin1(text) ? text.toLatin1() : text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform
