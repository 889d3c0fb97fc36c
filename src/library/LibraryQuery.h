// The library's queries: prepared on its connection, values bound by position on every run.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

namespace LibraryQuery {

// A query on the connection, prepared; a failed prepare shows in exec().
inline QSqlQuery Prepared(const QString &connection, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.prepare(sql);
    return query;
}

// Binds the values by position and runs the query. A query run again gets every value anew; a
// null text or blob would be stored as NULL, so it goes in empty.
inline bool Run(QSqlQuery &query, std::initializer_list<QVariant> values)
{
    int position = 0;
    for (QVariant value : values) {
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            value = QStringLiteral("");
        else if (value.typeId() == QMetaType::QByteArray && value.toByteArray().isNull())
            value = QByteArray("");
        query.bindValue(position++, value);
    }
    return query.exec();
}

} // namespace LibraryQuery
