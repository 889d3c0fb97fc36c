#include "library/LibraryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <optional>

namespace LibraryFile {

namespace {

// "KrvL": a library file, not some other program's SQLite database.
constexpr int ApplicationId = 0x4B72764C;
constexpr int SchemaVersion = 1;

const char *const Schema[] = {
    "CREATE TABLE objects (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, content_key TEXT NOT NULL UNIQUE,"
    " content BLOB NOT NULL, note TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE snapshots (id INTEGER PRIMARY KEY, taken TEXT NOT NULL, note TEXT NOT NULL, source TEXT NOT NULL,"
    " installed_kilowords INTEGER NOT NULL, highest_allowed TEXT NOT NULL, global BLOB NOT NULL)",
    // Each number and name an object was kept under; the raw number and name characters put
    // its dump together again exactly. Searched in kind and number order, in one text of the
    // name, the object's tags and its note, so that a search reads one column of one table.
    "CREATE TABLE labels (id INTEGER PRIMARY KEY, object INTEGER NOT NULL REFERENCES objects (id),"
    " kind INTEGER NOT NULL, number INTEGER NOT NULL, name TEXT NOT NULL, number_field BLOB NOT NULL,"
    " name_field BLOB NOT NULL, search TEXT NOT NULL, UNIQUE (object, number_field, name_field))",
    "CREATE INDEX labels_by_place ON labels (kind, number)",
    // Which label each number of a snapshot held.
    "CREATE TABLE entries (snapshot INTEGER NOT NULL REFERENCES snapshots (id) ON DELETE CASCADE,"
    " kind INTEGER NOT NULL, number INTEGER NOT NULL, label INTEGER NOT NULL REFERENCES labels (id),"
    " PRIMARY KEY (snapshot, kind, number))",
    "CREATE INDEX entries_by_label ON entries (label)",
    "CREATE TABLE tags (object INTEGER NOT NULL REFERENCES objects (id), tag TEXT NOT NULL COLLATE NOCASE,"
    " PRIMARY KEY (object, tag))",
    // The restore under way, if one stopped before the SP had taken everything: what it sends in
    // order, each item marked once the SP took it, so that a resume sends only the rest.
    "CREATE TABLE restores (id INTEGER PRIMARY KEY, snapshot INTEGER NOT NULL REFERENCES snapshots (id)"
    " ON DELETE CASCADE, started TEXT NOT NULL)",
    "CREATE TABLE restore_items (restore INTEGER NOT NULL REFERENCES restores (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, kind INTEGER NOT NULL, number INTEGER NOT NULL, sent INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (restore, position))",
};

QString NewConnectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("korvane-library-%1").arg(++next);
}

bool Exec(QSqlDatabase &db, const QString &sql, QString *error = nullptr)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

std::optional<int> Pragma(QSqlDatabase &db, const char *name)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

bool IntegrityOk(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA quick_check")) && query.next() && query.value(0).toString() == QLatin1String("ok");
}

enum class State { Ready, Damaged, Failed };

// The file opened on `db` made ready: a new file gets the tables, a library is checked.
State Prepare(QSqlDatabase &db, QString *error)
{
    const auto applicationId = Pragma(db, "application_id");
    const auto version = Pragma(db, "user_version");
    if (!applicationId || !version)
        return State::Damaged; // not an SQLite database at all
    if (*applicationId == ApplicationId)
        return *version == SchemaVersion && IntegrityOk(db) ? State::Ready : State::Damaged;
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !tables.next())
        return State::Damaged;
    if (tables.value(0).toInt() != 0)
        return State::Damaged; // some other program's database
    if (!db.transaction()) {
        *error = db.lastError().text();
        return State::Failed;
    }
    for (const char *statement : Schema) {
        if (!Exec(db, QLatin1String(statement), error)) {
            db.rollback();
            return State::Failed;
        }
    }
    if (!Exec(db, QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId), error)
        || !Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion), error) || !db.commit()) {
        db.rollback();
        return State::Failed;
    }
    return State::Ready;
}

bool Connect(const QString &connection, const QString &path, QString *error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

} // namespace

QString SetAsidePath(const QString &path)
{
    QString aside = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.%2.damaged").arg(path).arg(n);
    return aside;
}

void Close(const QString &connection)
{
    if (connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}

Opened Open(const QString &path)
{
    Opened opened;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        opened.error = QStringLiteral("The library needs Qt's SQLite driver, which is not installed.");
        return opened;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        opened.error = QStringLiteral("The library's folder %1 cannot be made.").arg(QFileInfo(path).absolutePath());
        return opened;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString connection = NewConnectionName();
        QString error;
        State state = Connect(connection, path, &error) ? State::Ready : State::Failed;
        if (state == State::Ready) {
            QSqlDatabase db = QSqlDatabase::database(connection, false);
            Exec(db, QStringLiteral("PRAGMA foreign_keys = ON"));
            state = Prepare(db, &error);
        }
        if (state == State::Ready) {
            opened.connection = connection;
            return opened;
        }
        Close(connection);
        if (state == State::Failed || attempt > 0) {
            opened.error = QStringLiteral("The library %1 cannot be used: %2").arg(QDir::toNativeSeparators(path), error);
            return opened;
        }
        const QString aside = SetAsidePath(path);
        if (!QFile::rename(path, aside)) {
            opened.error = QStringLiteral("The library %1 is damaged and cannot be set aside.").arg(QDir::toNativeSeparators(path));
            return opened;
        }
        // A journal left beside the damaged file belongs to it, not to the new one.
        if (QFileInfo::exists(path + QStringLiteral("-journal")))
            QFile::rename(path + QStringLiteral("-journal"), aside + QStringLiteral("-journal"));
        opened.notice = QStringLiteral("The library %1 was damaged. It was set aside as %2 and a new library begun.")
                            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside));
    }
    return opened;
}

} // namespace LibraryFile
