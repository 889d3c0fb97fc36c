#include "library/Library.h"

#include "library/LibraryFile.h"
#include "library/ObjectContent.h"
#include "midi/DataFolder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

// A query on the connection, prepared; a failed prepare shows in exec().
QSqlQuery Prepared(const QString &connection, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(sql);
    return query;
}

QString HighestText(const SpConfiguration &configuration)
{
    QStringList figures;
    for (int highest : configuration.highestAllowed)
        figures << QString::number(highest);
    return figures.join(QLatin1Char(' '));
}

SpConfiguration ConfigurationOf(int installed, const QString &highest)
{
    SpConfiguration configuration;
    configuration.installedKilowords = installed;
    const QStringList figures = highest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (size_t kind = 0; kind < configuration.highestAllowed.size() && kind < static_cast<size_t>(figures.size()); ++kind)
        configuration.highestAllowed[kind] = figures[static_cast<qsizetype>(kind)].toInt();
    return configuration;
}

// The Global answers are SysEx messages: kept end to end, split again at each F7.
QVector<QByteArray> SplitMessages(const QByteArray &joined)
{
    QVector<QByteArray> messages;
    qsizetype start = 0;
    while (start < joined.size()) {
        const qsizetype end = joined.indexOf('\xF7', start);
        if (end < 0)
            break;
        messages.append(joined.mid(start, end - start + 1));
        start = end + 1;
    }
    return messages;
}

// "%text%" for LIKE, with the user's % and _ taken literally.
QString Pattern(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

Library::Library(const QString &path, const QString &connection) : path_(path), connection(connection) {}

Library::~Library()
{
    LibraryFile::Close(connection);
}

QString Library::DefaultPath()
{
    return DataFolder() + QStringLiteral("/library.sqlite");
}

Library::Opened Library::Open(const QString &path)
{
    LibraryFile::Opened file = LibraryFile::Open(path);
    Opened opened;
    opened.error = file.error;
    opened.notice = file.notice;
    if (!file.connection.isEmpty())
        opened.library.reset(new Library(path, file.connection));
    return opened;
}

std::optional<qint64> Library::AddSnapshot(const Backup::Contents &contents, const QString &note, const QString &source,
                                           const SpConfiguration &configuration, QString *error, const QDateTime &taken)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    const auto fail = [&](const QSqlQuery &query) -> std::optional<qint64> {
        if (error)
            *error = query.lastError().text();
        db.rollback();
        return std::nullopt;
    };
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return std::nullopt;
    }
    QSqlQuery snapshot = Prepared(connection, QStringLiteral(
        "INSERT INTO snapshots (taken, note, source, installed_kilowords, highest_allowed, global) VALUES (?, ?, ?, ?, ?, ?)"));
    snapshot.addBindValue(taken.toUTC().toString(Qt::ISODateWithMs));
    // A null text would be stored as NULL.
    snapshot.addBindValue(note.isNull() ? QStringLiteral("") : note);
    snapshot.addBindValue(source.isNull() ? QStringLiteral("") : source);
    snapshot.addBindValue(configuration.installedKilowords);
    snapshot.addBindValue(HighestText(configuration));
    QByteArray global;
    for (const QByteArray &answer : contents.global)
        global += answer;
    snapshot.addBindValue(global);
    if (!snapshot.exec())
        return fail(snapshot);
    const qint64 id = snapshot.lastInsertId().toLongLong();

    QSqlQuery insertObject = Prepared(connection, QStringLiteral(
        "INSERT INTO objects (kind, content_key, content) VALUES (?, ?, ?) ON CONFLICT (content_key) DO NOTHING"));
    QSqlQuery findObject = Prepared(connection, QStringLiteral("SELECT id FROM objects WHERE content_key = ?"));
    QSqlQuery entry = Prepared(connection, QStringLiteral(
        "INSERT INTO entries (snapshot, kind, number, object, name, number_field, name_field) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const Backup::Object &object : contents.objects) {
        if (!ObjectContent::Splittable(object.dump)) {
            if (error)
                *error = QStringLiteral("%1 is too short to keep.").arg(Backup::ObjectLabel(object.kind, object.number, object.name));
            db.rollback();
            return std::nullopt;
        }
        const ObjectContent::Parts parts = ObjectContent::Split(object.dump);
        const QByteArray key = ObjectContent::Key(object.kind, parts.content);
        insertObject.addBindValue(object.kind);
        insertObject.addBindValue(QString::fromLatin1(key));
        insertObject.addBindValue(parts.content);
        if (!insertObject.exec())
            return fail(insertObject);
        findObject.addBindValue(QString::fromLatin1(key));
        if (!findObject.exec() || !findObject.next())
            return fail(findObject);
        const qint64 objectId = findObject.value(0).toLongLong();
        findObject.finish();
        entry.addBindValue(id);
        entry.addBindValue(object.kind);
        entry.addBindValue(object.number);
        entry.addBindValue(objectId);
        entry.addBindValue(object.name.isNull() ? QStringLiteral("") : object.name);
        entry.addBindValue(parts.number);
        entry.addBindValue(parts.name);
        if (!entry.exec())
            return fail(entry);
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        db.rollback();
        return std::nullopt;
    }
    return id;
}

QVector<SnapshotInfo> Library::Snapshots() const
{
    QVector<SnapshotInfo> snapshots;
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "SELECT s.id, s.taken, s.note, s.source, s.installed_kilowords, s.highest_allowed,"
        " (SELECT count(*) FROM entries e WHERE e.snapshot = s.id) FROM snapshots s ORDER BY s.id"));
    if (!query.exec())
        return snapshots;
    while (query.next()) {
        SnapshotInfo info;
        info.id = query.value(0).toLongLong();
        info.taken = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
        info.taken.setTimeSpec(Qt::UTC);
        info.note = query.value(2).toString();
        info.source = query.value(3).toString();
        info.configuration = ConfigurationOf(query.value(4).toInt(), query.value(5).toString());
        info.objects = query.value(6).toInt();
        snapshots.append(info);
    }
    return snapshots;
}

std::optional<SnapshotInfo> Library::Snapshot(qint64 id) const
{
    for (const SnapshotInfo &info : Snapshots()) {
        if (info.id == id)
            return info;
    }
    return std::nullopt;
}

std::optional<Backup::Contents> Library::SnapshotContents(qint64 id) const
{
    QSqlQuery global = Prepared(connection, QStringLiteral("SELECT global FROM snapshots WHERE id = ?"));
    global.addBindValue(id);
    if (!global.exec() || !global.next())
        return std::nullopt;
    Backup::Contents contents;
    contents.global = SplitMessages(global.value(0).toByteArray());
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "SELECT e.kind, e.number, e.name, e.number_field, e.name_field, o.content FROM entries e"
        " JOIN objects o ON o.id = e.object WHERE e.snapshot = ? ORDER BY e.kind, e.number"));
    query.addBindValue(id);
    if (!query.exec())
        return std::nullopt;
    while (query.next()) {
        Backup::Object object;
        object.kind = query.value(0).toInt();
        object.number = query.value(1).toInt();
        object.name = query.value(2).toString();
        object.dump = ObjectContent::Join(query.value(5).toByteArray(), query.value(3).toByteArray(), query.value(4).toByteArray());
        contents.objects.append(object);
    }
    return contents;
}

QVector<LibraryMatch> Library::Find(const QString &text, int kind, qint64 snapshot, int limit) const
{
    QVector<LibraryMatch> matches;
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "SELECT e.kind, e.number, e.name, e.object, group_concat(e.snapshot) FROM entries e"
        " JOIN objects o ON o.id = e.object"
        " WHERE (e.name LIKE :text ESCAPE '\\' OR o.note LIKE :text ESCAPE '\\'"
        "        OR EXISTS (SELECT 1 FROM tags t WHERE t.object = e.object AND t.tag LIKE :text ESCAPE '\\'))"
        "   AND (:kind < 0 OR e.kind = :kind)"
        // In the snapshot chosen, but listed with every snapshot it is in.
        "   AND (:snapshot = 0 OR EXISTS (SELECT 1 FROM entries f WHERE f.snapshot = :snapshot AND f.kind = e.kind"
        "        AND f.number = e.number AND f.object = e.object))"
        " GROUP BY e.object, e.number, e.name ORDER BY e.kind, e.number, min(e.snapshot), e.name LIMIT :limit"));
    query.bindValue(QStringLiteral(":text"), Pattern(text));
    query.bindValue(QStringLiteral(":kind"), kind);
    query.bindValue(QStringLiteral(":snapshot"), snapshot);
    query.bindValue(QStringLiteral(":limit"), limit);
    if (!query.exec())
        return matches;
    while (query.next()) {
        LibraryMatch match;
        match.kind = query.value(0).toInt();
        match.number = query.value(1).toInt();
        match.name = query.value(2).toString();
        match.object = query.value(3).toLongLong();
        for (const QString &s : query.value(4).toString().split(QLatin1Char(','), Qt::SkipEmptyParts))
            match.snapshots.append(s.toLongLong());
        std::sort(match.snapshots.begin(), match.snapshots.end());
        matches.append(match);
    }
    return matches;
}

bool Library::SetNote(qint64 object, const QString &note)
{
    QSqlQuery query = Prepared(connection, QStringLiteral("UPDATE objects SET note = ? WHERE id = ?"));
    query.addBindValue(note.isNull() ? QStringLiteral("") : note);
    query.addBindValue(object);
    return query.exec() && query.numRowsAffected() == 1;
}

bool Library::SetTags(qint64 object, const QStringList &tags)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery clear = Prepared(connection, QStringLiteral("DELETE FROM tags WHERE object = ?"));
    clear.addBindValue(object);
    bool ok = clear.exec();
    QSqlQuery add = Prepared(connection, QStringLiteral("INSERT OR IGNORE INTO tags (object, tag) VALUES (?, ?)"));
    for (const QString &tag : tags) {
        if (!ok || tag.trimmed().isEmpty())
            continue;
        add.addBindValue(object);
        add.addBindValue(tag.trimmed());
        ok = add.exec();
    }
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

QString Library::Note(qint64 object) const
{
    QSqlQuery query = Prepared(connection, QStringLiteral("SELECT note FROM objects WHERE id = ?"));
    query.addBindValue(object);
    return query.exec() && query.next() ? query.value(0).toString() : QString();
}

QStringList Library::Tags(qint64 object) const
{
    QStringList tags;
    QSqlQuery query = Prepared(connection, QStringLiteral("SELECT tag FROM tags WHERE object = ? ORDER BY tag"));
    query.addBindValue(object);
    if (query.exec()) {
        while (query.next())
            tags << query.value(0).toString();
    }
    return tags;
}

int Library::StoredObjects() const
{
    QSqlQuery query = Prepared(connection, QStringLiteral("SELECT count(*) FROM objects"));
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}
