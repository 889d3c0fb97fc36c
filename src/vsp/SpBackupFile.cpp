#include "vsp/SpBackupFile.h"

#include "vsp/SpMemoryFile.h"
#include "vsp/SpMessages.h"
#include "vsp/VirtualSp.h"

#include <QFile>
#include <QSaveFile>

namespace Vsp {

namespace {

constexpr char DataMessage = 0x02;
constexpr int NumberNibbles = 4;

QByteArray Request(uint8_t deviceId, const QByteArray &body)
{
    return Wire::Frame(deviceId, body);
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

// The requests whose answers carry the Global settings, in their order in a backup.
QList<QByteArray> GlobalRequests()
{
    QList<QByteArray> requests{Bytes({0x11, 0x02, 0x01, 0x00})};
    for (int p = 1; p <= 5; ++p)
        requests.append(Bytes({0x11, 0x03, 0x02, p, 0x00}));
    requests.append(Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}));
    return requests;
}

} // namespace

QByteArray BackupOf(const SpMemory &memory, uint8_t deviceId)
{
    VirtualSp sp(deviceId);
    sp.setMemory(memory);
    QByteArray file;
    for (int kind = 0; kind < ObjectKinds; ++kind) {
        for (const auto &entry : memory.of(kind)) {
            QByteArray body = Bytes({0x01, kind, 0, 0, 0, 2});
            body.append(Wire::NumberToNibbles(static_cast<uint32_t>(entry.first), NumberNibbles));
            for (const QByteArray &answer : sp.Receive(Request(deviceId, body)))
                file += answer;
        }
    }
    for (const QByteArray &request : GlobalRequests()) {
        for (const QByteArray &answer : sp.Receive(Request(deviceId, request)))
            file += answer;
    }
    return file;
}

bool ReadBackup(const QByteArray &file, SpMemory &out, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    SpMemory memory;
    memory.installedKilowords = out.installedKilowords;
    std::vector<QByteArray> settings;
    qsizetype at = 0;
    int index = 0;
    while (at < file.size()) {
        const qsizetype end = file.indexOf('\xF7', at);
        if (file.at(at) != '\xF0' || end < 0)
            return fail(QStringLiteral("message %1 is not a whole SysEx message").arg(index + 1));
        const auto in = Wire::Open(file.mid(at, end - at + 1));
        at = end + 1;
        ++index;
        if (!in || !in->terminated || in->body.isEmpty())
            return fail(QStringLiteral("message %1 is not the SP's").arg(index));
        if (in->body.at(0) != DataMessage) {
            // Only the Global answers may stand beside the dumps: nothing else may act on the memory.
            const bool setting = in->body.startsWith(Bytes({0x11, 0x02, 0x0F, 0x01}))
                                 || in->body.startsWith(Bytes({0x11, 0x03, 0x03}))
                                 || in->body.startsWith(Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01}));
            if (!setting)
                return fail(QStringLiteral("message %1 is neither an object dump nor a Global setting").arg(index));
            settings.push_back(in->body);
            continue;
        }
        const QByteArray &body = in->body;
        const int kind = body.size() > 1 ? static_cast<uint8_t>(body.at(1)) : -1;
        const auto count = Wire::NibblesToNumber(body, 2, NumberNibbles);
        const auto number = Wire::NibblesToNumber(body, 6, NumberNibbles);
        const auto record = Wire::FromNibbles(body.mid(10));
        if (kind < 0 || kind >= ObjectKinds || !count || !number || !record
            || static_cast<int>(*count) != record->size() + 2)
            return fail(QStringLiteral("message %1 is not a whole object dump").arg(index));
        const QString fault = RecordFault(kind, *record);
        if (!fault.isEmpty())
            return fail(QStringLiteral("message %1: %2").arg(index).arg(fault));
        if (static_cast<int>(*number) > HighestAllowed(kind) || memory.find(kind, static_cast<int>(*number)))
            return fail(QStringLiteral("message %1 holds an object number twice or out of range").arg(index));
        memory.of(kind)[static_cast<int>(*number)] = *record;
    }
    // The Global answers are the very messages that set them.
    VirtualSp sp;
    sp.setMemory(memory);
    for (const QByteArray &body : settings) {
        const auto answers = sp.Receive(Wire::Frame(VirtualSp::BroadcastId, body));
        if (answers.size() != 1 || answers.front() != sp.StatusMessage(VirtualSp::Ok))
            return fail(QStringLiteral("a Global setting in the file is not one the SP accepts"));
    }
    if (settings.size() != 7)
        return fail(QStringLiteral("the file does not hold all the Global settings"));
    memory.global = sp.memory().global;
    if (memory.freeSampleKilowords() < 0 || memory.parameterBytesFree() < 0)
        return fail(QStringLiteral("the objects do not fit in the SP's memory"));
    out = memory;
    return true;
}

bool SaveBackup(const SpMemory &memory, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(BackupOf(memory)) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool LoadBackup(const QString &path, SpMemory &out, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return ReadBackup(file.readAll(), out, error);
}

} // namespace Vsp
