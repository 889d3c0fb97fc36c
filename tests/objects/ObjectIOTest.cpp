// Requests, uploads, Global settings and object dumps as they go over the wire, and what each
// leaves in the object store.
#include "LowFixtures.h"
#include "TestSession.h"
#include "device/StatusCodes.h"
#include "objects/GlobalObject.h"
#include "objects/ObjectDumps.h"
#include "objects/ObjectIO.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Data characters that differ from their neighbours, so a write one place off shows.
QByteArray Pattern(int count, int seed)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data.append(static_cast<char>((seed + 7 * i) % 16));
    return data;
}

// A dump answer of `length` characters: kind at 9, object 37 at 14-17, data from 18, F7 last.
QByteArray Dump(int kind, int length)
{
    return SpMessage(Bytes({0x02, kind, 0, 0, 0, 0, 0, 0, 2, 5}) + Pattern(length - 18, kind));
}

const QByteArray ShortAnswer = SpMessage({0x01});

} // namespace

// The object number goes to positions 14-17, high nibble first.
TEST(ObjectUpload, SendsTheWorkingImageWithTheValueAndObjectNumberPatchedIn)
{
    const struct { const char *what; int kind; int16_t number; ObjectIO::Value value; int position, width;
                   QByteArray at; /* what the value writes at `position` */ } cases[] = {
        {"object 37", KindTone, 37, int64_t(5), 50, 2, Bytes({0, 5})},
        {"object 0", KindTone, 0, int64_t(12), 51, 2, Bytes({0, 12})},
        {"object 255", KindTone, 255, int64_t(255), 52, 2, Bytes({15, 15})},
        {"-200 in four", KindTone, 9, int64_t(-200), 61, 4, Bytes({15, 15, 3, 8})},
        {"six characters", KindTone, 9, int64_t(0x123456), 100, 6, Bytes({1, 2, 3, 4, 5, 6})},
        {"-2 in eight", KindTone, 9, int64_t(-2), 120, 8, Bytes({15, 15, 15, 15, 15, 15, 15, 14})},
        {"name", KindTone, 9, QStringLiteral("Bass"), 20, 28, Bytes({4, 2, 6, 1, 7, 3, 7, 3}) + Pads(10)},
        {"name cut to 14 characters", KindTone, 9, QStringLiteral("ABCDEFGHIJKLMNOP"), 20, 28,
         Bytes({4, 1, 4, 2, 4, 3, 4, 4, 4, 5, 4, 6, 4, 7, 4, 8, 4, 9, 4, 10, 4, 11, 4, 12, 4, 13, 4, 14})},
        {"last data character of a Tone", KindTone, 9, int64_t(0x3C), 178, 2, Bytes({3, 12})},
        {"Preset", KindPreset, 40, int64_t(7), 400, 2, Bytes({0, 7})},
        {"Wave, sent", KindWave, 3, int64_t(0xABCD), 80, 4, Bytes({10, 11, 12, 13})},
        {"Multi", KindMulti, 17, QStringLiteral("Split"), 20, 28, Bytes({5, 3, 7, 0, 6, 12, 6, 9, 7, 4}) + Pads(9)},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(0);
        const QByteArray image = Dump(c.kind, Kind(c.kind).dumpLength);
        t.session->objects.of(c.kind).Image = image;
        const QByteArray expected = With(With(image, c.position, c.at), 14, Nibbles(c.number, 4));

        EXPECT_EQ(t.session->io.UploadMessage(c.kind, c.number, c.value, c.position, c.width), expected) << c.what;
        EXPECT_TRUE(t.session->io.ObjectUpload(c.kind, c.number, c.value, c.position, c.width, true)) << c.what;
        EXPECT_EQ(t.backend->sent, QList<QByteArray>{expected}) << c.what;
        EXPECT_EQ(t.session->objects.of(c.kind).Image, image) << c.what << ": the working image is not changed";
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << c.what;
    }
}

TEST(ObjectUpload, AnErrorStatusFromTheSpIsAFailedUpload)
{
    OpenSession t;
    t.backend->reply = ScriptedBackend::StatusReply(4);
    t.session->objects.of(KindTone).Image = Dump(KindTone, 180);
    EXPECT_FALSE(t.session->io.ObjectUpload(KindTone, 9, int64_t(5), 50, 2, true));
    EXPECT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(t.session->objects.of(KindTone).Image, Dump(KindTone, 180));
    EXPECT_EQ(t.notifier.shown(), QStringList{"SP Error: Specified SP data object is empty/nonexistent"});
}

// As every exchange: a send that fails is reported, waited out and counted as a time-out, so a
// restore stops and nothing is left awaiting an answer.
TEST(ObjectUpload, AWholeDumpThatCannotBeSentIsATimeOut)
{
    for (const auto refusals : {ObjectIO::Refusals::Tell, ObjectIO::Refusals::Collect}) {
        OpenSession t;
        t.shortTimeouts();
        t.backend->failSend = true;
        EXPECT_EQ(t.session->io.SendWhole(Dump(KindTone, 180), refusals), SpStatus::TimedOut);
        EXPECT_FALSE(t.session->exchange.busy());
        EXPECT_EQ(t.notifier.messages.value(0).heading, "MidiOutLongMsg()");
        EXPECT_EQ(t.notifier.messages.value(0).text, "Error transmitting MIDI data to SP");
    }
}

TEST(ObjectUpload, WhatCannotBeWrittenIsReportedAndNothingIsSent)
{
    const struct { const char *what; int kind; bool haveImage; ObjectIO::Value value; int position, width;
                   const char *kindName; /* in the message's heading */ } cases[] = {
        {"256 in two", KindTone, true, int64_t(256), 50, 2, "Tone"},
        {"text away from the name", KindTone, true, QStringLiteral("5"), 50, 2, "Tone"},
        {"no Tone fetched yet", KindTone, false, int64_t(5), 50, 2, "Tone"},
        {"Preset", KindPreset, true, int64_t(-1), 50, 2, "Preset"},
        {"Multi", KindMulti, true, int64_t(300), 50, 2, "Multi"},
        {"Wave kept", KindWave, true, int64_t(-1), 50, 2, "Wave"},
        {"Map Header before any Map", KindMapHeader, false, int64_t(1), 50, 2, "Map Header"},
        {"Map Zone before any Map", KindMapZone, false, int64_t(1), 22, 2, "Map Zone"},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(0);
        const int imageKind = c.kind < NumberedKinds ? c.kind : KindMap;
        const QByteArray image = c.haveImage ? Dump(imageKind, Kind(imageKind).dumpLength) : QByteArray();
        t.session->objects.of(imageKind).Image = image;

        EXPECT_FALSE(t.session->io.ObjectUpload(c.kind, 9, c.value, c.position, c.width, c.kind != KindWave)) << c.what;
        EXPECT_TRUE(t.backend->sent.isEmpty()) << c.what;
        EXPECT_EQ(t.session->objects.of(imageKind).Image, image) << c.what;
        ASSERT_EQ(t.notifier.messages.size(), 1) << c.what;
        EXPECT_EQ(t.notifier.messages[0].icon, Notifier::Icon::Critical) << c.what;
        EXPECT_EQ(t.notifier.messages[0].heading, QStringLiteral("ObjectUpload() Upload %1 Object").arg(c.kindName));
        EXPECT_EQ(t.notifier.messages[0].text, "Error uploading data object to SP") << c.what;
    }
}

namespace {

// The seven Global requests, in the order the program sends them.
const QList<QByteArray> GlobalRequests = {
    SpMessage({0x11, 0x02, 0x01, 0x00}),       SpMessage({0x11, 0x03, 0x02, 0x01, 0x00}),
    SpMessage({0x11, 0x03, 0x02, 0x02, 0x00}), SpMessage({0x11, 0x03, 0x02, 0x03, 0x00}),
    SpMessage({0x11, 0x03, 0x02, 0x04, 0x00}), SpMessage({0x11, 0x03, 0x02, 0x05, 0x00}),
    SpMessage({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}),
};

// Answers the seven Global requests in order; the answer numbered `shortAt` comes back short.
// The master tune FF38 is -200 hundredths.
ScriptedBackend::Reply GlobalReplies(int shortAt = -1)
{
    auto count = std::make_shared<int>(0);
    return [count, shortAt](const QByteArray &) {
        const int n = (*count)++;
        if (n == shortAt)
            return QList<QByteArray>{ShortAnswer};
        if (n == 0)
            return QList<QByteArray>{SpMessage(Bytes({0x11, 0x02, 0x0F, 0x01}) + "Factory Bank  ")};
        if (n <= 5)
            return QList<QByteArray>{SpMessage({0x11, 0x03, 0x03, n, 0x01, QList<int>{2, 1, 9, 100, 1}[n - 1]})};
        return QList<QByteArray>{SpMessage({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 15, 15, 3, 8})};
    };
}

auto Fields(const GlobalValues &g)
{
    return std::tuple(g.BankName, g.PlaybackMode, g.ReceiveMode, g.OmniPolyChannel, g.OmniPolyVolume, g.ProgChange,
                      g.MasterTune);
}

const GlobalValues Sentinel = {QStringLiteral("old"), 99, 99, 99, 99, 99, 99};

} // namespace

// Half a Global read is no Global: from the first short answer on nothing is asked, nothing kept.
TEST(GlobalObject, ReadsNameParametersAndTuneOrStopsAtTheFirstShortAnswer)
{
    const GlobalValues read = {QStringLiteral("Factory Bank  "), 2, 1, 9, 100, 1, -200};
    for (int shortAt = -1; shortAt < 7; ++shortAt) { // -1: every answer whole
        OpenSession t;
        t.backend->reply = GlobalReplies(shortAt);
        GlobalValues global = Sentinel;
        EXPECT_EQ(GlobalObject::GlobalObjDump(t.session->io, global), shortAt < 0) << shortAt;
        EXPECT_EQ(t.backend->sent, GlobalRequests.mid(0, shortAt < 0 ? -1 : shortAt + 1)) << shortAt;
        EXPECT_EQ(Fields(global), Fields(shortAt < 0 ? read : Sentinel)) << shortAt;
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << shortAt;
    }
}

// Master tunes within twelve thousand hundredths, in two's complement.
TEST(GlobalObject, EditBodies)
{
    const QByteArray name = Bytes({0x11, 0x02, 0x0F, 0x01});
    const QByteArray tune = Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01});
    const struct { const char *what; std::optional<QByteArray> body, expected; } cases[] = {
        {"parameter 4 to 127", GlobalObject::ParameterEditBody(4, 127), Bytes({0x11, 0x03, 0x03, 0x04, 0x01, 0x7F})},
        {"bank name padded", GlobalObject::BankNameEditBody(QStringLiteral("Drums")), name + "Drums         "},
        {"bank name cut", GlobalObject::BankNameEditBody(QStringLiteral("ABCDEFGHIJKLMNOPQ")), name + "ABCDEFGHIJKLMN"},
        {"bank name 7-bit only", GlobalObject::BankNameEditBody(QString::fromUtf8("\xC3\x9C" "ber")), name + "?ber          "},
        {"tune 0", GlobalObject::MasterTuneEditBody(0), tune + Bytes({0, 0, 0, 0})},
        {"tune 1", GlobalObject::MasterTuneEditBody(1), tune + Bytes({0, 0, 0, 1})},
        {"tune 12000", GlobalObject::MasterTuneEditBody(12000), tune + Bytes({2, 14, 14, 0})},
        {"tune -12000", GlobalObject::MasterTuneEditBody(-12000), tune + Bytes({13, 1, 2, 0})},
        {"tune 12001", GlobalObject::MasterTuneEditBody(12001), std::nullopt},
        {"tune -12001", GlobalObject::MasterTuneEditBody(-12001), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.body, c.expected) << c.what;
}

TEST(GlobalDescription, HundredthsDropTrailingZeros)
{
    const std::pair<int, const char *> cases[] = {{1250, "12.5"}, {-300, "-3"}, {0, "0"}, {1, "0.01"},
                                                  {-5, "-0.05"},  {12000, "120"}, {-1234, "-12.34"}};
    for (const auto &[hundredths, text] : cases)
        EXPECT_EQ(GlobalDescription::HundredthsText(hundredths), QString::fromLatin1(text)) << hundredths;
}

// Asked for under the device ID of the settings.
TEST(ObjectDumps, FixedDumpKeepsOnlyAnswersOfTheKindsExactLength)
{
    const struct { int kind, length; bool kept; } cases[] = {
        {KindTone, 180, true},  {KindTone, 179, false},  {KindTone, 181, false},   {KindWave, 148, true},
        {KindWave, 147, false}, {KindPreset, 532, true}, {KindPreset, 180, false}, {KindMulti, 212, true},
        {KindMulti, 213, false},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.session->settings.sp.SysExDeviceID = 0;
        const QByteArray answer = Dump(c.kind, c.length);
        t.backend->reply = Always(answer);
        KindState &state = t.session->objects.of(c.kind);
        state.Image = "old";
        state.Num = 3;
        EXPECT_EQ(ObjectDumps::DumpObject(t.session->io, c.kind, 37), c.kept) << c.kind << " " << c.length;
        EXPECT_EQ(state.Image, c.kept ? answer : QByteArray("old")) << c.kind << " " << c.length;
        EXPECT_EQ(state.Num, c.kept ? 37 : 3) << c.kind << " " << c.length;
        EXPECT_EQ(t.backend->sent, QList<QByteArray>{ObjectRequest(c.kind, 37, 0)});
        EXPECT_TRUE(t.notifier.messages.isEmpty());
    }
}

namespace {

// Map header data, positions 18-83, with the last zone index at 52-53.
QByteArray MapHeaderData(int lastZone)
{
    return With(Pattern(66, 5), 52 - 17, Bytes({lastZone / 16, lastZone % 16}));
}

QByteArray ZoneData(int z)
{
    return Pattern(32, 11 + z);
}

// Map 7 with `zones` zones after its header.
QByteArray MapDump(int lastZone, int zones)
{
    QByteArray dump = SpMessage({0x02, 0x02, 0, 0, 4, 1, 0, 0, 0, 7}).chopped(1) + MapHeaderData(lastZone);
    for (int z = 0; z < zones; ++z)
        dump += ZoneData(z);
    return dump + Bytes({0xF7});
}

// The Map Header upload of Map 7: kind 5 with a byte count of 0023.
QByteArray MapHeader(const QByteArray &data)
{
    return SpMessage(Bytes({0x02, 0x05, 0x00, 0x00, 0x02, 0x03, 0, 0, 0, 7}) + data);
}

} // namespace

TEST(ObjectDumps, MapDumpBuildsTheHeaderUploadImageAndOneImagePerZone)
{
    for (int zones : {1, 2, 5}) {
        OpenSession t;
        const QByteArray dump = MapDump(zones - 1, zones);
        ASSERT_EQ(dump.size(), 84 + 32 * zones);
        t.backend->reply = Always(dump);
        ObjectStore &store = t.session->objects;
        store.CurrentZone = 3;

        EXPECT_TRUE(ObjectDumps::DumpObject(t.session->io, KindMap, 7)) << zones;
        EXPECT_EQ(store.MapHeaderImage, MapHeader(MapHeaderData(zones - 1))) << zones;
        ASSERT_EQ(store.ZoneImages.size(), zones);
        for (int z = 0; z < zones; ++z)
            EXPECT_EQ(store.ZoneImages[z], ZoneData(z)) << zones << " zone " << z;
        EXPECT_EQ(store.CurrentZone, 0);
        EXPECT_EQ(store.of(KindMap).Image, dump);
        EXPECT_EQ(store.of(KindMap).Num, 7);
        EXPECT_EQ(t.backend->sent.value(0), ObjectRequest(KindMap, 7));
    }
}

TEST(ObjectDumps, MapDumpShorterThanItsZoneCountKeepsTheOldMap)
{
    const struct { const char *what; QByteArray answer; } cases[] = {
        {"three zones claimed, two held", MapDump(2, 2)},
        {"last zone index cut off", MapDump(1, 2).left(52) + Bytes({0xF7})},
        {"last zone index not nibbles", With(MapDump(0, 1), 52, Bytes({0x10}))},
        {"short answer", ShortAnswer},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = Always(c.answer);
        ObjectStore &store = t.session->objects;
        store.MapHeaderImage = "header";
        store.ZoneImages = {"zone"};
        store.of(KindMap).Image = "map";
        store.of(KindMap).Num = 2;
        EXPECT_FALSE(ObjectDumps::MapObjDump(t.session->io, 7)) << c.what;
        EXPECT_EQ(store.MapHeaderImage, "header") << c.what;
        EXPECT_EQ(store.ZoneImages, QVector<QByteArray>{"zone"}) << c.what;
        EXPECT_EQ(store.of(KindMap).Image, "map") << c.what;
        EXPECT_EQ(store.of(KindMap).Num, 2) << c.what;
    }
}

TEST(ObjectDumps, MapHeaderUploadSendsTheHeaderImageAsKind5)
{
    OpenSession t;
    t.backend->reply = Always(MapDump(1, 2));
    ASSERT_TRUE(ObjectDumps::MapObjDump(t.session->io, 7));
    t.backend->sent.clear();
    t.backend->reply = ScriptedBackend::StatusReply(0);
    EXPECT_TRUE(t.session->io.ObjectUpload(KindMapHeader, 7, QStringLiteral("Pad"), 20, 28, true));
    EXPECT_EQ(t.backend->sent,
              QList<QByteArray>{MapHeader(With(MapHeaderData(1), 3, Bytes({5, 0, 6, 1, 6, 4}) + Pads(11)))});
}
