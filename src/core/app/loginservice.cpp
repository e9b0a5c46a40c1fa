#include "loginservice.h"

#include "data/datamodule.h"
#include "password.h"

#include <QSqlQuery>
#include <QSqlRecord>

LoginService::Result LoginService::check(const QString& code, const QString& password)
{
    if (code.trimmed().isEmpty())
        return EmptyCode;
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select F_Name, F_PassWord, F_Flag from OperList where F_Code = :code"),
            {{QStringLiteral("code"), code.trimmed()}}))
        return UnknownCode;
    if (!q.next() || q.value(0).toString().trimmed().isEmpty())
        return UnknownCode;
    if (q.value(2).toInt() == 1)
        return Disabled;
    return CheckPass(q.value(1).toString(), password) ? Ok : WrongPassword;
}

bool LoginService::loadSession(const QString& code, Session& s)
{
    DataModule& d = dm();
    s.operCode = code;
    s.operName = d.GetSqlStr(
        QStringLiteral("select F_Name from OperList Where F_Code = :code"), {{QStringLiteral("code"), code}});
    s.partCode = d.GetSqlStr(
        QStringLiteral("select F_PartCode From OperList Where F_Code = :code"), {{QStringLiteral("code"), code}});
    if (code != QLatin1String("000")) {
        QSqlQuery q(d.db());
        if (d.OpenQry(q,
                QStringLiteral("select F_new,F_edit,F_del,F_check,F_set,F_YGedit,F_HPedit,F_KHedit, "
                               "F_price,F_CKflag,F_depot from OperList where F_code = :code"),
                {{QStringLiteral("code"), code}})
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
    {
        QSqlQuery q(d.db());
        if (d.OpenQry(q, QStringLiteral("select f_code,f_phone from SysInfo")) && q.next()) {
            const QString phone = q.value(1).toString();
            s.companyTitle = q.value(0).toString();
            if (!phone.isEmpty())
                s.companyTitle += QLatin1Char('(') + phone + QLatin1Char(')');
        }
    }
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
