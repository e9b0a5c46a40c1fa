#pragma once

#include "sysoptions.h"

#include <QDate>
#include <QString>

class IniFile;
struct Session;

// Loads and saves the program-wide options (SysInfo, KeyValue and the three local
// options of Config.ini) and the company information of SysInfo.
class SysOptionsService
{
public:
    // The company information kept in the single SysInfo row.
    struct Company
    {
        QString code; // company name (F_Code)
        QString name; // address (F_Name)
        QString manager, phone, handPhone, homepage, email, enroler, mem;
    };

    // Config.ini ibak, iPrintNum, bTM (defaults 0, 5, false) and the SysInfo
    // options. A missing SysInfo row gives 0 and false. False on a database error
    // (reported), the Config.ini values are taken anyway.
    static bool load(SysOptions& options, const IniFile* config);
    // Writes the options, the eleven user-defined field captions and shown flags
    // (KeyValue rows in F_ID order) and SysInfo in one transaction, then iPrintNum
    // and bTM to Config.ini. The values in memory change only after the database
    // took them: a failed save leaves program and database agreeing.
    static bool save(const SysOptions& options, const QString (&captions)[11], const bool (&shown)[11], IniFile* config,
        SysOptions& current, Session& session);

    static bool loadCompany(Company& company);
    // Writes the company information (values trimmed); creates the SysInfo row
    // when there is none, so a save is never reported for nothing.
    static bool saveCompany(const Company& company);

    // The exit-time backup is due: schedule 1 always, 2 on Mondays, 3 on the
    // first day of a month, anything else never.
    static bool exitBackupDue(int schedule, const QDate& today);

    static QString saveFailText() { return QStringLiteral("保存失败，请检测数据库连接！"); }
};
