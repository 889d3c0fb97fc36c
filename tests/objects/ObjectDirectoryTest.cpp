// Directory statuses and directories: decoding the SP's answers, and what asking for them
// leaves in the object store.
#include "Bytes.h"
#include "TestSession.h"
#include "objects/ObjectDirectory.h"

#include <gtest/gtest.h>

namespace {

// A Preset directory status, field by field.
const QByteArray PresetStatus = Bytes({
    0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x03, // 1-9
    0, 0, 1, 8, 0, 0, 0, 0, 0, 0, 0, 0,                   // 10-21
    0, 0, 15, 15,                                         // 22-25 HighestAllowed 255
    0, 0, 0, 3,                                           // 26-29 Loaded 3
    0, 0, 0, 1,                                           // 30-33 Lowest 1
    0, 0, 1, 4,                                           // 34-37 Highest 20
    0, 0, 1, 2, 3, 4,                                     // 38-43 ParmMemUsed 4660
    0, 1, 0, 0, 0, 0,                                     // 44-49 ParmMemFree 65536
    0, 0, 8, 0, 0, 0,                                     // 50-55 FreeParmRAM 32768
    0, 8, 0, 0,                                           // 56-59 InstalledRAM 2048
    0, 3, 0, 0,                                           // 60-63 FreeSampleRAM 768
    0xF7,
});

struct StatusFields {
    int highestAllowed, loaded, lowest, highest, used, free, freeParm, installed, freeSample;
};

void ExpectStatus(const ObjDirStatus &s, bool valid, const StatusFields &f, const char *what)
{
    EXPECT_EQ(s.valid, valid) << what;
    EXPECT_EQ(s.HighestAllowed, f.highestAllowed) << what;
    EXPECT_EQ(s.Loaded, f.loaded) << what;
    EXPECT_EQ(s.Lowest, f.lowest) << what;
    EXPECT_EQ(s.Highest, f.highest) << what;
    EXPECT_EQ(s.ParmMemUsed, f.used) << what;
    EXPECT_EQ(s.ParmMemFree, f.free) << what;
    EXPECT_EQ(s.FreeParmRAM, f.freeParm) << what;
    EXPECT_EQ(s.InstalledRAM, f.installed) << what;
    EXPECT_EQ(s.FreeSampleRAM, f.freeSample) << what;
}

constexpr StatusFields Zeros{0, 0, 0, 0, 0, 0, 0, 0, 0};

// Fourteen characters of a name as nibble pairs.
QByteArray NameNibbles(const char (&name)[15])
{
    QByteArray nibbles;
    for (int i = 0; i < 14; ++i) {
        const int code = static_cast<uint8_t>(name[i]);
        nibbles.append(static_cast<char>(code / 16));
        nibbles.append(static_cast<char>(code % 16));
    }
    return nibbles;
}

// A directory answer of `kind` with N at positions 10-13 and the entries from position 18.
QByteArray Directory(int kind, const QByteArray &n, const QByteArray &entries)
{
    return Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, kind}) + n + Bytes({0, 0, 0, 0}) + entries + Bytes({0xF7});
}

struct Entry {
    int number;
    QString name;
};

void ExpectEntries(const ObjDir &dir, const QList<Entry> &expected, const char *what)
{
    ASSERT_EQ(dir.Count(), expected.size()) << what;
    for (int e = 0; e < expected.size(); ++e) {
        EXPECT_EQ(dir.Entries[e].Position, e) << what;
        EXPECT_EQ(dir.Entries[e].Number, expected[e].number) << what << " entry " << e;
        EXPECT_EQ(dir.Entries[e].Name, expected[e].name) << what << " entry " << e;
    }
}

const QByteArray Piano = Bytes({0, 0, 0, 1}) + NameNibbles("Piano 1       ");
const QByteArray Strings = Bytes({0, 0, 2, 5}) + NameNibbles("Str\0\0\0\0\0\0\0\0\0\0\0");
const QByteArray Choir = Bytes({0, 1, 0, 0}) + NameNibbles(" Choir  Aahs  ");

} // namespace

// Every field from its positions; four-character numbers from 8000 on read as negative.
TEST(ObjDirStatus, DecodesEveryFieldFromItsPositions)
{
    const struct {
        const char *what;
        int position;
        QByteArray nibbles;
        StatusFields expected;
    } cases[] = {
        {"as the SP sent it", 22, Bytes({0, 0, 15, 15}), {255, 3, 1, 20, 4660, 65536, 32768, 2048, 768}},
        {"HighestAllowed 7FFF", 22, Bytes({7, 15, 15, 15}), {32767, 3, 1, 20, 4660, 65536, 32768, 2048, 768}},
        {"HighestAllowed 8000", 22, Bytes({8, 0, 0, 0}), {-32768, 3, 1, 20, 4660, 65536, 32768, 2048, 768}},
        {"Loaded FFFF", 26, Bytes({15, 15, 15, 15}), {255, -1, 1, 20, 4660, 65536, 32768, 2048, 768}},
        {"Lowest FF38", 30, Bytes({15, 15, 3, 8}), {255, 3, -200, 20, 4660, 65536, 32768, 2048, 768}},
        {"Highest 8001", 34, Bytes({8, 0, 0, 1}), {255, 3, 1, -32767, 4660, 65536, 32768, 2048, 768}},
        {"six-character fields stay positive", 38, Bytes({15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15}),
         {255, 3, 1, 20, 16777215, 16777215, 32768, 2048, 768}},
        {"FreeParmRAM", 50, Bytes({0, 0, 0, 0, 0, 1}), {255, 3, 1, 20, 4660, 65536, 1, 2048, 768}},
        {"InstalledRAM and FreeSampleRAM", 56, Bytes({1, 0, 0, 0, 0, 0, 0, 15}),
         {255, 3, 1, 20, 4660, 65536, 32768, 4096, 15}},
    };
    for (const auto &c : cases)
        ExpectStatus(ObjDirStatus::Parse(With(PresetStatus, c.position, c.nibbles)), true, c.expected, c.what);
}

TEST(ObjDirStatus, AnythingButAWholeStatusIsInvalidWithEveryFieldZero)
{
    const struct {
        const char *what;
        QByteArray answer;
    } cases[] = {
        {"63 characters", PresetStatus.left(40) + PresetStatus.mid(41)},
        {"65 characters", PresetStatus.left(40) + Bytes({0}) + PresetStatus.mid(40)},
        {"time-out text", QByteArray("65")},
        {"nothing", QByteArray()},
        {"character 16 in ParmMemUsed", With(PresetStatus, 40, Bytes({0x10}))},
        {"character 7F in HighestAllowed", With(PresetStatus, 22, Bytes({0x7F}))},
        {"F7 inside FreeSampleRAM", With(PresetStatus, 63, Bytes({0xF7}))},
    };
    for (const auto &c : cases)
        ExpectStatus(ObjDirStatus::Parse(c.answer), false, Zeros, c.what);
}

TEST(ObjDir, CountRoundsHalvesToEvenAndEntriesSitEvery32Characters)
{
    const struct {
        const char *what;
        QByteArray answer;
        QList<Entry> expected;
    } cases[] = {
        {"N 2: none", Directory(3, Bytes({0, 0, 0, 2}), Piano), {}},
        {"N 18: one", Directory(3, Bytes({0, 0, 1, 2}), Piano + Strings), {{1, QStringLiteral("Piano 1       ")}}},
        {"N 34: two at 18 and 50", Directory(3, Bytes({0, 0, 2, 2}), Piano + Strings),
         {{1, QStringLiteral("Piano 1       ")}, {37, QStringLiteral("Str")}}},
        {"N 10: half rounds down to 0", Directory(3, Bytes({0, 0, 0, 10}), Piano), {}},
        {"N 26: one and a half rounds up to 2", Directory(3, Bytes({0, 0, 1, 10}), Piano + Strings),
         {{1, QStringLiteral("Piano 1       ")}, {37, QStringLiteral("Str")}}},
        {"N 42: two and a half rounds down to 2", Directory(3, Bytes({0, 0, 2, 10}), Piano + Strings + Choir),
         {{1, QStringLiteral("Piano 1       ")}, {37, QStringLiteral("Str")}}},
        {"N 50: three", Directory(1, Bytes({0, 0, 3, 2}), Piano + Strings + Choir),
         {{1, QStringLiteral("Piano 1       ")}, {37, QStringLiteral("Str")}, {256, QStringLiteral(" Choir  Aahs  ")}}},
    };
    for (const auto &c : cases)
        ExpectEntries(ObjDir::Parse(c.answer), c.expected, c.what);
}

TEST(ObjDir, OneEntryWrittenOutCharacterByCharacter)
{
    const QByteArray answer = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x01, 0, 0, 1, 2, 0, 0, 0, 0,
                                 0, 0, 0, 9,                                          // number 9
                                 4, 2, 6, 1, 7, 3, 7, 3, 2, 0, 3, 2, 0, 0, 0, 0,       // "Bass 2", two zero bytes
                                 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 2, 0, 0xF7});          // six spaces
    ASSERT_EQ(answer.size(), 50);
    ExpectEntries(ObjDir::Parse(answer), {{9, QStringLiteral("Bass 2      ")}}, "Bass 2");
}

TEST(ObjDir, ShortOrOverclaimingAnswersNeverReadPastTheirEnd)
{
    const struct {
        const char *what;
        QByteArray answer;
        QList<Entry> expected;
    } cases[] = {
        {"time-out text", QByteArray("65"), {}},
        {"11 characters", Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x03, 0, 0xF7}), {}},
        {"12 characters, N cut by F7", Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x02, 0x03, 0, 2, 0xF7}), {}},
        {"claims two, holds one", Directory(3, Bytes({0, 0, 2, 2}), Piano), {{1, QStringLiteral("Piano 1       ")}}},
        {"claims 4096, holds two", Directory(3, Bytes({15, 15, 15, 15}), Piano + Strings),
         {{1, QStringLiteral("Piano 1       ")}, {37, QStringLiteral("Str")}}},
        {"claims one, holds nothing", Directory(3, Bytes({0, 0, 1, 2}), QByteArray()), {}},
        {"N not nibbles", Directory(3, Bytes({0, 0x10, 2, 2}), Piano + Strings), {}},
    };
    for (const auto &c : cases)
        ExpectEntries(ObjDir::Parse(c.answer), c.expected, c.what);
}

TEST(ObjDir, IndexOfFindsAnEntryByItsNumber)
{
    const ObjDir dir = ObjDir::Parse(Directory(3, Bytes({0, 0, 3, 2}), Piano + Strings + Choir));
    const struct {
        int number;
        int index;
    } cases[] = {{1, 0}, {37, 1}, {256, 2}, {0, -1}, {2, -1}, {-1, -1}};
    for (const auto &c : cases)
        EXPECT_EQ(dir.IndexOf(c.number), c.index) << c.number;
    EXPECT_EQ(ObjDir().IndexOf(0), -1);
}

TEST(ObjDirStatusRequest, SetsTheKindsHaveFlagAndFreeRamFromTheAnswer)
{
    const struct {
        const char *what;
        QByteArray answer;
        bool valid;
        bool have;
        int32_t freeRam;
    } cases[] = {
        {"three loaded", PresetStatus, true, true, 768},
        {"none loaded: FreeRAM still taken", With(PresetStatus, 26, Bytes({0, 0, 0, 0})), true, false, 768},
        {"negative Loaded", With(PresetStatus, 26, Bytes({15, 15, 15, 15})), true, false, 768},
        {"63 characters", PresetStatus.left(40) + PresetStatus.mid(41), false, false, 999},
        {"65 characters", PresetStatus.left(40) + Bytes({0}) + PresetStatus.mid(40), false, false, 999},
        {"character above 15", With(PresetStatus, 61, Bytes({0x10})), false, false, 999},
    };
    for (const auto &c : cases) {
        OpenSession t;
        t.backend->reply = [&c](const QByteArray &) { return QList<QByteArray>{c.answer}; };
        ObjectStore &store = t.session->objects;
        for (int kind = 0; kind < NumberedKinds; ++kind)
            store.of(kind).Have = true;
        store.FreeRAM = 999;

        const ObjDirStatus status = t.session->io.GetObjDirStatus(KindPreset);

        EXPECT_EQ(status.valid, c.valid) << c.what;
        EXPECT_EQ(store.of(KindPreset).Have, c.have) << c.what;
        EXPECT_EQ(store.FreeRAM, c.freeRam) << c.what;
        for (int kind : {KindWave, KindTone, KindMap, KindMulti})
            EXPECT_TRUE(store.of(kind).Have) << c.what << ": kind " << kind << " left alone";
        ASSERT_EQ(t.backend->sent.size(), 1) << c.what;
        EXPECT_EQ(t.backend->sent[0], Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x01, 0x01, 0x03, 0xF7}));
        EXPECT_TRUE(t.notifier.messages.isEmpty()) << c.what;
    }
}

TEST(ObjDirStatusRequest, NoAnswerClearsHaveAndLeavesFreeRamAlone)
{
    OpenSession t;
    t.shortTimeouts();
    ObjectStore &store = t.session->objects;
    store.of(KindTone).Have = true;
    store.FreeRAM = 999;

    const ObjDirStatus status = t.session->io.GetObjDirStatus(KindTone);

    ExpectStatus(status, false, Zeros, "time-out");
    EXPECT_FALSE(store.of(KindTone).Have);
    EXPECT_EQ(store.FreeRAM, 999);
    EXPECT_EQ(t.notifier.texts(), QStringList{QStringLiteral("The specified SP Device is not responding")});
    ASSERT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(t.backend->sent[0], Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x01, 0x01, 0x01, 0xF7}));
}

TEST(ObjDirRequest, AsksForTheKindsDirectoryAndDecodesTheAnswer)
{
    OpenSession t;
    t.backend->reply = [](const QByteArray &) {
        return QList<QByteArray>{Directory(4, Bytes({0, 0, 2, 2}), Strings + Choir)};
    };

    const ObjDir dir = t.session->io.GetObjDir(KindMulti);

    ExpectEntries(dir, {{37, QStringLiteral("Str")}, {256, QStringLiteral(" Choir  Aahs  ")}}, "multi");
    ASSERT_EQ(t.backend->sent.size(), 1);
    EXPECT_EQ(t.backend->sent[0], Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x12, 0x02, 0x01, 0x04, 0xF7}));
    EXPECT_FALSE(t.session->exchange.hasResponse()) << "the answer is taken";
}
