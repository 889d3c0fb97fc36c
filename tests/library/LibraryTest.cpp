// The library file: objects stored once by content, snapshots rebuilt byte for byte, search by
// name, tag, note, kind and snapshot, and a damaged file set aside.
#include "QtPrinters.h"
#include "SpRecords.h"
#include "library/Library.h"
#include "library/LibraryFile.h"
#include "library/SpSnapshot.h"
#include "vsp/FactoryBank.h"
#include "vsp/SpBackupFile.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Backup::Contents ContentsOf(const Vsp::SpMemory &memory, uint8_t deviceId = 127)
{
    const Backup::ReadResult read = Backup::Parse(Vsp::BackupOf(memory, deviceId));
    EXPECT_TRUE(read.contents) << read.error.toStdString();
    return read.contents.value_or(Backup::Contents{});
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Names {
    QStringList operator()(const QVector<LibraryMatch> &matches) const
    {
        QStringList names;
        for (const LibraryMatch &m : matches)
            names << QStringLiteral("%1 %2 %3").arg(m.kind).arg(m.number).arg(m.name);
        return names;
    }
};

class LibraryFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Library::Opened opened = Library::Open(path());
        ASSERT_TRUE(opened.library) << opened.error.toStdString();
        EXPECT_EQ(opened.notice, QString());
        library = std::move(opened.library);
    }
    QString path() const { return dir.filePath(QStringLiteral("library.sqlite")); }
    qint64 add(const Backup::Contents &contents, const QString &note = {})
    {
        QString error;
        const auto id = library->AddSnapshot(contents, note, QStringLiteral("SP"), {}, &error);
        EXPECT_TRUE(id) << error.toStdString();
        return id.value_or(0);
    }

    QTemporaryDir dir;
    std::unique_ptr<Library> library;
};

} // namespace

TEST_F(LibraryFixture, TwoSnapshotsWithAnEditBetweenThemShareTheUnchangedObjects)
{
    Vsp::SpMemory memory = Vsp::FactoryBank();
    const Backup::Contents before = ContentsOf(memory);
    const qint64 first = add(before, QStringLiteral("as shipped"));
    const int storedAfterFirst = library->StoredObjects();
    EXPECT_EQ(storedAfterFirst, before.objects.size()) << "every object of the factory bank is its own";

    // The Tone's name and one of its bytes change; nothing else does.
    auto &tone = memory.of(Vsp::Tone).begin()->second;
    const QString oldName = QString::fromLatin1(Vsp::Name(tone)).trimmed();
    Vsp::SetName(tone, "Edited Tone");
    tone[20] = static_cast<char>(tone[20] ^ 0x01);
    const qint64 second = add(ContentsOf(memory));

    EXPECT_EQ(library->StoredObjects(), storedAfterFirst + 1);
    const QVector<LibraryMatch> old = library->Find(oldName);
    ASSERT_EQ(old.size(), 1);
    EXPECT_EQ(old[0].snapshots, QVector<qint64>{first});
    const QVector<LibraryMatch> edited = library->Find(QStringLiteral("edited tone"));
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0].snapshots, QVector<qint64>{second});
    EXPECT_EQ(edited[0].kind, KindTone);

    // An unchanged object is one object in both.
    const QVector<LibraryMatch> wave = library->Find(before.objects.first().name);
    ASSERT_FALSE(wave.isEmpty());
    EXPECT_EQ(wave[0].snapshots, (QVector<qint64>{first, second}));

    const QVector<SnapshotInfo> snapshots = library->Snapshots();
    ASSERT_EQ(snapshots.size(), 2);
    EXPECT_EQ(snapshots[0].note, QStringLiteral("as shipped"));
    EXPECT_EQ(snapshots[0].objects, before.objects.size());
}

// The device ID is put in by each send; everything else comes back as it came.
TEST_F(LibraryFixture, ASnapshotIsGivenBackByteForByteWhateverTheDeviceIdItCameUnder)
{
    const Vsp::SpMemory memory = Vsp::FactoryBank();
    const Backup::Contents contents = ContentsOf(memory);
    const auto back = library->SnapshotContents(add(contents));
    ASSERT_TRUE(back);
    EXPECT_TRUE(Backup::Write(*back) == Backup::Write(contents));

    const Backup::Contents other = ContentsOf(memory, 16);
    const auto otherBack = library->SnapshotContents(add(other));
    ASSERT_TRUE(otherBack);
    ASSERT_EQ(otherBack->objects.size(), other.objects.size());
    for (qsizetype i = 0; i < other.objects.size(); ++i)
        EXPECT_TRUE(Backup::SameMessage(otherBack->objects[i].dump, other.objects[i].dump)) << i;
    EXPECT_EQ(otherBack->global, other.global);
    EXPECT_EQ(library->StoredObjects(), contents.objects.size()) << "the device ID is not part of an object";
}

TEST_F(LibraryFixture, DumpsDifferingOnlyInNumberAndNameAreOneObjectRememberedUnderEach)
{
    Vsp::SpMemory memory;
    memory.of(Vsp::Tone)[3] = SpRecords::Tone("Kick Tone");
    memory.of(Vsp::Tone)[9] = SpRecords::Tone("Same Again");
    memory.of(Vsp::Tone)[10] = SpRecords::Tone("Other");
    memory.of(Vsp::Tone)[10][30] = 5;
    const qint64 id = add(ContentsOf(memory));
    EXPECT_EQ(library->StoredObjects(), 2);
    const QVector<LibraryMatch> kick = library->Find(QStringLiteral("kick")), again = library->Find(QStringLiteral("again"));
    ASSERT_EQ(kick.size(), 1);
    ASSERT_EQ(again.size(), 1);
    EXPECT_EQ(kick[0].object, again[0].object);
    EXPECT_EQ(again[0].number, 9);
    EXPECT_EQ(Backup::Write(*library->SnapshotContents(id)), Backup::Write(ContentsOf(memory)));
}

TEST_F(LibraryFixture, SearchTakesPartOfANameATagOrTheNoteWithinAKindAndASnapshot)
{
    Vsp::SpMemory memory;
    memory.of(Vsp::Wave)[1] = SpRecords::Wave("Snare 100%", 9000);
    memory.of(Vsp::Tone)[1] = SpRecords::Tone("Snare Tone");
    memory.of(Vsp::Tone)[2] = SpRecords::Tone("Bass_Tone");
    memory.of(Vsp::Tone)[2][30] = 1;
    const qint64 first = add(ContentsOf(memory));
    memory.of(Vsp::Tone).erase(1);
    const qint64 second = add(ContentsOf(memory));
    const Names names;

    EXPECT_EQ(names(library->Find(QStringLiteral("SNARE"))), (QStringList{"0 1 Snare 100%", "1 1 Snare Tone"}));
    EXPECT_EQ(names(library->Find(QStringLiteral("snare"), KindTone)), QStringList{"1 1 Snare Tone"});
    EXPECT_EQ(names(library->Find(QStringLiteral("snare"), -1, second)), QStringList{"0 1 Snare 100%"});
    EXPECT_EQ(library->Find(QStringLiteral("snare"), -1, second)[0].snapshots, (QVector<qint64>{first, second}));
    // The user's % and _ are letters, not wildcards.
    EXPECT_EQ(names(library->Find(QStringLiteral("0%"))), QStringList{"0 1 Snare 100%"});
    EXPECT_EQ(names(library->Find(QStringLiteral("1%0"))), QStringList());
    EXPECT_EQ(names(library->Find(QStringLiteral("s_t"))), QStringList{"1 2 Bass_Tone"});

    const qint64 bass = library->Find(QStringLiteral("Bass")).value(0).object;
    ASSERT_TRUE(library->SetTags(bass, {"Funk ", "low end", ""}));
    ASSERT_TRUE(library->SetNote(bass, QStringLiteral("from the 1994 disks")));
    EXPECT_EQ(library->Tags(bass), (QStringList{"Funk", "low end"}));
    EXPECT_EQ(names(library->Find(QStringLiteral("funk"))), QStringList{"1 2 Bass_Tone"});
    EXPECT_EQ(names(library->Find(QStringLiteral("1994"))), QStringList{"1 2 Bass_Tone"});
    EXPECT_EQ(library->Find(QStringLiteral("Bass"))[0].snapshots, (QVector<qint64>{first, second}));
    EXPECT_TRUE(library->Find(QStringLiteral("nothing like it")).isEmpty());
}

TEST_F(LibraryFixture, ASnapshotThatCannotBeKeptWholeLeavesNothingBehind)
{
    Backup::Contents contents = ContentsOf(Vsp::FactoryBank());
    add(contents);
    const int stored = library->StoredObjects();
    Vsp::SpMemory other = Vsp::DemoBank(0);
    Backup::Contents broken = ContentsOf(other);
    broken.objects[broken.objects.size() / 2].dump.truncate(12);
    QString error;
    EXPECT_FALSE(library->AddSnapshot(broken, {}, QStringLiteral("SP"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(library->Snapshots().size(), 1);
    EXPECT_EQ(library->StoredObjects(), stored);
}

TEST_F(LibraryFixture, TheConfigurationAndTheDateComeBackWithTheSnapshot)
{
    SpConfiguration configuration;
    configuration.installedKilowords = 8192;
    configuration.highestAllowed = {999, 999, 255, 127, 15};
    const QDateTime taken(QDate(2026, 3, 4), QTime(5, 6, 7, 8), Qt::UTC);
    const auto id = library->AddSnapshot(ContentsOf(Vsp::FactoryBank()), QStringLiteral("before the gig"),
                                         QStringLiteral("SP"), configuration, nullptr, taken);
    ASSERT_TRUE(id);
    const auto info = library->Snapshot(*id);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->configuration, configuration);
    EXPECT_EQ(info->taken, taken);
    EXPECT_EQ(info->source, QStringLiteral("SP"));
}

TEST(LibraryFile, ADamagedOrForeignFileIsSetAsideUntouchedAndANewLibraryBegun)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("library.sqlite"));
    const auto foreignDatabase = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE songs (title TEXT)"));
        db.close();
    };
    const struct { const char *what; std::function<void()> make; } cases[] = {
        {"garbage", [&] { QFile f(path); f.open(QIODevice::WriteOnly); f.write(QByteArray(5000, '\x5A')); }},
        {"another program's database", foreignDatabase},
        {"a library with a spoiled page", [&] {
             Library::Open(path).library->AddSnapshot(ContentsOf(Vsp::FactoryBank()), {}, QStringLiteral("SP"), {});
             QFile f(path);
             f.open(QIODevice::ReadWrite);
             // A page past the first, where the header and the table list are: only the check sees it.
             f.seek(f.size() / 4096 / 2 * 4096);
             f.write(QByteArray(4096, '\x5A'));
         }},
    };
    int expectedAside = 1;
    for (const auto &c : cases) {
        QFile::remove(path);
        c.make();
        QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        const QByteArray original = ReadAll(path);
        Library::Opened opened = Library::Open(path);
        ASSERT_TRUE(opened.library) << c.what << ": " << opened.error.toStdString();
        const QString aside = expectedAside == 1 ? path + ".damaged" : path + QStringLiteral(".%1.damaged").arg(expectedAside);
        EXPECT_EQ(ReadAll(aside), original) << c.what;
        EXPECT_TRUE(opened.notice.contains(QStringLiteral("set aside as"))) << opened.notice.toStdString();
        EXPECT_TRUE(opened.notice.endsWith(QStringLiteral("and a new library begun."))) << opened.notice.toStdString();
        EXPECT_TRUE(opened.library->Snapshots().isEmpty());
        EXPECT_TRUE(opened.library->AddSnapshot(ContentsOf(Vsp::FactoryBank()), {}, QStringLiteral("SP"), {}));
        opened.library.reset();
        // A good library opens again as it was.
        Library::Opened again = Library::Open(path);
        ASSERT_TRUE(again.library);
        EXPECT_EQ(again.notice, QString());
        EXPECT_EQ(again.library->Snapshots().size(), 1);
        ++expectedAside;
    }
}

// A snapshot restored to an SP set up with less: numbers above its highest, and the Waves beyond
// its sample memory in number order, are named; an SP whose set-up is not known is not warned of.
TEST(WillNotFit, NamesNumbersAboveTheHighestAndWavesBeyondTheMemory)
{
    Vsp::SpMemory memory;
    memory.of(Vsp::Wave)[2] = SpRecords::Wave("Kick", 9000);   // 9 kilowords
    memory.of(Vsp::Wave)[5] = SpRecords::Wave("Snare", 12000); // 12
    memory.of(Vsp::Wave)[9] = SpRecords::Wave("Hat", 3000);    // 3
    memory.of(Vsp::Tone)[10] = SpRecords::Tone("Last Tone");
    memory.of(Vsp::Tone)[12] = SpRecords::Tone("Hat Tone");
    SpConfiguration sp;
    sp.installedKilowords = 20;
    sp.highestAllowed = {255, 10, 255, 255, 255};
    EXPECT_EQ(SpSnapshot::WillNotFit(ContentsOf(memory), sp),
              (QStringList{"t# 12 Hat Tone: this SP takes Tone numbers up to 10 only.",
                           "The Waves take 24 kilowords of sample memory; this SP has 20 installed, too little for w# 5 Snare, w# 9 Hat."}));
    sp.installedKilowords = 24;
    sp.highestAllowed[KindTone] = 12;
    EXPECT_EQ(SpSnapshot::WillNotFit(ContentsOf(memory), sp), QStringList());
    EXPECT_EQ(SpSnapshot::WillNotFit(ContentsOf(memory), SpConfiguration()), QStringList());
}
