#include "midi/MidiStreamParser.h"

namespace {

// Data bytes that follow a status byte; -1 for real-time bytes, which stand alone.
int DataLength(uint8_t status)
{
    if (status >= 0xF8)
        return 0;
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    case 0xF0:
        switch (status) {
        case 0xF1:
        case 0xF3:
            return 1;
        case 0xF2:
            return 2;
        default:
            return 0;
        }
    default:
        return 2;
    }
}

} // namespace

int MidiStreamParser::WireLength(uint8_t status)
{
    return 1 + DataLength(status);
}

void MidiStreamParser::setFiltered(uint8_t status, bool filtered)
{
    filters[status] = filtered;
}

bool MidiStreamParser::isFiltered(uint8_t status) const
{
    return filters[status];
}

void MidiStreamParser::reset()
{
    sysex.clear();
    inSysEx = false;
    discardingSysEx = false;
    runningStatus = 0;
    shortLength = 0;
    shortExpected = 0;
}

void MidiStreamParser::feed(const QByteArray &bytes, const Sink &sink)
{
    for (char c : bytes)
        feedByte(static_cast<uint8_t>(c), sink);
}

void MidiStreamParser::feedByte(uint8_t byte, const Sink &sink)
{
    if (byte >= 0xF8) {
        // Real-time bytes may appear anywhere, even inside a SysEx, without ending it.
        if (!filters[byte]) {
            QByteArray message(3, '\0');
            message[0] = static_cast<char>(byte);
            sink(message);
        }
        return;
    }

    if (inSysEx) {
        if (byte == 0xF7) {
            if (!discardingSysEx) {
                sysex.append(static_cast<char>(byte));
                QByteArray whole;
                whole.swap(sysex);
                inSysEx = false;
                sink(whole);
            } else {
                inSysEx = false;
                discardingSysEx = false;
            }
            return;
        }
        if (byte & 0x80) {
            // Any other status byte ends an unterminated SysEx: it is incomplete, so it goes.
            ++dropped;
            sysex.clear();
            inSysEx = false;
            discardingSysEx = false;
            startStatus(byte, sink);
            return;
        }
        if (discardingSysEx)
            return;
        if (sysex.size() >= MaxSysExLength) {
            ++dropped;
            discardingSysEx = true;
            QByteArray().swap(sysex);
            return;
        }
        sysex.append(static_cast<char>(byte));
        return;
    }

    if (byte & 0x80) {
        startStatus(byte, sink);
        return;
    }

    // A data byte: part of the current message, or the start of one under running status.
    if (shortExpected == 0) {
        if (runningStatus == 0)
            return; // stray data with no status to belong to
        shortMessage = {runningStatus, 0, 0};
        shortLength = 1;
        shortExpected = DataLength(runningStatus);
    }
    shortMessage[static_cast<size_t>(shortLength++)] = byte;
    if (shortLength == shortExpected + 1)
        emitShort(sink);
}

void MidiStreamParser::startStatus(uint8_t status, const Sink &sink)
{
    if (shortExpected > 0 && shortLength <= shortExpected)
        ++dropped; // a message cut short by the next status byte
    shortExpected = 0;
    shortLength = 0;

    if (status == 0xF0) {
        inSysEx = true;
        discardingSysEx = false;
        sysex.clear();
        sysex.append(static_cast<char>(status));
        runningStatus = 0;
        return;
    }
    if (status == 0xF7) {
        ++dropped; // an end of SysEx with no start
        return;
    }
    runningStatus = status < 0xF0 ? status : 0;
    shortMessage = {status, 0, 0};
    shortLength = 1;
    shortExpected = DataLength(status);
    if (shortExpected == 0) {
        if (!filters[status])
            emitShort(sink);
        shortLength = 0;
    }
}

void MidiStreamParser::emitShort(const Sink &sink)
{
    const uint8_t status = shortMessage[0];
    shortExpected = 0;
    shortLength = 0;
    if (filters[status])
        return;
    QByteArray message(3, '\0');
    for (int i = 0; i < 3; ++i)
        message[i] = static_cast<char>(shortMessage[static_cast<size_t>(i)]);
    sink(message);
}
