#include "loginservice.h"

#include "data/datamodule.h"
#include "password.h"

#include <QSqlQuery>
#include <QSqlRecord>

LoginService::Result LoginService::check(const QString& code, const QString& password)
{
    const QString c = code.trimmed();
    if (c.isEmpty())
        return EmptyCode;
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select F_Name, F_PassWord, F_Flag from OperList where F_Code = :code"),
            {{QStringLiteral("code"), c}}))
        return UnknownCode;
    if (!q.next() || q.value(0).toString().trimmed().isEmpty())
        return UnknownCode;
    if (!CheckPass(q.value(1).toString(), password))
        return WrongPassword;
    if (q.value(2).toInt() == 1 && c != QLatin1String("000"))
        return Disabled;
    return Ok;
}

QString LoginService::operatorName(const QString& code)
{
    if (code.trimmed().isEmpty())
        return QString();
    return dm().GetSqlStr(
        QStringLiteral("select F_Name from OperList Where F_Code = :code"), {{QStringLiteral("code"), code.trimmed()}});
}

QString LoginService::companyTitle()
{
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select f_code,f_phone from SysInfo")) || !q.next())
        return QString();
    QString title = q.value(0).toString();
    const QString phone = q.value(1).toString();
    if (!phone.isEmpty())
        title += QLatin1Char('(') + phone + QLatin1Char(')');
    return title;
}

bool LoginService::loadSession(const QString& code, Session& s)
{
    DataModule& d = dm();
    const QString c = code.trimmed();
    s.operCode = c;
    s.operName = operatorName(c);
    s.partCode = d.GetSqlStr(
        QStringLiteral("select F_PartCode From OperList Where F_Code = :code"), {{QStringLiteral("code"), c}});
    if (!s.isAdmin()) {
        QSqlQuery q(d.db());
        if (d.OpenQry(q,
                QStringLiteral("select F_new,F_edit,F_del,F_check,F_set,F_YGedit,F_HPedit,F_KHedit, "
                               "F_price,F_CKflag,F_depot from OperList where F_code = :code"),
                {{QStringLiteral("code"), c}})
            && q.next()) {
            s.rNew = q.value(0).toInt() != 0;
            s.rEdit = q.value(1).toInt() != 0;
            s.rDel = q.value(2).toInt() != 0;
            s.rCheck = q.value(3).toInt() != 0;
            s.rSet = q.value(4).toInt() != 0;
            s.rYGedit = q.value(5).toInt() != 0;
            s.rHPedit = q.value(6).toInt() != 0;
            s.rKHedit = q.value(7).toInt() != 0;
            s.rPrice = q.value(8).toInt() != 0;
            s.ckFlag = q.value(9).toInt();
            s.depotListText = q.value(10).toString();
            s.permittedDepots = Session::parseDepotList(s.depotListText);
        }
    } else {
        s.rNew = s.rEdit = s.rDel = s.rCheck = s.rSet = s.rYGedit = s.rHPedit = s.rKHedit = s.rPrice = true;
        s.ckFlag = 0;
        s.depotListText.clear();
        s.permittedDepots.clear();
    }
    s.companyTitle = companyTitle();
    {
        for (int i = 0; i < 11; ++i) {
            s.zfCaptions[i].clear();
            s.zfShown[i] = false;
        }
        QSqlQuery q(d.db());
        if (d.OpenQry(q, QStringLiteral("select F_Value, F_Flag from KeyValue order by F_ID"))) {
            int n = 0;
            while (q.next() && n < 11) {
                s.zfCaptions[n] = q.value(0).toString();
                s.zfShown[n] = q.value(1).toInt() != 0;
                ++n;
            }
        }
    }
    return !s.operName.isEmpty();
}

bool LoginService::hasRight(const QString& partCode, int actionCode)
{
    return dm().GetSqlInt(
               QStringLiteral("Select F_ID from PartLimit Where (F_PartCode = :part)And(F_LmtCode = :code) "),
               {{QStringLiteral("part"), partCode}, {QStringLiteral("code"), QString::number(actionCode)}})
        > 0;
}

bool LoginService::sessionHasRight(const Session& session, int actionCode)
{
    return session.isAdmin() || hasRight(session.partCode, actionCode);
}

QSet<int> LoginService::grantedActions(const QString& partCode, bool* ok)
{
    QSet<int> out;
    QSqlQuery q(dm().db());
    const bool opened = dm().OpenQry(q, QStringLiteral("select F_LmtCode from PartLimit where F_PartCode = :part"),
        {{QStringLiteral("part"), partCode}});
    if (ok)
        *ok = opened;
    if (!opened)
        return out;
    while (q.next()) {
        bool isNumber = false;
        const int code = q.value(0).toString().trimmed().toInt(&isNumber);
        if (isNumber)
            out.insert(code);
    }
    return out;
}
