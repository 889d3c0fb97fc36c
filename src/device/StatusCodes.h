// The SP's status codes and their messages.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace SpStatus {

// What callers get back from a wait that ended without an answer.
constexpr int TimedOut = 65;

QString SPErrorText(int code);
// The code of a status response, or nothing when the message is too short to hold one.
std::optional<int> CodeOf(const QByteArray &statusResponse);

} // namespace SpStatus
