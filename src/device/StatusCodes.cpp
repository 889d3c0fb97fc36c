#include "device/StatusCodes.h"

#include "device/SysExFrame.h"

#include <array>

namespace SpStatus {

QString SPErrorText(int code)
{
    static const std::array<const char *, 12> texts = {
        "",
        "Unrecognised SP message",
        "Truncated SP message",
        "Error in SP message string",
        "Specified SP data object is empty/nonexistent",
        "Specified SP data object number is out of range",
        "Insufficient SP memory to perform this operation",
        "Unrecognised SP data object dump format code",
        "Illegal SP request",
        "SP device is busy",
        "Requested SP operation failed",
        "SP illegal data value encountered",
    };
    if (code < 0 || code >= static_cast<int>(texts.size()))
        return QStringLiteral("Unknown SP Error");
    return QString::fromLatin1(texts[static_cast<size_t>(code)]);
}

std::optional<int> CodeOf(const QByteArray &statusResponse)
{
    const auto code = SysEx::ByteAt(statusResponse, SysEx::StatusCodePosition);
    if (!code)
        return std::nullopt;
    return static_cast<int>(*code);
}

} // namespace SpStatus
