// Directory statuses and directories: decoding the SP's answers, and what asking for them
// leaves in the object store.
#include "LowFixtures.h"
#include "TestSession.h"
#include "objects/ObjectDirectory.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// A Preset directory status: 255 allowed, 3 loaded from 1 to 20, 4660 bytes used and 65536
// free, 32768 bytes of parameter RAM, 2048 kilowords installed and 768 free.
const QByteArray PresetStatus = StatusAnswer(255, 3, 1, 20, 4660, 65536, 32768, 2048, 768);

// Every figure of a status, in the order of its fields.
using Figures = std::array<int64_t, 9>;
Figures Of(const ObjDirStatus &s)
{
    return {s.HighestAllowed, s.Loaded, s.Lowest, s.Highest, s.ParmMemUsed, s.ParmMemFree, s.FreeParmRAM,
            s.InstalledRAM, s.FreeSampleRAM};
}
constexpr Figures Zeros{};

QByteArray NameNibbles(const char (&name)[15])
{
    QByteArray nibbles;
    for (int i = 0; i < 14; ++i)
        nibbles += Nibbles(static_cast<uint8_t>(name[i]), 2);
    return nibbles;
}

// A directory answer of `kind` with N at positions 10-13 and the entries from position 18.
QByteArray Directory(int kind, const QByteArray &n, const QByteArray &entries)
{
    return SpMessage(Bytes({0x02, kind}) + n + Bytes({0, 0, 0, 0}) + entries);
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
const Entry PianoEntry{1, QStringLiteral("Piano 1       ")}, StringsEntry{37, QStringLiteral("Str")},
    ChoirEntry{256, QStringLiteral(" Choir  Aahs  ")};

} // namespace

// Every field from its positions; four-character numbers from 8000 on read as negative. Anything
// but a whole status is invalid with every field zero.
TEST(ObjDirStatus, DecodesEveryFieldFromItsPositionsOrNothing)
{
    const Figures sent = {255, 3, 1, 20, 4660, 65536, 32768, 2048, 768};
    const auto with = [&sent](int field, int64_t value) {
        Figures f = sent;
        f[static_cast<size_t>(field)] = value;
        return f;
    };
    const struct { const char *what; QByteArray answer; bool valid; Figures expected; } cases[] = {
        {"as the SP sent it", PresetStatus, true, sent},
        {"HighestAllowed 7FFF", With(PresetStatus, 22, Bytes({7, 15, 15, 15})), true, with(0, 32767)},
        {"HighestAllowed 8000", With(PresetStatus, 22, Bytes({8, 0, 0, 0})), true, with(0, -32768)},
        {"Loaded FFFF", With(PresetStatus, 26, Bytes({15, 15, 15, 15})), true, with(1, -1)},
        {"Lowest FF38", With(PresetStatus, 30, Bytes({15, 15, 3, 8})), true, with(2, -200)},
        {"Highest 8001", With(PresetStatus, 34, Bytes({8, 0, 0, 1})), true, with(3, -32767)},
        {"six-character fields stay positive", With(PresetStatus, 38, QByteArray(12, '\x0F')), true,
         {255, 3, 1, 20, 16777215, 16777215, 32768, 2048, 768}},
        {"FreeParmRAM", With(PresetStatus, 50, Bytes({0, 0, 0, 0, 0, 1})), true, with(6, 1)},
        {"InstalledRAM and FreeSampleRAM", With(PresetStatus, 56, Bytes({1, 0, 0, 0, 0, 0, 0, 15})), true,
         {255, 3, 1, 20, 4660, 65536, 32768, 4096, 15}},
        {"63 characters", PresetStatus.left(40) + PresetStatus.mid(41), false, Zeros},
        {"65 characters", PresetStatus.left(40) + Bytes({0}) + PresetStatus.mid(40), false, Zeros},
        {"time-out text", QByteArray("65"), false, Zeros},
        {"nothing", QByteArray(), false, Zeros},
        {"character 16 in ParmMemUsed", With(PresetStatus, 40, Bytes({0x10})), false, Zeros},
        {"character 7F in HighestAllowed", With(PresetStatus, 22, Bytes({0x7F})), false, Zeros},
        {"F7 inside FreeSampleRAM", With(PresetStatus, 63, Bytes({0xF7})), false, Zeros},
    };
    for (const auto &c : cases) {
        const ObjDirStatus status = ObjDirStatus::Parse(c.answer);
        EXPECT_EQ(status.valid, c.valid) << c.what;
        EXPECT_EQ(Of(status), c.expected) << c.what;
    }
}

// N counts the bytes after it: two, then sixteen per entry, rounded half to even. Answers that
// claim more entries than they hold are never read past their end.
TEST(ObjDir, CountRoundsHalvesToEvenAndEntriesSitEvery32Characters)
{
    const struct { const char *what; QByteArray answer; QList<Entry> expected; } cases[] = {
        {"N 2: none", Directory(3, Bytes({0, 0, 0, 2}), Piano), {}},
        {"N 18: one", Directory(3, Bytes({0, 0, 1, 2}), Piano + Strings), {PianoEntry}},
        {"N 34: two at 18 and 50", Directory(3, Bytes({0, 0, 2, 2}), Piano + Strings), {PianoEntry, StringsEntry}},
        {"N 10: half rounds down to 0", Directory(3, Bytes({0, 0, 0, 10}), Piano), {}},
        {"N 26: one and a half rounds up to 2", Directory(3, Bytes({0, 0, 1, 10}), Piano + Strings),
         {PianoEntry, StringsEntry}},
        {"N 42: two and a half rounds down to 2", Directory(3, Bytes({0, 0, 2, 10}), Piano + Strings + Choir),
         {PianoEntry, StringsEntry}},
        {"N 50: three", Directory(1, Bytes({0, 0, 3, 2}), Piano + Strings + Choir), {PianoEntry, StringsEntry, ChoirEntry}},
        {"time-out text", QByteArray("65"), {}},
        {"11 characters", SpMessage({0x02, 0x03, 0}), {}},
        {"12 characters, N cut by F7", SpMessage({0x02, 0x03, 0, 2}), {}},
        {"claims two, holds one", Directory(3, Bytes({0, 0, 2, 2}), Piano), {PianoEntry}},
        {"claims 4096, holds two", Directory(3, Bytes({15, 15, 15, 15}), Piano + Strings), {PianoEntry, StringsEntry}},
        {"claims one, holds nothing", Directory(3, Bytes({0, 0, 1, 2}), QByteArray()), {}},
        {"N not nibbles", Directory(3, Bytes({0, 0x10, 2, 2}), Piano + Strings), {}},
    };
    for (const auto &c : cases)
        ExpectEntries(ObjDir::Parse(c.answer), c.expected, c.what);
}

TEST(ObjDir, IndexOfFindsAnEntryByItsNumber)
{
    const ObjDir dir = ObjDir::Parse(Directory(3, Bytes({0, 0, 3, 2}), Piano + Strings + Choir));
    const std::pair<int, int> cases[] = {{1, 0}, {37, 1}, {256, 2}, {0, -1}, {2, -1}, {-1, -1}};
    for (const auto &[number, index] : cases)
        EXPECT_EQ(dir.IndexOf(number), index) << number;
    EXPECT_EQ(ObjDir().IndexOf(0), -1);
}

TEST(ObjDirStatusRequest, SetsTheKindsHaveFlagAndFreeRamFromTheAnswer)
{
    const struct { const char *what; QByteArray answer; bool valid, have; int32_t freeRam; } cases[] = {
        {"three loaded", PresetStatus, true, true, 768},
        {"none loaded: FreeRAM still taken", With(PresetStatus, 26, Bytes({0, 0, 0, 0})), true, false, 768},
        {"negative Loaded", With(PresetStatus, 26, Bytes({15, 15, 15, 15})), true, false, 768},
        {"63 characters", PresetStatus.left(40) + PresetStatus.mid(41), false, false, 999},
        {"no answer", QByteArray(), false, false, 999},
    };
    for (const auto &c : cases) {
        OpenSession t;
        if (c.answer.isEmpty())
            t.shortTimeouts();
        else
            t.backend->reply = Always(c.answer);
        ObjectStore &store = t.session->objects;
        for (int kind = 0; kind < NumberedKinds; ++kind)
            store.of(kind).Have = true;
        store.FreeRAM = 999;

        const ObjDirStatus status = t.session->io.GetObjDirStatus(KindPreset);
        EXPECT_EQ(status.valid, c.valid) << c.what;
        EXPECT_TRUE(c.valid || Of(status) == Zeros) << c.what;
        EXPECT_EQ(store.of(KindPreset).Have, c.have) << c.what;
        EXPECT_EQ(store.FreeRAM, c.freeRam) << c.what;
        for (int kind : {KindWave, KindTone, KindMap, KindMulti})
            EXPECT_TRUE(store.of(kind).Have) << c.what << ": kind " << kind << " left alone";
        EXPECT_EQ(t.backend->sent, QList<QByteArray>{DirectoryRequest(KindPreset)}) << c.what;
        EXPECT_EQ(t.notifier.texts(), c.answer.isEmpty() ? QStringList{"The specified SP Device is not responding"}
                                                          : QStringList()) << c.what;
    }
}

TEST(ObjDirRequest, AsksForTheKindsDirectoryAndDecodesTheAnswer)
{
    OpenSession t;
    t.backend->reply = Always(Directory(4, Bytes({0, 0, 2, 2}), Strings + Choir));
    ExpectEntries(t.session->io.GetObjDir(KindMulti), {StringsEntry, ChoirEntry}, "multi");
    EXPECT_EQ(t.backend->sent, QList<QByteArray>{DirectoryRequest(KindMulti, true)});
    EXPECT_FALSE(t.session->exchange.hasResponse()) << "the answer is taken";
}
