#include "gridlayout.h"

#include "app/messenger.h"
#include "data/datamodule.h"
#include "data/sqlparams.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace GridLayout {

namespace {
QVariant glField(const QSqlQuery& q, const QSqlRecord& rec, const char* name)
{
    const int i = rec.indexOf(QLatin1String(name));
    return i < 0 ? QVariant() : q.value(i);
}
} // namespace

LoadResult load(const QString& gridKey, QList<GridColumnDef>& columns)
{
    columns.clear();
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    const QString sql = QStringLiteral("Select * from cfg_Grid Where (F_name = :name and F_fieldname <> '') "
                                       "order by F_Order, F_ID");
    if (!Sql::exec(q, sql, {{QStringLiteral("name"), gridKey.toLower()}})) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return LoadResult::Failed;
    }
    const QSqlRecord rec = q.record();
    while (q.next()) {
        GridColumnDef c;
        c.fieldName = glField(q, rec, "F_fieldname").toString().trimmed();
        if (c.fieldName.isEmpty())
            continue;
        c.cfgId = glField(q, rec, "F_ID").toLongLong();
        c.caption = glField(q, rec, "F_Caption").toString();
        c.width = glField(q, rec, "F_Width").toInt();
        c.visible = glField(q, rec, "F_Visible").toInt() != 0;
        c.readOnly = glField(q, rec, "F_ReadOnly").toInt() != 0;
        c.displayFormat = glField(q, rec, "F_DisplayFormat").toString();
        c.footerValue = glField(q, rec, "F_FooterValue").toString();
        const int ft = glField(q, rec, "F_FooterType").toInt();
        c.footerType = ft == 1 ? GridColumnDef::FooterText
            : ft == 2          ? GridColumnDef::FooterSum
                               : GridColumnDef::NoFooter;
        const QVariant al = glField(q, rec, "F_Alignment");
        const int a = al.isNull() ? -1 : al.toInt();
        c.alignment = (a >= 0 && a <= 2) ? a : GridColumnDef::AlignDefault;
        columns.append(c);
    }
    if (q.lastError().isValid()) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return LoadResult::Failed;
    }
    return columns.isEmpty() ? LoadResult::NoRows : LoadResult::Loaded;
}

int save(const QString& gridKey, const QList<GridColumnDef>& columns)
{
    static const QString setPart = QStringLiteral(
        "update cfg_grid set F_caption = :caption,F_width = :width,F_readonly = :readonly,F_visible = :visible,"
        "F_order = :ord,F_alignMent = :align,F_displayFormat = :fmt,F_footerValue = :footer,"
        "F_footerType = :ftype ");
    int failed = 0;
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumnDef& c = columns.at(i);
        SqlParams p {{QStringLiteral("caption"), c.caption}, {QStringLiteral("width"), c.width},
            {QStringLiteral("readonly"), c.readOnly ? 1 : 0}, {QStringLiteral("visible"), c.visible ? 1 : 0},
            {QStringLiteral("ord"), i},
            {QStringLiteral("align"),
                c.alignment == GridColumnDef::AlignLeft         ? 0
                    : c.alignment == GridColumnDef::AlignCenter ? 1
                                                                : 2},
            {QStringLiteral("fmt"), c.displayFormat}, {QStringLiteral("footer"), c.footerValue},
            {QStringLiteral("ftype"),
                c.footerType == GridColumnDef::FooterText      ? 1
                    : c.footerType == GridColumnDef::FooterSum ? 2
                                                               : 0}};
        QString sql = setPart;
        if (c.cfgId > 0) {
            sql += QStringLiteral("where F_ID = :id");
            p.insert(QStringLiteral("id"), c.cfgId);
        } else {
            sql += QStringLiteral("where (F_name = :name and F_fieldname = :field) ");
            p.insert(QStringLiteral("name"), gridKey.toLower());
            p.insert(QStringLiteral("field"), c.fieldName);
        }
        if (!dm().ExecSql(sql, p))
            ++failed;
    }
    return failed;
}

} // namespace GridLayout
