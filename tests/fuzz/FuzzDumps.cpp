// Every reader of one answer from the SP, chosen by the input's first byte; the rest is the
// message. Each reader must turn any bytes into a value or a refusal, reading nothing past the
// end. A new reader is one more row in the table.
#include "FuzzSeeds.h"
#include "objects/MessageDescription.h"
#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "editors/Compare.h"
#include "objects/MultiDescription.h"
#include "objects/PresetDescription.h"
#include "objects/DumpRecord.h"
#include "objects/ToneDescription.h"
#include "objects/WaveDescription.h"
#include "objects/Backup.h"
#include "objects/DumpCheck.h"
#include "objects/MapDump.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectDirectory.h"
#include "device/ObjectKinds.h"
#include "objects/ObjectStore.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpBackupFile.h"
#include "vsp/SpMemoryFile.h"
#include "vsp/VirtualSp.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace {

void ReadRecord(const QByteArray &m, int kind, int length, int first)
{
    (void)DumpCheck::WellFormed(m, kind, DumpCheck::AnyNumber, length);
    if (const auto record = DumpRecord::Parse(m, length, first)) {
        for (int position = first - 2; position <= length + 2; ++position) {
            (void)record->Value(position, position % 3 == 0);
            for (int bytes = 1; bytes <= 4; ++bytes)
                (void)record->Number(position, bytes);
        }
    }
    (void)Vsp::RecordFault(kind, m);
}

void ReadWave(const QByteArray &m)
{
    ReadRecord(m, KindWave, WaveDump::DumpLength, WaveDump::FirstPosition);
    if (const auto record = DumpRecord::Parse(m, WaveDump::DumpLength, WaveDump::FirstPosition)) {
        const WaveValues wave = WaveValues::Read(*record);
        for (int parm = 0; parm < WaveParmCount; ++parm) {
            const auto p = static_cast<WaveParm>(parm);
            (void)wave.storedText(p);
            (void)ParmText(p, wave.value(p));
        }
        (void)AddressText(wave.address);
    }
}

void ReadMap(const QByteArray &m)
{
    ObjectStore store;
    (void)DumpCheck::WellFormed(m, KindMap, DumpCheck::AnyNumber, DumpCheck::AnyLength);
    (void)ObjectDumps::ParseMap(m, 0, store);
    for (qsizetype at = 0; at < m.size(); at += ObjectDumps::ZoneCharacters)
        (void)ObjectDumps::ReadZone(m.mid(at, ObjectDumps::ZoneCharacters));
    if (const auto image = ObjectDumps::ZoneImageOfDump(m))
        (void)ObjectDumps::ReadZone(*image);
    (void)Vsp::RecordFault(KindMap, m);
}

void ReadDirectory(const QByteArray &m)
{
    (void)ObjDirStatus::Parse(m);
    const ObjDir directory = ObjDir::Parse(m);
    for (const ObjDirEntry &entry : directory.Entries)
        (void)directory.IndexOf(entry.Number);
    if (const auto code = SpStatus::CodeOf(m))
        (void)SpStatus::SPErrorText(*code);
}

void ReadNibbles(const QByteArray &m)
{
    for (int position = -2; position <= m.size() + 2; ++position) {
        for (int width = 0; width <= 9; ++width)
            (void)NibbleCodec::Read(m, position, width);
        (void)NibbleCodec::ReadSigned16(m, position);
        (void)NibbleCodec::ReadSignedByte(m, position);
    }
    (void)NibbleCodec::ReadName(m, 20);
    (void)DumpCheck::PrintableName(m);
}

// The MIDI monitor's describer, for a message on its own and as the answer to a request
// carried in the same input (split at its first F7).
void Describe(const QByteArray &m)
{
    using MessageDescription::Direction;
    (void)MessageDescription::Describe(m, Direction::In);
    (void)MessageDescription::Describe(m, Direction::Out);
    const qsizetype end = m.indexOf('\xF7');
    if (end >= 0)
        (void)MessageDescription::Describe(m.mid(end + 1), Direction::In, m.left(end + 1));
    (void)MessageDescription::Hex(m, 16);
}

// A small memory: the factory bank's first object of each kind.
Vsp::SpMemory SmallMemory()
{
    Vsp::SpMemory memory = Vsp::FactoryBank();
    for (int kind = KindWave; kind < NumberedKinds; ++kind) {
        auto &objects = memory.of(kind);
        while (objects.size() > 1)
            objects.erase(std::prev(objects.end()));
    }
    return memory;
}

// A backup file: read whole, written back, compared parameter by parameter with the factory
// bank's backup both ways, and each message read as a backup's dump.
void ReadBackup(const QByteArray &m)
{
    static const Backup::Contents factory = *Backup::Parse(Vsp::BackupOf(Vsp::FactoryBank())).contents;
    const Backup::ReadResult read = Backup::Parse(m);
    if (read.contents) {
        (void)Backup::Write(*read.contents);
        (void)read.contents->globalValues();
        (void)Compare::Differences(*read.contents, factory);
        (void)Compare::Differences(factory, *read.contents);
    }
    (void)Backup::ReadDump(m);
    (void)Backup::GlobalAnswerIndex(m);
}

const std::array<std::function<void(const QByteArray &)>, 9> Readers{
    ReadWave,
    [](const QByteArray &m) { ReadRecord(m, KindTone, ToneDescription::DumpLength, ToneDescription::FirstPosition); },
    ReadMap,
    [](const QByteArray &m) { ReadRecord(m, KindPreset, PresetDescription::DumpLength, PresetDescription::FirstPosition); },
    [](const QByteArray &m) { ReadRecord(m, KindMulti, MultiDescription::DumpLength, MultiDescription::FirstPosition); },
    ReadDirectory,
    ReadNibbles,
    Describe,
    ReadBackup,
};

// The Virtual SP's own answers, each behind the selector of the reader that takes it.
FuzzSeeds::Seeds Seeds()
{
    VirtualSp sp;
    sp.setMemory(Vsp::FactoryBank());
    FuzzSeeds::Seeds seeds;
    auto ask = [&](const QString &name, size_t reader, const QByteArray &body) {
        for (const QByteArray &answer : sp.Receive(SysEx::Frame(VirtualSp::BroadcastId, body)))
            seeds.emplace_back(name, QByteArray(1, static_cast<char>(reader)) + answer);
    };
    for (int kind = KindWave; kind < NumberedKinds; ++kind) {
        const auto &objects = sp.memory().of(kind);
        if (!objects.empty()) {
            const int number = objects.begin()->first;
            ask(QStringLiteral("dump-%1").arg(kind), static_cast<size_t>(kind),
                SysEx::Bytes({0x01, kind, 0, 0, 0, 2, 0, 0, (number / 16) & 0x7F, number % 16}));
        }
        ask(QStringLiteral("directory-status-%1").arg(kind), 5, SysEx::Bytes({0x12, 0x01, 0x01, kind}));
        ask(QStringLiteral("directory-%1").arg(kind), 5, SysEx::Bytes({0x12, 0x02, 0x01, kind}));
    }
    ask(QStringLiteral("status"), 7, SysEx::Bytes({0x7F}));
    seeds.emplace_back(QStringLiteral("backup"), QByteArray(1, 8) + Vsp::BackupOf(SmallMemory()));
    return seeds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!FuzzSeeds::Folder().isEmpty())
        FuzzSeeds::WriteAndExit(Seeds());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray message(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    Readers[data[0] % Readers.size()](message);
    return 0;
}
