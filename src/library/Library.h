// The library: every state of the SP that was ever read or imported, kept in one SQLite file.
// Each object is stored once by its content (ObjectContent); a snapshot lists which object each
// number held, under which name, with the Global settings and the SP's configuration at the time.
// Every change runs in one transaction, so a program killed in the middle leaves the file as it
// was before the change.
#pragma once

#include "device/ObjectKinds.h"
#include "objects/Backup.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <array>
#include <memory>
#include <optional>

// How the SP was set up: installed sample memory and the highest number allowed for each kind;
// 0 where it is not known (a backup file does not say).
struct SpConfiguration {
    int installedKilowords = 0;
    std::array<int, NumberedKinds> highestAllowed{};

    bool known() const { return installedKilowords > 0; }
    bool operator==(const SpConfiguration &) const = default;
};

struct SnapshotInfo {
    qint64 id = 0;
    QDateTime taken; // UTC
    QString note;
    QString source; // "SP", or the file it was imported from
    int objects = 0;
    SpConfiguration configuration;
};

// "1, 2, 5": the snapshots an object is in, as the window and the command line list them.
QString SnapshotIdsText(const QVector<qint64> &ids);

struct LibraryMatch {
    int kind = 0;
    int number = 0;
    QString name;
    qint64 object = 0;
    QVector<qint64> snapshots; // ascending
};

// A restore that stopped before the SP had taken everything: what it sends, in order, and which
// items the SP took. An item is an object (kind, number) or the Global settings (KindGlobal, 0).
struct RestoreJournal {
    struct Item {
        int kind = 0;
        int number = 0;
        bool sent = false;
    };
    qint64 id = 0;
    qint64 snapshot = 0;
    QVector<Item> items;

    int unsent() const;
};

class Library {
public:
    ~Library();

    struct Opened {
        std::unique_ptr<Library> library;
        QString error;  // why no library could be opened
        QString notice; // a damaged file was set aside: where, for the user
    };
    // Opens the file, making it when missing; a file that is not a library or fails SQLite's
    // integrity check is renamed to FILE.damaged (FILE.2.damaged, ... when taken) and a new one
    // is begun.
    static Opened Open(const QString &path);
    // library.sqlite in the user's data folder.
    static QString DefaultPath();

    const QString &path() const { return path_; }

    // Adds the contents as one snapshot; its id, or nothing with `error` set and nothing changed.
    std::optional<qint64> AddSnapshot(const Backup::Contents &contents, const QString &note, const QString &source,
                                      const SpConfiguration &configuration, QString *error = nullptr,
                                      const QDateTime &taken = QDateTime::currentDateTimeUtc());
    QVector<SnapshotInfo> Snapshots() const;
    std::optional<SnapshotInfo> Snapshot(qint64 id) const;
    // The snapshot's objects, rebuilt byte for byte, and its Global answers.
    std::optional<Backup::Contents> SnapshotContents(qint64 id) const;

    // Objects whose name, tags or note hold `text` (any case), of `kind` (-1: every kind) and in
    // `snapshot` (0: any); one row per object, number and name, with every snapshot it is in.
    QVector<LibraryMatch> Find(const QString &text, int kind = -1, qint64 snapshot = 0, int limit = 1000) const;

    bool SetNote(qint64 object, const QString &note);
    bool SetTags(qint64 object, const QStringList &tags);
    QString Note(qint64 object) const;
    QStringList Tags(qint64 object) const;

    // Distinct objects stored, however many snapshots hold them.
    int StoredObjects() const;

    // The journal of a restore about to send `items` (kind, number) of `snapshot`, in order. Only
    // the latest restore can be resumed: any journal left before is dropped.
    std::optional<qint64> BeginRestore(qint64 snapshot, const QVector<std::pair<int, int>> &items);
    bool MarkSent(qint64 restore, int kind, int number);
    // The SP took everything: nothing is left to resume.
    bool FinishRestore(qint64 restore);
    std::optional<RestoreJournal> UnfinishedRestore() const;

private:
    explicit Library(const QString &path, const QString &connection);
    // The object's labels searched anew after its tags or note changed.
    bool Researched(qint64 object);

    QString path_;
    QString connection;
};
