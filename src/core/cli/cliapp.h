#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// kelmora-cli: the headless commands over the core, for administrators' scripts.
// Results go to `out`, messages to `err`. Exit status: 0 done, 1 usage,
// 2 refused (shortfall, not found, audited, wrong operator or right), 3 database error.
class CliApp
{
public:
    enum Status { Ok = 0, Usage = 1, Refused = 2, DbError = 3 };

    CliApp(QTextStream& out, QTextStream& err);
    // args without the program name. programDir locates the default Config.ini;
    // stdinText is what "post -" (or post without a file) reads.
    int run(const QStringList& args, const QString& programDir, const QString& stdinText = {});

    static QString usage();
    // Plain decimal, as every number is printed.
    static QString number(double v);

private:
    int dispatch(const QString& command, const QStringList& rest, const QString& stdinText);
    int cmdStock(const QStringList& a);
    int cmdCost(const QStringList& a);
    int cmdLastPrice(const QStringList& a);
    int cmdNextCode(const QStringList& a);
    int cmdPost(const QStringList& a, const QString& stdinText);
    int cmdAudit(const QStringList& a, int which);
    int cmdOptions(const QStringList& a);
    int fail(int status, const QString& text);
    bool loadOptions(QString* error);
    bool needAction(int actionCode);

    QTextStream& m_out;
    QTextStream& m_err;
    bool m_yes = false;
};
