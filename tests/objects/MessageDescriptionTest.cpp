// What the MIDI monitor says a message means: the program's own requests and the Virtual SP's
// answers as they pass through the trace, hand-made messages of other kinds, and garbage.
#include "Bytes.h"
#include "QtPrinters.h"
#include "TestSession.h"
#include "VspApp.h"
#include "device/FrontPanel.h"
#include "objects/MessageDescription.h"
#include "objects/GlobalObject.h"
#include "objects/ObjectIO.h"
#include "vsp/VirtualSp.h"
#include "vsp/VirtualSpBackend.h"

#include <gtest/gtest.h>

#include <functional>

using MessageDescription::Describe;
using MessageDescription::Direction;
using MessageDescription::Hex;

namespace {

// A session on the Virtual SP that records what passes through the trace, as the monitor sees it.
struct TracedSession : TestSession {
    TracedSession() : TestSession(Holding(VspApp::StandardMemory()))
    {
        openPorts();
        listener = session->trace.addListener([this](const MidiTrace::Event &e) { events.push_back(e); });
    }
    ~TracedSession() { session->trace.removeListener(listener); }

    static std::unique_ptr<MidiBackend> Holding(Vsp::SpMemory memory)
    {
        auto vsp = std::make_unique<VirtualSpBackend>();
        vsp->device().setMemory(std::move(memory));
        return vsp;
    }

    std::vector<MidiTrace::Event> events;
    int listener = 0;
};

struct Exchange {
    const char *what;
    std::function<void(Session &)> run;
    QString out;
    QString in; // a prefix when it ends with "..."
};

} // namespace

TEST(MessageDescription, EachExchangeOfTheProgramIsDescribedBothWays)
{
    const QString tooLow = QStringLiteral("Status 4: Specified SP data object is empty/nonexistent");
    using S = Session;
    const auto command = [](QByteArray body) { return [body](S &s) { s.io.SendCommand(body); }; };
    const auto global = [](QByteArray body) { return [body](S &s) { s.io.ReqObjectDump(ObjectIO::GlobalFormat, body, {}); }; };
    const std::vector<Exchange> exchanges = {
        {"Preset key", [](S &s) { s.frontPanel.Press(3); }, "Front-panel key Preset", "Status 0: OK"},
        {"Tone dump", [](S &s) { s.io.RequestObject(KindTone, 7); }, "Dump request t#7", "Tone dump t#7 \"Snare Tone\""},
        {"Wave dump", [](S &s) { s.io.RequestObject(KindWave, 9); }, "Dump request w#9", "Wave dump w#9 \"Hat\""},
        {"Preset dump", [](S &s) { s.io.RequestObject(KindPreset, 1); }, "Dump request p#1", "Preset dump p#1 \"Second Kit\""},
        {"Multi dump", [](S &s) { s.io.RequestObject(KindMulti, 0); }, "Dump request mu#0", "Multi dump mu#0 \"Band\""},
        {"Map dump", [](S &s) { s.io.RequestObject(KindMap, 4); }, "Dump request m#4", "Map dump m#4 \"Drum Map\""},
        {"missing Tone", [](S &s) { s.io.RequestObject(KindTone, 8); }, "Dump request t#8", tooLow},
        {"Tone status", [](S &s) { s.io.GetObjDirStatus(KindTone); }, "Directory status request, Tones",
         "Directory status, Tones: 3 loaded, 3 to 12, free RAM ..."},
        {"Multi status", [](S &s) { s.io.GetObjDirStatus(KindMulti); }, "Directory status request, Multis",
         "Directory status, Multis: 1 loaded, 0 to 0, free RAM ..."},
        {"Wave directory", [](S &s) { s.io.GetObjDir(KindWave); }, "Directory request, Waves", "Directory, Waves: 3 entries"},
        {"Map directory", [](S &s) { s.io.GetObjDir(KindMap); }, "Directory request, Maps", "Directory, Maps: 1 entry"},
        {"Tone upload",
         [](S &s) {
             s.objects.of(KindTone).Image = s.io.RequestObject(KindTone, 3);
             s.io.ObjectUpload(KindTone, 3, int64_t{5}, 50, 2, true);
         },
         "Upload t#3 \"Kick Tone\"", "Status 0: OK"},
        {"Global name", global(Bytes({0x11, 2, 1, 0})), "Global name request", "Global name \"Test Bank\""},
        {"Global channel", global(Bytes({0x11, 3, 2, 3, 0})), "Global Omni/Poly channel request",
         "Global Omni/Poly channel = 5"},
        {"master tune", global(Bytes({0x32, 1, 0, 0, 0, 2, 0, 1, 0, 0})), "Master tune request", "Master tune -2.50"},
        {"set volume", command(GlobalObject::ParameterEditBody(4, 100)), "Set Global Omni/Poly volume to 100",
         "Status 0: OK"},
        {"set name", command(GlobalObject::BankNameEditBody(QStringLiteral("Live Set"))), "Set Global name \"Live Set\"",
         "Status 0: OK"},
        {"set tune", command(*GlobalObject::MasterTuneEditBody(-350)), "Set master tune to -3.50", "Status 0: OK"},
        {"bad parameter", command(GlobalObject::ParameterEditBody(3, 16)), "Set Global Omni/Poly channel to 17",
         "Status 11: SP illegal data value encountered"},
        {"delete", command(Bytes({0x03, 1, 0, 0, 0, 2, 0, 0, 0, 12})), "Delete t#12", "Status 0: OK"},
        {"delete all", command(Bytes({0x03, 3, 0, 0, 0, 2, 15, 15, 15, 15})), "Delete all Presets", "Status 0: OK"},
        {"merge", command(Bytes({0x31, 1, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 5})), "Stereo merge w#2 with w#5", "Status ..."},
        {"load bank", command(Bytes({0x30, 1, 0, 0, 0, 3, 0, 2, 0, 0, 0, 5})), "Load bank 5 from SCSI ID 2",
         "Status 10: Requested SP operation failed"},
        {"clear", command(Bytes({0x03, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0})), "Clear all memory", "Status 0: OK"},
    };
    TracedSession t;
    for (const Exchange &e : exchanges) {
        SCOPED_TRACE(e.what);
        t.events.clear();
        e.run(*t.session);
        // The exchange under test is the last; the upload reads its Tone first.
        ASSERT_GE(t.events.size(), 2u);
        const MidiTrace::Event &sent = t.events[t.events.size() - 2];
        const MidiTrace::Event &answer = t.events.back();
        ASSERT_EQ(sent.direction, MidiTrace::Direction::Out);
        ASSERT_EQ(answer.direction, MidiTrace::Direction::In);
        EXPECT_EQ(Describe(sent.message, Direction::Out), e.out);
        const QString in = Describe(answer.message, Direction::In, sent.message);
        if (e.in.endsWith(QStringLiteral("...")))
            EXPECT_TRUE(in.startsWith(e.in.chopped(3))) << in.toStdString();
        else
            EXPECT_EQ(in, e.in);
        EXPECT_LE(sent.nanoseconds, answer.nanoseconds);
    }
}

TEST(MessageDescription, AnswersWithoutTheirRequestAreToldByTheirShape)
{
    VirtualSp sp;
    sp.setMemory(VspApp::StandardMemory());
    const auto answer = [&sp](std::initializer_list<int> body) { return sp.Receive(SpMessage(body)).at(0); };
    EXPECT_EQ(Describe(answer({0x01, 1, 0, 0, 0, 2, 0, 0, 0, 12}), Direction::In), "Tone dump t#12 \"Hat Tone\"");
    EXPECT_EQ(Describe(answer({0x01, 0, 0, 0, 0, 2, 0, 0, 0, 5}), Direction::In), "Wave dump w#5 \"Snare\"");
    EXPECT_EQ(Describe(answer({0x12, 2, 1, 1}), Direction::In), "Directory, Tones: 3 entries");
    EXPECT_TRUE(Describe(answer({0x12, 1, 1, 3}), Direction::In).startsWith("Directory status, Presets: 2 loaded, 0 to 1"));
    // A Map's dump and the Maps' directory have the same shape: only the request tells them apart.
    const QByteArray map = answer({0x01, 2, 0, 0, 0, 2, 0, 0, 0, 4});
    EXPECT_EQ(Describe(map, Direction::In), QStringLiteral("Map dump or directory, %1 bytes").arg(map.size()));
    // The same bytes sent by the program are an upload.
    EXPECT_EQ(Describe(map, Direction::Out), "Upload m#4 \"Drum Map\"");
}

TEST(MessageDescription, FrontPanelKeysOfAnotherDeviceOrOfNoKey)
{
    EXPECT_EQ(Describe(FrontPanel::KeyMessage(16, 0), Direction::Out), "Front-panel key Preset [device 16]");
    EXPECT_EQ(Describe(FrontPanel::KeyMessage(127, 12), Direction::Out), "Front-panel key, unknown code 12");
}

TEST(MessageDescription, ShortMessagesOtherMakersUniversalMessagesAndGarbageAreNamedForWhatTheyAre)
{
    const struct { QByteArray bytes; const char *expected; } cases[] = {
        {Bytes({0x90, 60, 100}), "Note on ch 1 C4 velocity 100"},
        {Bytes({0x8F, 60, 64}), "Note off ch 16 C4 velocity 64"},
        {Bytes({0x99, 37, 0}), "Note off ch 10 C#2 (note on, velocity 0)"},
        {Bytes({0x92, 0, 1}), "Note on ch 3 C- velocity 1"},
        {Bytes({0xB0, 7, 100}), "Control change ch 1 controller 7 value 100"},
        {Bytes({0xC4, 5}), "Program change ch 5 program 5"},
        {Bytes({0xD0, 30}), "Channel pressure ch 1 value 30"},
        {Bytes({0xA1, 61, 30}), "Key pressure ch 2 C#4 value 30"},
        {Bytes({0xE0, 0, 0x40}), "Pitch bend ch 1 0"},
        {Bytes({0xE0, 0, 0}), "Pitch bend ch 1 -8192"},
        {Bytes({0xF8}), "Timing clock"},
        {Bytes({0xFE}), "Active sensing"},
        {Bytes({0xF2, 0x10, 0x01}), "Song position"},
        {Bytes({0xF7}), "End of SysEx without a start"},
        {Bytes({0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}), "SysEx from another maker (ID 43), 6 bytes"},
        {Bytes({0xF0, 0x00, 0x20, 0x33, 0x01, 0xF7}), "SysEx from another maker (ID 00 20 33), 6 bytes"},
        {Bytes({0xF0, 0x00, 0x00, 0x1B, 0x03, 0x01, 0x7F, 0xF7}), "SysEx from the SP's maker for another model (03 01)"},
        {Bytes({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}), "Identity request (device 127)"},
        {Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x00, 0x00, 0x1B, 0x02, 0x00, 0x05, 0x00, 1, 2, 0, 0, 0xF7}),
         "Identity reply (device 16): maker 00 00 1B, family 2, model 5, version 1.2.0.0"},
        {Bytes({0xF0, 0x7E, 0x00, 0x06, 0x02, 0x41, 0x10, 0x01, 0x20, 0x03, 1, 0, 0, 0, 0xF7}),
         "Identity reply (device 0): maker 41, family 144, model 416, version 1.0.0.0"},
        {Bytes({0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x7F, 0xF7}), "Universal SysEx (real-time), device 127, sub-IDs 04 01"},
        // Garbage.
        {QByteArray(), "Empty message"},
        {Bytes({0x45}), "Data without a status byte, 1 byte"},
        {Bytes({0x45, 0x10, 0x00}), "Data without a status byte, 3 bytes"},
        {Bytes({0xF0}), "Truncated SysEx (no F7), 1 byte"},
        {Bytes({0xF0, 0xF7}), "Empty SysEx"},
        {Bytes({0xF0, 0x00, 0xF7}), "SysEx from another maker (ID 00 ?), 3 bytes"},
        {Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01}), "Truncated SP message (no F7), 9 bytes"},
        {Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x81, 0xF7}), "Broken SysEx: byte 81 at position 9"},
        {Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0xF7}), "SP message without a command"},
        {SpMessage({}), "SP message without a command"},
        {SpMessage({0x00}), "Status (truncated)"},
        {SpMessage({0x45, 0x01}), "Unknown SP command 45"},
        {SpMessage({0x11, 0x01, 0x01}), "Front-panel key (truncated)"},
        {SpMessage({0x01, 0x01}), "Dump request (truncated)"},
        {SpMessage({0x01, 0x01, 0, 0, 0, 2, 0, 0, 0x10, 0}), "Dump request t#?"},
        {SpMessage({0x02, 0x01, 0, 0}), "Data (truncated)"},
        {SpMessage({0x03, 0x01, 0, 0, 0, 2, 0, 0}), "Delete (truncated)"},
        {SpMessage({0x12, 0x01, 0x01}), "Directory status request (truncated)"},
        {SpMessage({0x11, 0x02, 0x0F, 0x01, 'A'}), "Global name (truncated)"},
        {SpMessage({0x11, 0x03, 0x03, 9, 1}), "Global parameter 9 (truncated)"},
        {SpMessage({0x32, 1, 0, 0, 0, 4, 0, 1, 0, 1, 0, 0}), "Master tune (truncated)"},
        {SpMessage({0x30, 1, 0, 0, 0, 3, 0x7F}), "Load bank (truncated)"},
        {SpMessage({0x31, 1, 0, 0, 0, 4, 0, 0, 0, 3}), "Stereo merge (truncated)"},
        {SpMessage({0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 3}), "Tone dump t#3 (wrong length, 18 bytes)"},
        {Bytes({0x90, 60}), "Note on ch 1 (truncated)"},
        {Bytes({0xC0}), "Program change ch 1 (truncated)"},
        {Bytes({0x90, 60, 0x90}), "Note on ch 1 with a bad data byte 90"},
        {Bytes({0x90, 60, 100, 61}), "Note on ch 1 C4 velocity 100 (and 1 more bytes)"},
        {Bytes({0xF2, 0x10}), "Song position (truncated)"},
        {Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x43, 0x01, 0xF7}), "Identity reply from maker 43 (truncated)"},
        {Bytes({0xF0, 0x7E, 0x10, 0xF7}), "Universal SysEx (non-real-time) (truncated)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Describe(c.bytes, Direction::In), QString::fromUtf8(c.expected)) << Hex(c.bytes).toStdString();
}

// Every cut of every kind of message the SP sends gets a description; what no cut shows, the
// fuzz target's random bytes and the sanitizer build look for.
TEST(MessageDescription, EveryCutOfARealMessageGetsADescription)
{
    VirtualSp sp;
    sp.setMemory(VspApp::StandardMemory());
    QList<QByteArray> real = {FrontPanel::KeyMessage(127, 3), sp.Receive(SpMessage({0x11, 2, 1, 0})).at(0)};
    for (int kind = 0; kind <= 4; ++kind) {
        real << sp.Receive(SpMessage({0x12, 1, 1, kind})).at(0) << sp.Receive(SpMessage({0x12, 2, 1, kind})).at(0);
        real << sp.Receive(SpMessage({0x01, kind, 0, 0, 0, 2, 0, 0, 0, kind == 2 ? 4 : 3})).at(0);
    }
    for (const QByteArray &message : real) {
        for (qsizetype cut = 0; cut <= message.size(); ++cut) {
            for (Direction d : {Direction::Out, Direction::In}) {
                EXPECT_FALSE(Describe(message.left(cut), d).isEmpty());
                EXPECT_FALSE(Describe(message.left(cut), d, FrontPanel::KeyMessage(127, 0).left(cut)).isEmpty());
            }
        }
    }
}

TEST(MessageDescription, BytesInHexShortenedWithTheirEnd)
{
    EXPECT_EQ(Hex(Bytes({0xF0, 0x00, 0x1B, 0x7F, 0xF7})), "F0 00 1B 7F F7");
    EXPECT_EQ(Hex(QByteArray()), "");
    EXPECT_EQ(Hex(Bytes({0x0A, 0xF7}), 2), "0A F7");
    const QByteArray dump = Bytes({0xF0}) + QByteArray(146, '\x05') + Bytes({0xF7});
    EXPECT_EQ(Hex(dump).size(), 148 * 3 - 1);
    EXPECT_EQ(Hex(dump, 4), QStringLiteral("F0 05 05 \u2026 F7"));
}
