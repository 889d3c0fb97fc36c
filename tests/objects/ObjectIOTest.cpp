// Requests, uploads, Global settings and object dumps as they go over the wire, and what each
// leaves in the object store.
#include "Bytes.h"
#include "TestSession.h"
#include "device/StatusCodes.h"
#include "objects/GlobalObject.h"
#include "objects/ObjectDumps.h"
#include "objects/ObjectIO.h"
#include "vsp/VirtualSpBackend.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Data characters that differ from their neighbours, so a write one place off shows.
QByteArray Pattern(int count, int seed)
{
    QByteArray data;
    for (int i = 0; i < count; ++i)
        data.append(static_cast<char>((seed + 7 * i) % 16));
    return data;
}

// A dump answer of `length` characters: kind at 9, object 9 at 14-17, data from 18, F7 last.
QByteArray Dump(int kind, int length)
{
    return Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, kind, 0, 0, 0, 0, 0, 0, 0, 9})
           + Pattern(length - 18, kind) + Bytes({0xF7});
}

const QByteArray ShortAnswer = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0xF7});

const QByteArray UploadError = "Error uploading data object to SP";

} // namespace

TEST(ObjectIORequests, EveryRequestGoesOutByteForByte)
{
    const struct {
        const char *what;
        std::function<void(ObjectIO &)> request;
        QByteArray expected;
    } cases[] = {
        {"Tone 5", [](ObjectIO &io) { io.RequestObject(KindTone, 5); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0xF7})},
        {"Preset 37", [](ObjectIO &io) { io.RequestObject(KindPreset, 37); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02, 0x05, 0xF7})},
        {"Wave 255", [](ObjectIO &io) { io.RequestObject(KindWave, 255); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x0F, 0x0F, 0xF7})},
        {"Multi 0", [](ObjectIO &io) { io.RequestObject(KindMulti, 0); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0xF7})},
        {"Preset status", [](ObjectIO &io) { io.GetObjDirStatus(KindPreset); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x01, 0x01, 0x03, 0xF7})},
        {"Wave status", [](ObjectIO &io) { io.GetObjDirStatus(KindWave); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x01, 0x01, 0x00, 0xF7})},
        {"Map directory", [](ObjectIO &io) { io.GetObjDir(KindMap); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x02, 0x01, 0x02, 0xF7})},
        {"Global format sends no tail",
         [](ObjectIO &io) { io.ReqObjectDump(ObjectIO::GlobalFormat, Bytes({0x11, 0x02, 0x01, 0x00}), Bytes({0, 0, 0, 5})); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x02, 0x01, 0x00, 0xF7})},
        {"directory format sends its tail",
         [](ObjectIO &io) { io.ReqObjectDump(ObjectIO::DirectoryFormat, Bytes({0x12, 0x02, 0x01}), Bytes({0x03})); },
         Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x02, 0x01, 0x03, 0xF7})},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = [](const QByteArray &) { return QList<QByteArray>{Dump(KindTone, 180)}; };
        c.request(t.session->io);
        ASSERT_EQ(t.backend->sent.size(), 1) << c.what;
        EXPECT_EQ(t.backend->sent[0], c.expected) << c.what;
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << c.what;
    }
}

TEST(ObjectIORequests, DeviceIdFromTheSettingsGoesIntoByte7)
{
    for (int id : {0, 5, 126}) {
        OpenSession t;
        t.session->settings.sp.SysExDeviceID = static_cast<int16_t>(id);
        t.backend->reply = [](const QByteArray &) { return QList<QByteArray>{ShortAnswer}; };
        t.session->io.RequestObject(KindTone, 5);
        t.session->io.GetObjDirStatus(KindPreset);
        ASSERT_EQ(t.backend->sent.size(), 2);
        EXPECT_EQ(t.backend->sent[0],
                  Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, id, 0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0xF7}));
        EXPECT_EQ(t.backend->sent[1], Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, id, 0x12, 0x01, 0x01, 0x03, 0xF7}));
        EXPECT_TRUE(t.notifier.messages.isEmpty());
    }
}

TEST(ObjectIORequests, TheWholeAnswerIsHandedOverAndTaken)
{
    OpenSession t;
    const QByteArray answer = Dump(KindTone, 180);
    t.backend->reply = [&answer](const QByteArray &) { return QList<QByteArray>{answer}; };
    EXPECT_EQ(t.session->io.RequestObject(KindTone, 9), answer);
    EXPECT_FALSE(t.session->exchange.hasResponse());
    EXPECT_FALSE(t.session->exchange.inLed());
    EXPECT_TRUE(t.notifier.messages.isEmpty());
}

TEST(ObjectUpload, SendsTheWorkingImageWithTheValueAndObjectNumberPatchedIn)
{
    const struct {
        const char *what;
        int kind;
        int16_t number;
        ObjectIO::Value value;
        int position;
        int width;
        QByteArray at;      // what the value writes at `position`
        QByteArray number4; // positions 14-17
    } cases[] = {
        {"5 at 50 in two", KindTone, 9, int64_t(5), 50, 2, Bytes({0, 5}), Bytes({0, 0, 0, 9})},
        {"object 37", KindTone, 37, int64_t(5), 50, 2, Bytes({0, 5}), Bytes({0, 0, 2, 5})},
        {"object 0", KindTone, 0, int64_t(12), 51, 2, Bytes({0, 12}), Bytes({0, 0, 0, 0})},
        {"object 255", KindTone, 255, int64_t(255), 52, 2, Bytes({15, 15}), Bytes({0, 0, 15, 15})},
        {"-1 in four", KindTone, 9, int64_t(-1), 60, 4, Bytes({15, 15, 15, 15}), Bytes({0, 0, 0, 9})},
        {"-200 in four", KindTone, 9, int64_t(-200), 61, 4, Bytes({15, 15, 3, 8}), Bytes({0, 0, 0, 9})},
        {"six characters", KindTone, 9, int64_t(0x123456), 100, 6, Bytes({1, 2, 3, 4, 5, 6}), Bytes({0, 0, 0, 9})},
        {"-2 in eight", KindTone, 9, int64_t(-2), 120, 8, Bytes({15, 15, 15, 15, 15, 15, 15, 14}), Bytes({0, 0, 0, 9})},
        {"name", KindTone, 9, QStringLiteral("Bass"), 20, 28, Bytes({4, 2, 6, 1, 7, 3, 7, 3}) + Pads(10),
         Bytes({0, 0, 0, 9})},
        {"name cut to 14 characters", KindTone, 9, QStringLiteral("ABCDEFGHIJKLMNOP"), 20, 28,
         Bytes({4, 1, 4, 2, 4, 3, 4, 4, 4, 5, 4, 6, 4, 7, 4, 8, 4, 9, 4, 10, 4, 11, 4, 12, 4, 13, 4, 14}), Bytes({0, 0, 0, 9})},
        {"last data character of a Tone", KindTone, 9, int64_t(0x3C), 178, 2, Bytes({3, 12}), Bytes({0, 0, 0, 9})},
        {"Preset", KindPreset, 40, int64_t(7), 400, 2, Bytes({0, 7}), Bytes({0, 0, 2, 8})},
        {"Wave, sent", KindWave, 3, int64_t(0xABCD), 80, 4, Bytes({10, 11, 12, 13}), Bytes({0, 0, 0, 3})},
        {"Multi", KindMulti, 17, QStringLiteral("Split"), 20, 28, Bytes({5, 3, 7, 0, 6, 12, 6, 9, 7, 4}) + Pads(9),
         Bytes({0, 0, 1, 1})},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(0);
        const QByteArray image = Dump(c.kind, Kind(c.kind).dumpLength);
        t.session->objects.of(c.kind).Image = image;
        const QByteArray expected = With(With(image, c.position, c.at), 14, c.number4);

        EXPECT_EQ(t.session->io.UploadMessage(c.kind, c.number, c.value, c.position, c.width), expected) << c.what;
        EXPECT_TRUE(t.session->io.ObjectUpload(c.kind, c.number, c.value, c.position, c.width, true)) << c.what;

        ASSERT_EQ(t.backend->sent.size(), 1) << c.what;
        EXPECT_EQ(t.backend->sent[0], expected) << c.what;
        EXPECT_EQ(t.backend->sent[0].size(), image.size()) << c.what;
        EXPECT_EQ(t.session->objects.of(c.kind).Image, image) << c.what << ": the working image is not changed";
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << c.what;
    }
}

TEST(ObjectUpload, AnErrorStatusFromTheSpIsAFailedUpload)
{
    OpenSession t;
    t.backend->reply = ScriptedBackend::StatusReply(4);
    const QByteArray image = Dump(KindTone, 180);
    t.session->objects.of(KindTone).Image = image;

    EXPECT_FALSE(t.session->io.ObjectUpload(KindTone, 9, int64_t(5), 50, 2, true));
    EXPECT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(t.session->objects.of(KindTone).Image, image);
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
        EXPECT_EQ(t.notifier.messages.value(0).text, "Error transmitting MIDI data to SP");
    }
}

TEST(ObjectUpload, WhatCannotBeWrittenIsReportedAndNothingIsSent)
{
    const struct {
        const char *what;
        int kind;
        bool haveImage;
        ObjectIO::Value value;
        int position;
        int width;
        bool send;
        const char *heading;
    } cases[] = {
        {"-1 as 16-bit in two", KindTone, true, int64_t(-1), 50, 2, true, "ObjectUpload() Upload Tone Object"},
        {"256 in two", KindTone, true, int64_t(256), 50, 2, true, "ObjectUpload() Upload Tone Object"},
        {"65536 in four", KindTone, true, int64_t(65536), 60, 4, true, "ObjectUpload() Upload Tone Object"},
        {"text away from the name", KindTone, true, QStringLiteral("5"), 50, 2, true,
         "ObjectUpload() Upload Tone Object"},
        {"no Tone fetched yet", KindTone, false, int64_t(5), 50, 2, true, "ObjectUpload() Upload Tone Object"},
        {"Preset", KindPreset, true, int64_t(-1), 50, 2, true, "ObjectUpload() Upload Preset Object"},
        {"Multi", KindMulti, true, int64_t(300), 50, 2, true, "ObjectUpload() Upload Multi Object"},
        {"Wave kept", KindWave, true, int64_t(-1), 50, 2, false, "ObjectUpload() Upload Wave Object"},
        {"Map Header before any Map", KindMapHeader, false, int64_t(1), 50, 2, true,
         "ObjectUpload() Upload Map Header Object"},
        {"Map Zone before any Map", KindMapZone, false, int64_t(1), 22, 2, true,
         "ObjectUpload() Upload Map Zone Object"},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(0);
        const int imageKind = c.kind < NumberedKinds ? c.kind : KindMap;
        const QByteArray image = c.haveImage ? Dump(imageKind, Kind(imageKind).dumpLength) : QByteArray();
        t.session->objects.of(imageKind).Image = image;

        EXPECT_FALSE(t.session->io.ObjectUpload(c.kind, 9, c.value, c.position, c.width, c.send)) << c.what;

        EXPECT_TRUE(t.backend->sent.isEmpty()) << c.what;
        EXPECT_EQ(t.session->objects.of(imageKind).Image, image) << c.what;
        ASSERT_EQ(t.notifier.messages.size(), 1) << c.what;
        EXPECT_EQ(t.notifier.messages[0].icon, Notifier::Icon::Critical) << c.what;
        EXPECT_EQ(t.notifier.messages[0].heading, QString::fromLatin1(c.heading)) << c.what;
        EXPECT_EQ(t.notifier.messages[0].text, UploadError) << c.what;
    }
}

TEST(ObjectUpload, AWaveKeptBackChangesOnlyTheWaveImage)
{
    const struct {
        const char *what;
        ObjectIO::Value value;
        int position;
        int width;
        QByteArray at;
    } cases[] = {
        {"5 at 50", int64_t(5), 50, 2, Bytes({0, 5})},
        {"-1 in four", int64_t(-1), 60, 4, Bytes({15, 15, 15, 15})},
        {"sample period in eight", int64_t(0x0001F4A0), 110, 8, Bytes({0, 0, 0, 1, 15, 4, 10, 0})},
        {"name", QStringLiteral("Kick"), 20, 28, Bytes({4, 11, 6, 9, 6, 3, 6, 11}) + Pads(10)},
        {"last data character", int64_t(1), 146, 2, Bytes({0, 1})},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = ScriptedBackend::StatusReply(0);
        const QByteArray wave = Dump(KindWave, 148);
        const QByteArray tone = Dump(KindTone, 180);
        t.session->objects.of(KindWave).Image = wave;
        t.session->objects.of(KindTone).Image = tone;

        EXPECT_TRUE(t.session->io.ObjectUpload(KindWave, 9, c.value, c.position, c.width, false)) << c.what;

        EXPECT_EQ(t.session->objects.of(KindWave).Image, With(wave, c.position, c.at)) << c.what;
        EXPECT_EQ(t.session->objects.of(KindTone).Image, tone) << c.what;
        EXPECT_TRUE(t.backend->sent.isEmpty()) << c.what;
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << c.what;
    }
}

namespace {

const QByteArray NameAnswer = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x02, 0x0F, 0x01, 'F', 'a', 'c', 't',
                                 'o', 'r', 'y', ' ', 'B', 'a', 'n', 'k', ' ', ' ', 0xF7});

QByteArray ParameterAnswer(int p, int value)
{
    return Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x03, p, 0x01, value, 0xF7});
}

const QByteArray TuneAnswer = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00,
                                 0x01, 0x00, 0x01, 15, 15, 3, 8, 0xF7});

const QList<QByteArray> GlobalRequests = {
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x02, 0x01, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x02, 0x01, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x02, 0x02, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x02, 0x03, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x02, 0x04, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x03, 0x02, 0x05, 0x00, 0xF7}),
    Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0xF7}),
};

// Answers the seven Global requests in order; the answer numbered `shortAt` comes back short.
ScriptedBackend::Reply GlobalReplies(int shortAt = -1)
{
    auto count = std::make_shared<int>(0);
    return [count, shortAt](const QByteArray &) {
        const int n = (*count)++;
        if (n == shortAt)
            return QList<QByteArray>{ShortAnswer};
        if (n == 0)
            return QList<QByteArray>{NameAnswer};
        if (n <= 5)
            return QList<QByteArray>{ParameterAnswer(n, QList<int>{2, 1, 9, 100, 1}[n - 1])};
        return QList<QByteArray>{TuneAnswer};
    };
}

GlobalValues Sentinel()
{
    return {QStringLiteral("old"), 99, 99, 99, 99, 99, 99};
}

} // namespace

TEST(GlobalObject, ReadsNameParametersAndTuneFromTheirAnswers)
{
    OpenSession t;
    t.backend->reply = GlobalReplies();
    GlobalValues global = Sentinel();

    EXPECT_TRUE(GlobalObject::GlobalObjDump(t.session->io, global));

    EXPECT_EQ(t.backend->sent, GlobalRequests);
    EXPECT_EQ(global.BankName, QStringLiteral("Factory Bank  "));
    EXPECT_EQ(global.PlaybackMode, 2);
    EXPECT_EQ(global.ReceiveMode, 1);
    EXPECT_EQ(global.OmniPolyChannel, 9);
    EXPECT_EQ(global.OmniPolyVolume, 100);
    EXPECT_EQ(global.ProgChange, 1);
    EXPECT_EQ(global.MasterTune, -200);
    EXPECT_TRUE(t.notifier.messages.isEmpty());
}

TEST(GlobalObject, StopsAtTheFirstShortAnswerLeavingEverythingAsItWas)
{
    for (int shortAt = 0; shortAt < 7; ++shortAt) {
        OpenSession t;
        t.backend->reply = GlobalReplies(shortAt);
        GlobalValues global = Sentinel();
        const GlobalValues old = Sentinel();

        EXPECT_FALSE(GlobalObject::GlobalObjDump(t.session->io, global)) << shortAt;

        EXPECT_EQ(t.backend->sent, GlobalRequests.mid(0, shortAt + 1)) << shortAt;
        // Half a Global read is no Global: nothing of it is kept.
        EXPECT_EQ(global.BankName, old.BankName) << shortAt;
        EXPECT_EQ(global.PlaybackMode, old.PlaybackMode) << shortAt;
        EXPECT_EQ(global.ReceiveMode, old.ReceiveMode) << shortAt;
        EXPECT_EQ(global.OmniPolyChannel, old.OmniPolyChannel) << shortAt;
        EXPECT_EQ(global.OmniPolyVolume, old.OmniPolyVolume) << shortAt;
        EXPECT_EQ(global.ProgChange, old.ProgChange) << shortAt;
        EXPECT_EQ(global.MasterTune, old.MasterTune) << shortAt;
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << shortAt;
    }
}

TEST(GlobalObject, EditBodies)
{
    const struct {
        const char *what;
        QByteArray body;
        QByteArray expected;
    } cases[] = {
        {"parameter 3 to 15", GlobalObject::ParameterEditBody(3, 15), Bytes({0x11, 0x03, 0x03, 0x03, 0x01, 0x0F})},
        {"parameter 1 to 0", GlobalObject::ParameterEditBody(1, 0), Bytes({0x11, 0x03, 0x03, 0x01, 0x01, 0x00})},
        {"parameter 4 to 127", GlobalObject::ParameterEditBody(4, 127), Bytes({0x11, 0x03, 0x03, 0x04, 0x01, 0x7F})},
        {"bank name padded", GlobalObject::BankNameEditBody(QStringLiteral("Drums")),
         Bytes({0x11, 0x02, 0x0F, 0x01, 'D', 'r', 'u', 'm', 's', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '})},
        {"bank name cut", GlobalObject::BankNameEditBody(QStringLiteral("ABCDEFGHIJKLMNOPQ")),
         Bytes({0x11, 0x02, 0x0F, 0x01, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'})},
        {"bank name 7-bit only", GlobalObject::BankNameEditBody(QString::fromUtf8("\xC3\x9C" "ber")),
         Bytes({0x11, 0x02, 0x0F, 0x01, '?', 'b', 'e', 'r', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '})},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.body, c.expected) << c.what;
}

TEST(GlobalObject, MasterTuneEditBodyWithinTwelveThousandHundredths)
{
    const QByteArray head = Bytes({0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01});
    const struct {
        int hundredths;
        std::optional<QByteArray> expected;
    } cases[] = {
        {-350, head + Bytes({15, 14, 10, 2})},
        {0, head + Bytes({0, 0, 0, 0})},
        {1, head + Bytes({0, 0, 0, 1})},
        {12000, head + Bytes({2, 14, 14, 0})},
        {-12000, head + Bytes({13, 1, 2, 0})},
        {12001, std::nullopt},
        {-12001, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GlobalObject::MasterTuneEditBody(c.hundredths), c.expected) << c.hundredths;
}

TEST(GlobalDescription, HundredthsDropTrailingZeros)
{
    const struct {
        int hundredths;
        const char *text;
    } cases[] = {
        {1250, "12.5"}, {-300, "-3"}, {0, "0"}, {1, "0.01"}, {-5, "-0.05"}, {12000, "120"}, {-1234, "-12.34"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GlobalDescription::HundredthsText(c.hundredths), QString::fromLatin1(c.text)) << c.hundredths;
}

TEST(ObjectDumps, FixedDumpKeepsOnlyAnswersOfTheKindsExactLength)
{
    const struct {
        int kind;
        int length;
        bool kept;
    } cases[] = {
        {KindTone, 180, true},  {KindTone, 179, false},   {KindTone, 181, false}, {KindWave, 148, true},
        {KindWave, 147, false}, {KindPreset, 532, true},  {KindPreset, 180, false}, {KindMulti, 212, true},
        {KindMulti, 213, false},
    };
    for (const auto &c : cases) {
        OpenSession t;
        const QByteArray answer = Dump(c.kind, c.length);
        t.backend->reply = [&answer](const QByteArray &) { return QList<QByteArray>{answer}; };
        KindState &state = t.session->objects.of(c.kind);
        state.Image = "old";
        state.Num = 3;

        EXPECT_EQ(ObjectDumps::DumpObject(t.session->io, c.kind, 9), c.kept) << c.kind << " " << c.length;

        EXPECT_EQ(state.Image, c.kept ? answer : QByteArray("old")) << c.kind << " " << c.length;
        EXPECT_EQ(state.Num, c.kept ? 9 : 3) << c.kind << " " << c.length;
        ASSERT_EQ(t.backend->sent.size(), 1);
        EXPECT_EQ(t.backend->sent[0], Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, c.kind, 0x00, 0x00, 0x00,
                                         0x02, 0x00, 0x00, 0x00, 0x09, 0xF7}));
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
    QByteArray dump = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x02, 0, 0, 4, 1, 0, 0, 0, 7})
                      + MapHeaderData(lastZone);
    for (int z = 0; z < zones; ++z)
        dump += ZoneData(z);
    return dump + Bytes({0xF7});
}

} // namespace

TEST(ObjectDumps, MapDumpBuildsTheHeaderUploadImageAndOneImagePerZone)
{
    for (int zones : {1, 2, 5}) {
        OpenSession t;
        const QByteArray dump = MapDump(zones - 1, zones);
        ASSERT_EQ(dump.size(), 84 + 32 * zones);
        t.backend->reply = [&dump](const QByteArray &) { return QList<QByteArray>{dump}; };
        ObjectStore &store = t.session->objects;
        store.CurrentZone = 3;

        EXPECT_TRUE(ObjectDumps::DumpObject(t.session->io, KindMap, 7)) << zones;

        const QByteArray header =
            Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x05, 0x00, 0x00, 0x02, 0x03, 0, 0, 0, 7})
            + MapHeaderData(zones - 1) + Bytes({0xF7});
        EXPECT_EQ(store.MapHeaderImage, header) << zones;
        EXPECT_EQ(store.MapHeaderImage.size(), 84) << zones;
        ASSERT_EQ(store.ZoneImages.size(), zones);
        for (int z = 0; z < zones; ++z)
            EXPECT_EQ(store.ZoneImages[z], ZoneData(z)) << zones << " zone " << z;
        EXPECT_EQ(store.CurrentZone, 0);
        EXPECT_EQ(store.of(KindMap).Image, dump);
        EXPECT_EQ(store.of(KindMap).Num, 7);
        EXPECT_EQ(t.backend->sent.value(0), Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x02, 0x00, 0x00, 0x00,
                                               0x02, 0x00, 0x00, 0x00, 0x07, 0xF7}));
    }
}

TEST(ObjectDumps, MapDumpShorterThanItsZoneCountKeepsTheOldMap)
{
    const struct {
        const char *what;
        QByteArray answer;
    } cases[] = {
        {"three zones claimed, two held", MapDump(2, 2)},
        {"last zone index cut off", MapDump(1, 2).left(52) + Bytes({0xF7})},
        {"last zone index not nibbles", With(MapDump(0, 1), 52, Bytes({0x10}))},
        {"short answer", ShortAnswer},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = [&c](const QByteArray &) { return QList<QByteArray>{c.answer}; };
        ObjectStore &store = t.session->objects;
        store.MapHeaderImage = "header";
        store.ZoneImages = {"zone"};
        store.CurrentZone = 0;
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
    const QByteArray dump = MapDump(1, 2);
    t.backend->reply = [&dump](const QByteArray &) { return QList<QByteArray>{dump}; };
    ASSERT_TRUE(ObjectDumps::MapObjDump(t.session->io, 7));
    t.backend->sent.clear();
    t.backend->reply = ScriptedBackend::StatusReply(0);

    EXPECT_TRUE(t.session->io.ObjectUpload(KindMapHeader, 7, QStringLiteral("Pad"), 20, 28, true));

    ASSERT_EQ(t.backend->sent.size(), 1);
    const QByteArray expected =
        Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x05, 0x00, 0x00, 0x02, 0x03, 0, 0, 0, 7})
        + With(MapHeaderData(1), 3, Bytes({5, 0, 6, 1, 6, 4}) + Pads(11)) + Bytes({0xF7});
    EXPECT_EQ(t.backend->sent[0], expected);
}

TEST(ObjectIOWithVirtualSp, DirectoryDumpAndNameUploadAgree)
{
    TestSession v(std::make_unique<VirtualSpBackend>()); // holding its factory bank
    ASSERT_TRUE(v.openPorts());
    ObjectIO &io = v.session->io;

    const ObjDirStatus status = io.GetObjDirStatus(KindTone);
    ASSERT_TRUE(status.valid);
    ASSERT_GT(status.Loaded, 0);
    EXPECT_TRUE(v.session->objects.of(KindTone).Have);
    const ObjDir dir = io.GetObjDir(KindTone);
    ASSERT_EQ(dir.Count(), status.Loaded);
    EXPECT_EQ(dir.Entries.first().Number, status.Lowest);
    EXPECT_EQ(dir.Entries.last().Number, status.Highest);

    const int number = dir.Entries.first().Number;
    ASSERT_TRUE(ObjectDumps::FixedDump(io, KindTone, number));
    EXPECT_EQ(v.session->objects.of(KindTone).Image.size(), 180);
    EXPECT_EQ(v.session->objects.of(KindTone).ImageName(), dir.Entries.first().Name);

    EXPECT_TRUE(io.ObjectUpload(KindTone, static_cast<int16_t>(number), QStringLiteral("Korvane"), 20, 28, true));
    EXPECT_EQ(io.GetObjDir(KindTone).Entries.first().Name, QStringLiteral("Korvane       "));

    GlobalValues global;
    EXPECT_TRUE(GlobalObject::GlobalObjDump(io, global));
    EXPECT_EQ(global.BankName.size(), 14);
    EXPECT_TRUE(v.notifier.messages.isEmpty());
}
