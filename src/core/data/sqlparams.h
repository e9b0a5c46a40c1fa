#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

// Named values for a statement's ":Name" placeholders. A QStringList value stands
// for a list: ":depots" in "F_depot in (:depots)" becomes one placeholder per item
// (an empty list matches nothing), so depot restrictions stay bound values too.
using SqlParams = QVariantMap;

namespace Sql {
// Expands list values in the statement text and returns the text to prepare.
QString expandLists(const QString& sql, const SqlParams& params);
// Prepares the statement on the query and binds every value that appears in it.
bool prepare(QSqlQuery& query, const QString& sql, const SqlParams& params);
// prepare + exec; false on any error (query.lastError() tells).
bool exec(QSqlQuery& query, const QString& sql, const SqlParams& params = {});
} // namespace Sql
