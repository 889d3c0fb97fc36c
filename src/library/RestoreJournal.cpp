// The restore journal: each item marked in a transaction of its own as soon as the SP took it, so
// that a program killed at any moment leaves the journal saying what is still to send.
#include "library/Library.h"
#include "library/LibraryQuery.h"

#include <QSqlDatabase>

using LibraryQuery::Prepared;
using LibraryQuery::Run;

int RestoreJournal::unsent() const
{
    return static_cast<int>(std::count_if(items.begin(), items.end(), [](const Item &item) { return !item.sent; }));
}

std::optional<qint64> Library::BeginRestore(qint64 snapshot, const QVector<std::pair<int, int>> &items)
{
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    if (!db.transaction())
        return std::nullopt;
    QSqlQuery drop = Prepared(connection, QStringLiteral("DELETE FROM restores"));
    QSqlQuery begin = Prepared(connection, QStringLiteral("INSERT INTO restores (snapshot, started) VALUES (?, ?)"));
    if (!drop.exec() || !Run(begin, {snapshot, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)})) {
        db.rollback();
        return std::nullopt;
    }
    const qint64 id = begin.lastInsertId().toLongLong();
    QSqlQuery item = Prepared(connection, QStringLiteral(
        "INSERT INTO restore_items (restore, position, kind, number) VALUES (?, ?, ?, ?)"));
    for (qsizetype position = 0; position < items.size(); ++position) {
        if (!Run(item, {id, position, items[position].first, items[position].second})) {
            db.rollback();
            return std::nullopt;
        }
    }
    if (!db.commit()) {
        db.rollback();
        return std::nullopt;
    }
    return id;
}

bool Library::MarkSent(qint64 restore, int kind, int number)
{
    QSqlQuery query = Prepared(connection, QStringLiteral(
        "UPDATE restore_items SET sent = 1 WHERE restore = ? AND kind = ? AND number = ?"));
    return Run(query, {restore, kind, number}) && query.numRowsAffected() > 0;
}

bool Library::FinishRestore(qint64 restore)
{
    QSqlQuery query = Prepared(connection, QStringLiteral("DELETE FROM restores WHERE id = ?"));
    return Run(query, {restore});
}

std::optional<RestoreJournal> Library::UnfinishedRestore() const
{
    QSqlQuery restore = Prepared(connection, QStringLiteral("SELECT id, snapshot FROM restores ORDER BY id DESC LIMIT 1"));
    if (!restore.exec() || !restore.next())
        return std::nullopt;
    RestoreJournal journal;
    journal.id = restore.value(0).toLongLong();
    journal.snapshot = restore.value(1).toLongLong();
    QSqlQuery items = Prepared(connection, QStringLiteral(
        "SELECT kind, number, sent FROM restore_items WHERE restore = ? ORDER BY position"));
    if (!Run(items, {journal.id}))
        return std::nullopt;
    while (items.next())
        journal.items.append({items.value(0).toInt(), items.value(1).toInt(), items.value(2).toBool()});
    return journal;
}
