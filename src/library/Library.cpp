#include "library/Library.h"

#include "library/LibraryFile.h"
#include "library/LibraryQuery.h"
#include "library/ObjectContent.h"
#include "midi/DataFolder.h"

#include <QSqlError>

#include <algorithm>

using LibraryQuery::Prepared;
using LibraryQuery::Run;

namespace {

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

QString SnapshotIdsText(const QVector<qint64> &ids)
{
    QStringList texts;
    for (qint64 id : ids)
        texts << QString::number(id);
    return texts.join(QStringLiteral(", "));
}

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
    QByteArray global;
    for (const QByteArray &answer : contents.global)
        global += answer;
    if (!Run(snapshot, {taken.toUTC().toString(Qt::ISODateWithMs), note, source, configuration.installedKilowords,
                        HighestText(configuration), global}))
        return fail(snapshot);
    const qint64 id = snapshot.lastInsertId().toLongLong();

    QSqlQuery insertObject = Prepared(connection, QStringLiteral(
        "INSERT INTO objects (kind, content_key, content) VALUES (?, ?, ?) ON CONFLICT (content_key) DO NOTHING"));
    QSqlQuery findObject = Prepared(connection, QStringLiteral("SELECT id FROM objects WHERE content_key = ?"));
    QSqlQuery insertLabel = Prepared(connection, QStringLiteral(
        "INSERT INTO labels (object, kind, number, name, number_field, name_field, search)"
        " SELECT ?, ?, ?, ?, ?, ?, ? || char(10) || coalesce((SELECT group_concat(tag, ' ') FROM tags WHERE object = ?), '')"
        " || char(10) || (SELECT note FROM objects WHERE id = ?)"
        " WHERE true ON CONFLICT (object, number_field, name_field) DO NOTHING"));
    QSqlQuery findLabel = Prepared(connection, QStringLiteral(
        "SELECT id FROM labels WHERE object = ? AND number_field = ? AND name_field = ?"));
    QSqlQuery entry = Prepared(connection, QStringLiteral("INSERT INTO entries (snapshot, kind, number, label) VALUES (?, ?, ?, ?)"));
    for (const Backup::Object &object : contents.objects) {
        if (!ObjectContent::Splittable(object.dump)) {
            if (error)
                *error = QStringLiteral("%1 is too short to keep.").arg(Backup::ObjectLabel(object.kind, object.number, object.name));
            db.rollback();
            return std::nullopt;
        }
        const ObjectContent::Parts parts = ObjectContent::Split(object.dump);
        const QString key = QString::fromLatin1(ObjectContent::Key(object.kind, parts.content));
        if (!Run(insertObject, {object.kind, key, parts.content}))
            return fail(insertObject);
        if (!Run(findObject, {key}) || !findObject.next())
            return fail(findObject);
        const qint64 objectId = findObject.value(0).toLongLong();
        findObject.finish();
        if (!Run(insertLabel, {objectId, object.kind, object.number, object.name, parts.number, parts.name, object.name,
                               objectId, objectId}))
            return fail(insertLabel);
        if (!Run(findLabel, {objectId, parts.number, parts.name}) || !findLabel.next())
            return fail(findLabel);
        const qint64 labelId = findLabel.value(0).toLongLong();
        findLabel.finish();
        if (!Run(entry, {id, object.kind, object.number, labelId}))
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
    if (!Run(global, {id}) || !global.next())
        return std::nullopt;
    Backup::Contents contents;
    contents.global = SplitMessages(global.value(0).toByteArray());
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "SELECT e.kind, e.number, l.name, l.number_field, l.name_field, o.content FROM entries e"
        " JOIN labels l ON l.id = e.label JOIN objects o ON o.id = l.object WHERE e.snapshot = ? ORDER BY e.kind, e.number"));
    if (!Run(query, {id}))
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
        // In kind and number order straight from the index, so that the first rows come without
        // sorting every match; the snapshots only for the rows given.
        "SELECT l.kind, l.number, l.name, l.object, (SELECT group_concat(e.snapshot) FROM entries e WHERE e.label = l.id)"
        " FROM labels l WHERE l.search LIKE :text ESCAPE '\\'"
        "   AND (:kind < 0 OR l.kind = :kind)"
        "   AND (:snapshot = 0 OR EXISTS (SELECT 1 FROM entries f WHERE f.label = l.id AND f.snapshot = :snapshot))"
        " ORDER BY l.kind, l.number, l.id LIMIT :limit"));
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
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery query = Prepared(connection, QStringLiteral("UPDATE objects SET note = ? WHERE id = ?"));
    if (Run(query, {note, object}) && query.numRowsAffected() == 1 && Researched(object) && db.commit())
        return true;
    db.rollback();
    return false;
}

bool Library::Researched(qint64 object)
{
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "UPDATE labels SET search = name || char(10) || coalesce((SELECT group_concat(tag, ' ') FROM tags WHERE object = ?), '')"
        " || char(10) || (SELECT note FROM objects WHERE id = ?) WHERE object = ?"));
    return Run(query, {object, object, object});
}

bool Library::SetTags(qint64 object, const QStringList &tags)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery clear = Prepared(connection, QStringLiteral("DELETE FROM tags WHERE object = ?"));
    bool ok = Run(clear, {object});
    QSqlQuery add = Prepared(connection, QStringLiteral("INSERT OR IGNORE INTO tags (object, tag) VALUES (?, ?)"));
    for (const QString &tag : tags) {
        if (!ok || tag.trimmed().isEmpty())
            continue;
        ok = Run(add, {object, tag.trimmed()});
    }
    if (ok && Researched(object) && db.commit())
        return true;
    db.rollback();
    return false;
}

QString Library::Note(qint64 object) const
{
    QSqlQuery query = Prepared(connection, QStringLiteral("SELECT note FROM objects WHERE id = ?"));
    return Run(query, {object}) && query.next() ? query.value(0).toString() : QString();
}

QStringList Library::Tags(qint64 object) const
{
    QStringList tags;
    QSqlQuery query = Prepared(connection, QStringLiteral("SELECT tag FROM tags WHERE object = ? ORDER BY tag"));
    if (Run(query, {object})) {
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
