#include "entrygridseed.h"

#include "data/connection.h"
#include "documentkinds.h"
#include "entrykinds.h"
#include "entrylinefields.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
bool seedEntryKey(Connection& c, const QString& key, const QList<EntryLineColumn>& columns, QString* error)
{
    QSqlQuery q(c.db());
    if (!Sql::exec(
            q, QStringLiteral("select count(*) from cfg_grid where F_name = :key"), {{QStringLiteral("key"), key}})
        || !q.next()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    if (q.value(0).toLongLong() > 0)
        return true;
    q.finish();
    int order = 0;
    for (const EntryLineColumn& col : columns) {
        const SqlParams p {{QStringLiteral("name"), key}, {QStringLiteral("field"), col.field},
            {QStringLiteral("ord"), order++}, {QStringLiteral("caption"), col.caption},
            {QStringLiteral("width"), col.width}, {QStringLiteral("visible"), col.visible ? 1 : 0},
            {QStringLiteral("ro"), col.editable ? 0 : 1},
            {QStringLiteral("fmt"), col.footerFormat.isEmpty() ? col.displayFormat : col.footerFormat},
            {QStringLiteral("footer"), col.footerValue}, {QStringLiteral("ftype"), col.footerType},
            {QStringLiteral("align"), col.alignment}};
        if (!c.exec(QStringLiteral("insert into cfg_grid(F_name,F_fieldname,F_Order,F_Caption,F_Width,F_Visible,"
                                   "F_ReadOnly,F_DisplayFormat,F_FooterValue,F_FooterType,F_Alignment) "
                                   "values(:name,:field,:ord,:caption,:width,:visible,:ro,:fmt,:footer,:ftype,:align)"),
                p)) {
            if (error)
                *error = c.errorString();
            return false;
        }
    }
    return true;
}
} // namespace

bool EntryGridSeed::seed(Connection& connection, QString* error)
{
    for (const EntryKind& k : EntryKinds::all())
        if (!seedEntryKey(connection, k.base().layoutKey, EntryLineFields::defaultColumns(k.kind), error))
            return false;
    return seedEntryKey(connection, EntryKinds::pickerGridKey(), EntryLineFields::pickerColumns(), error);
}
