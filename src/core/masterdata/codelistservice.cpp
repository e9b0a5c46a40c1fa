#include "codelistservice.h"

#include "app/messenger.h"
#include "app/session.h"
#include "data/datamodule.h"
#include "data/transaction.h"

#include <QSqlError>
#include <QSqlQuery>

const QList<CodeListKind>& CodeListService::kinds()
{
    static const QList<CodeListKind> k = {
        {QStringLiteral("tempduty"), QStringLiteral(" 员工职务 "), QStringLiteral("empduty")},
        {QStringLiteral("tclttype"), QStringLiteral(" 客户类型 "), QStringLiteral("clttype")},
        {QStringLiteral("tsuptype"), QStringLiteral("供应商类型"), QStringLiteral("suptype")},
        {QStringLiteral("tgoodunit"), QStringLiteral(" 计量单位 "), QStringLiteral("goodunit")},
        {QStringLiteral("tdepot"), QStringLiteral(" 企业仓库 "), QStringLiteral("depot")},
        {QStringLiteral("tdepartment"), QStringLiteral(" 部门资料 "), QStringLiteral("department")},
    };
    return k;
}

bool CodeListService::load(const QString& kind, QList<CodeEntry>& entries)
{
    entries.clear();
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("Select * From t_code where F_type = :kind order by F_ID"),
            {{QStringLiteral("kind"), kind}}))
        return false;
    while (q.next()) {
        CodeEntry e;
        e.id = q.value(QStringLiteral("F_ID")).toLongLong();
        e.name = q.value(QStringLiteral("F_Name")).toString();
        e.type = q.value(QStringLiteral("F_type")).toString();
        entries << e;
    }
    return true;
}

bool CodeListService::saveList(
    const QString& kind, QList<CodeEntry>& entries, const QList<CodeEntry>& original, QString* errorText)
{
    Connection& c = dm().connection();
    Transaction tx(c);
    auto fail = [&](const QString& why) {
        if (errorText)
            *errorText = why;
        return false;
    };
    if (!tx.isActive())
        return fail(tx.errorString());
    QList<qint64> kept;
    for (CodeEntry& e : entries) {
        e.type = kind;
        if (e.id == 0) {
            const qint64 id
                = c.insertReturningId(QStringLiteral("insert into t_code (F_Name, F_type) values (:name, :kind)"),
                    {{QStringLiteral("name"), e.name}, {QStringLiteral("kind"), kind}});
            if (id < 0)
                return fail(c.errorString());
            e.id = id;
            continue;
        }
        kept << e.id;
        bool changed = true;
        for (const CodeEntry& o : original)
            if (o.id == e.id) {
                changed = o.name != e.name || o.type != kind;
                break;
            }
        if (changed
            && !c.exec(QStringLiteral("update t_code set F_Name = :name, F_type = :kind where F_ID = :id"),
                {{QStringLiteral("name"), e.name}, {QStringLiteral("kind"), kind}, {QStringLiteral("id"), e.id}}))
            return fail(c.errorString());
    }
    for (const CodeEntry& o : original)
        if (!kept.contains(o.id)
            && !c.exec(QStringLiteral("delete from t_code where F_ID = :id"), {{QStringLiteral("id"), o.id}}))
            return fail(c.errorString());
    if (!tx.commit())
        return fail(tx.errorString());
    return true;
}

bool CodeListService::remove(qint64 id, QString* errorText)
{
    Connection& c = dm().connection();
    if (!c.exec(QStringLiteral("delete from t_code where F_ID = :id"), {{QStringLiteral("id"), id}})) {
        if (errorText)
            *errorText = c.errorString();
        return false;
    }
    return true;
}

bool CodeListService::contains(const QString& kind, const QString& name, bool* ok)
{
    QSqlQuery q(dm().db());
    const bool ran = Sql::exec(q, QStringLiteral("select count(*) from t_code where f_name= :name and f_type = :kind"),
        {{QStringLiteral("name"), name}, {QStringLiteral("kind"), kind}});
    if (ok)
        *ok = ran;
    if (!ran) {
        ShowMess(DataModule::execFailText(), 3);
        return false;
    }
    return q.next() && q.value(0).toLongLong() > 0;
}

bool CodeListService::add(const QString& kind, const QString& name)
{
    return dm().ExecSql(QStringLiteral("insert into t_code(f_name,f_type)values(:name,:kind) "),
        {{QStringLiteral("name"), name}, {QStringLiteral("kind"), kind}});
}

QStringList CodeListService::names(const QString& kind)
{
    QStringList out;
    dm().FillList(QStringLiteral("select f_name from t_code where f_type = :kind order by F_ID"), out,
        {{QStringLiteral("kind"), kind}});
    return out;
}

QStringList CodeListService::permittedDepots()
{
    const Session& s = Session::current();
    QStringList out;
    SqlParams p = s.depotParams();
    dm().FillList(QStringLiteral("select f_name from t_code where f_type = 'depot' ") + s.depotNameClause()
            + QStringLiteral("order by F_ID"),
        out, p);
    return out;
}

QString CodeListService::deleteQuestion(const QString& caption, const QString& name)
{
    return QStringLiteral("真的要删除 \"") + caption + QStringLiteral("\"") + name + QStringLiteral("吗？");
}
