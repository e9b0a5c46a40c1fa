#include "entrylayout.h"

#include "app/messenger.h"
#include "data/datamodule.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace EntryLayout {
bool load(const QString& gridKey, const QList<EntryLineColumn>& designed, QList<EntryLineColumn>& out)
{
    out = designed;
    QSqlQuery q(dm().db());
    q.setForwardOnly(true);
    if (!dm().OpenQry(q, QStringLiteral("select * from cfg_grid where F_name = :key order by F_Order, F_ID"),
            {{QStringLiteral("key"), gridKey}}))
        return false;
    QList<EntryLineColumn> stored;
    QList<EntryLineColumn> rest = designed;
    while (q.next()) {
        const QSqlRecord r = q.record();
        const QString field = r.value(r.indexOf(QStringLiteral("F_fieldname"))).toString().trimmed();
        if (field.isEmpty())
            continue;
        EntryLineColumn c;
        for (int i = 0; i < rest.size(); ++i)
            if (rest.at(i).field.compare(field, Qt::CaseInsensitive) == 0) {
                c = rest.takeAt(i);
                break;
            }
        // The line model reads fields by name; a column of another table is not shown.
        if (c.field.isEmpty())
            continue;
        const QString caption = r.value(r.indexOf(QStringLiteral("F_Caption"))).toString();
        if (!caption.isEmpty())
            c.caption = caption;
        const int width = r.value(r.indexOf(QStringLiteral("F_Width"))).toInt();
        if (width > 0)
            c.width = width;
        c.visible = r.value(r.indexOf(QStringLiteral("F_Visible"))).toInt() == 1;
        const QString fmt = r.value(r.indexOf(QStringLiteral("F_DisplayFormat"))).toString();
        if (!fmt.isEmpty())
            c.footerFormat = fmt;
        const int ft = r.value(r.indexOf(QStringLiteral("F_FooterType"))).toInt();
        c.footerType = ft;
        c.footerValue = r.value(r.indexOf(QStringLiteral("F_FooterValue"))).toString();
        const QVariant align = r.value(r.indexOf(QStringLiteral("F_Alignment")));
        if (!align.isNull())
            c.alignment = align.toInt();
        stored << c;
    }
    if (!stored.isEmpty())
        out = stored + rest;
    return true;
}

bool save(const QString& gridKey, const QList<EntryLineColumn>& columns)
{
    bool ok = true;
    int order = 0;
    for (const EntryLineColumn& c : columns) {
        ok = dm().ExecSql(QStringLiteral("update cfg_grid set F_Order = :ord, F_Caption = :caption, F_Width = :width, "
                                         "F_Visible = :visible where F_name = :key and F_fieldname = :field"),
                 {{QStringLiteral("ord"), order++}, {QStringLiteral("caption"), c.caption},
                     {QStringLiteral("width"), c.width}, {QStringLiteral("visible"), c.visible ? 1 : 0},
                     {QStringLiteral("key"), gridKey}, {QStringLiteral("field"), c.field}})
            && ok;
    }
    return ok;
}
} // namespace EntryLayout
