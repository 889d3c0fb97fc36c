// Feeds arbitrary bytes through the receive path in arbitrary pieces, then reads every message
// as each kind of answer the program reads (status, directory status, directory, object and
// Map dumps, Global values) and hands it to the Virtual SP. Nothing may crash or read past the
// end of a message.
#include "device/StatusCodes.h"
#include "device/SysExFrame.h"
#include "objects/DumpRecord.h"
#include "midi/MidiStreamParser.h"
#include "objects/DumpCheck.h"
#include "device/NibbleCodec.h"
#include "objects/ObjectDirectory.h"
#include "objects/MapDump.h"
#include "objects/ObjectStore.h"
#include "vsp/VirtualSp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0] % 64;
    MidiStreamParser parser;
    for (uint8_t status : {0xF8, 0xF9, 0xFE})
        parser.setFiltered(status, true);
    VirtualSp sp;

    auto sink = [&sp](const QByteArray &message) {
        if (const auto code = SpStatus::CodeOf(message))
            (void)SpStatus::SPErrorText(*code);
        for (int position = -1; position <= message.size() + 1; ++position)
            (void)SysEx::ByteAt(message, position);
        (void)ObjDirStatus::Parse(message);
        (void)ObjDir::Parse(message);
        ObjectStore store;
        (void)ObjectDumps::ParseMap(message, 1, store);
        for (int kind = 0; kind <= 4; ++kind)
            (void)DumpCheck::WellFormed(message, kind, 1, DumpCheck::AnyLength);
        (void)DumpCheck::PrintableName(message);
        (void)NibbleCodec::ReadName(message, 20);
        // Preset and Multi dumps, read at every position a table could name.
        for (const int length : {532, 212}) {
            if (const auto record = DumpRecord::Parse(message, length, 20)) {
                for (int position = 0; position <= length + 2; ++position)
                    (void)record->Signed(position);
                (void)record->Number(length - 4, 2);
            }
        }
        (void)NibbleCodec::ReadSigned16(message, 18);
        for (const QByteArray &answer : sp.Receive(message))
            (void)SpStatus::CodeOf(answer);
    };
    for (size_t at = 1; at < size; at += piece) {
        const size_t length = std::min(piece, size - at);
        parser.feed(QByteArray(reinterpret_cast<const char *>(data + at), static_cast<qsizetype>(length)), sink);
    }
    return 0;
}
