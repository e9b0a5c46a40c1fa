#include "sysoptionsservice.h"

#include "data/datamodule.h"
#include "data/transaction.h"
#include "inifile.h"
#include "messenger.h"
#include "session.h"

#include <QList>
#include <QSqlError>
#include <QSqlQuery>

namespace {
const QString kSysOptionsConfigSection = QStringLiteral("config");

bool sysOptExec(QSqlQuery& q, const QString& sql, const SqlParams& params = {})
{
    return Sql::exec(q, sql, params);
}
} // namespace

bool SysOptionsService::load(SysOptions& o, const IniFile* config)
{
    if (config) {
        o.backupSchedule = config->readInteger(kSysOptionsConfigSection, QStringLiteral("ibak"), 0);
        o.printNum = config->readInteger(kSysOptionsConfigSection, QStringLiteral("iPrintNum"), 5);
        o.barcodeInput = config->readBool(kSysOptionsConfigSection, QStringLiteral("bTM"), false);
    } else {
        o.backupSchedule = 0;
        o.printNum = 5;
        o.barcodeInput = false;
    }
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q, QStringLiteral("select F_iAmount,F_iPrice,F_iTotal,F_b1,F_b2,F_b3,F_b4,F_iMode from sysInfo")))
        return false;
    const bool row = q.next();
    o.iAmount = row ? q.value(0).toInt() : 0;
    o.iPrice = row ? q.value(1).toInt() : 0;
    o.iTotal = row ? q.value(2).toInt() : 0;
    o.negativeStock = row && q.value(3).toInt() != 0;
    o.autoGoodsCode = row && q.value(4).toInt() != 0;
    o.lastPrice = row && q.value(5).toInt() != 0;
    o.lastPriceClient = row && q.value(6).toInt() != 0;
    o.costingMode = row ? q.value(7).toInt() : 0;
    return true;
}

bool SysOptionsService::save(const SysOptions& o, const QString (&captions)[11], const bool (&shown)[11],
    IniFile* config, SysOptions& current, Session& session)
{
    {
        Transaction tx(dm().connection());
        QSqlQuery q(dm().db());
        bool ok = tx.isActive();
        QList<qint64> ids;
        if (ok && (ok = sysOptExec(q, QStringLiteral("select F_ID from KeyValue order by F_ID")))) {
            while (q.next())
                ids << q.value(0).toLongLong();
        }
        for (int n = 0; ok && n < ids.size() && n < 11; ++n)
            ok = sysOptExec(q, QStringLiteral("update KeyValue set F_Value = :v, F_Flag = :f where F_ID = :id"),
                {{QStringLiteral("v"), captions[n]}, {QStringLiteral("f"), shown[n] ? 1 : 0},
                    {QStringLiteral("id"), ids[n]}});
        if (ok)
            ok = sysOptExec(q,
                QStringLiteral("update SysInfo Set F_iAmount = :iAmount,F_iPrice = :iPrice, F_iTotal = "
                               ":iTotal, F_b1 = :b1,F_b2 = :b2,F_b3 = :b3,F_b4 = :b4, F_iMode = :iMode "),
                {{QStringLiteral("iAmount"), o.iAmount}, {QStringLiteral("iPrice"), o.iPrice},
                    {QStringLiteral("iTotal"), o.iTotal}, {QStringLiteral("b1"), o.negativeStock ? 1 : 0},
                    {QStringLiteral("b2"), o.autoGoodsCode ? 1 : 0}, {QStringLiteral("b3"), o.lastPrice ? 1 : 0},
                    {QStringLiteral("b4"), o.lastPriceClient ? 1 : 0}, {QStringLiteral("iMode"), o.costingMode}});
        if (ok && q.numRowsAffected() == 0)
            ok = sysOptExec(q,
                QStringLiteral("insert into SysInfo (F_Code, F_iAmount, F_iPrice, F_iTotal, F_b1, F_b2, "
                               "F_b3, F_b4, F_iMode) values ('', :iAmount, :iPrice, :iTotal, :b1, :b2, "
                               ":b3, :b4, :iMode)"),
                {{QStringLiteral("iAmount"), o.iAmount}, {QStringLiteral("iPrice"), o.iPrice},
                    {QStringLiteral("iTotal"), o.iTotal}, {QStringLiteral("b1"), o.negativeStock ? 1 : 0},
                    {QStringLiteral("b2"), o.autoGoodsCode ? 1 : 0}, {QStringLiteral("b3"), o.lastPrice ? 1 : 0},
                    {QStringLiteral("b4"), o.lastPriceClient ? 1 : 0}, {QStringLiteral("iMode"), o.costingMode}});
        if (!ok || !tx.commit()) {
            ShowMess(saveFailText(), Messenger::Error);
            return false;
        }
    }
    const int backup = current.backupSchedule;
    current = o;
    current.backupSchedule = backup; // owned by the backup window, not by these options
    for (int n = 0; n < 11; ++n) {
        session.zfCaptions[n] = captions[n];
        session.zfShown[n] = shown[n];
    }
    if (config) {
        if (!config->writeInteger(kSysOptionsConfigSection, QStringLiteral("iprintNum"), o.printNum)
            || !config->writeBool(kSysOptionsConfigSection, QStringLiteral("bTM"), o.barcodeInput)) {
            ShowMess(QStringLiteral("配置文件写入失败：") + config->errorString(), Messenger::Error);
            return false;
        }
    }
    return true;
}

bool SysOptionsService::loadCompany(Company& c)
{
    QSqlQuery q(dm().db());
    if (!dm().OpenQry(q,
            QStringLiteral("Select F_Code,F_Name,F_Manager,F_Phone,F_HandPhone,F_HomePage,F_Email,"
                           "F_Enroler,F_Mem from SysInfo order by F_ID")))
        return false;
    c = Company();
    if (!q.next())
        return true;
    c.code = q.value(0).toString();
    c.name = q.value(1).toString();
    c.manager = q.value(2).toString();
    c.phone = q.value(3).toString();
    c.handPhone = q.value(4).toString();
    c.homepage = q.value(5).toString();
    c.email = q.value(6).toString();
    c.enroler = q.value(7).toString();
    c.mem = q.value(8).toString();
    return true;
}

bool SysOptionsService::saveCompany(const Company& c)
{
    const SqlParams p = {{QStringLiteral("code"), c.code.trimmed()}, {QStringLiteral("name"), c.name.trimmed()},
        {QStringLiteral("manager"), c.manager.trimmed()}, {QStringLiteral("phone"), c.phone.trimmed()},
        {QStringLiteral("hand"), c.handPhone.trimmed()}, {QStringLiteral("home"), c.homepage.trimmed()},
        {QStringLiteral("email"), c.email.trimmed()}, {QStringLiteral("enroler"), c.enroler.trimmed()},
        {QStringLiteral("mem"), c.mem.trimmed()}};
    Transaction tx(dm().connection());
    QSqlQuery q(dm().db());
    bool ok = tx.isActive()
        && sysOptExec(q,
            QStringLiteral("Update SysInfo Set F_Code = :code,F_Name = :name,F_Manager = :manager,F_Phone = "
                           ":phone,F_HandPhone = :hand,F_HomePage = :home,F_Email = :email,F_Enroler = "
                           ":enroler,F_Mem = :mem "),
            p);
    if (ok && q.numRowsAffected() == 0)
        ok = sysOptExec(q,
            QStringLiteral("insert into SysInfo (F_Code,F_Name,F_Manager,F_Phone,F_HandPhone,F_HomePage,"
                           "F_Email,F_Enroler,F_Mem,F_iAmount,F_iPrice,F_iTotal,F_b1,F_b2,F_b3,F_b4,"
                           "F_iMode) values (:code,:name,:manager,:phone,:hand,:home,:email,:enroler,:mem,"
                           "2,2,2,0,0,0,0,1)"),
            p);
    if (!ok || !tx.commit()) {
        ShowMess(DataModule::execFailText(), Messenger::Error);
        return false;
    }
    return true;
}

bool SysOptionsService::exitBackupDue(int schedule, const QDate& today)
{
    switch (schedule) {
    case 1:
        return true;
    case 2:
        return today.dayOfWeek() == Qt::Monday;
    case 3:
        return today.day() == 1;
    default:
        return false;
    }
}
