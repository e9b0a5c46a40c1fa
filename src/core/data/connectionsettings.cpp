#include "connectionsettings.h"

#include "app/inifile.h"

#include <QDir>
#include <QFileInfo>

bool ConnectionSettings::isEmbeddedServer(const QString& server)
{
    const QString s = server.trimmed();
    return s.isEmpty() || s.compare(QLatin1String("(Local)"), Qt::CaseInsensitive) == 0;
}

QString ConnectionSettings::describe() const
{
    if (backend == SQLite)
        return sqlitePath;
    return host + QLatin1Char(':') + QString::number(port) + QLatin1Char('/') + database;
}

ConnectionSettings ConnectionSettings::fromIni(const IniFile& ini)
{
    ConnectionSettings s;
    const QString section = QStringLiteral("DBconn");
    s.password = ini.readString(section, QStringLiteral("password"));
    s.database = ini.readString(section, QStringLiteral("Database"), QStringLiteral("klSQLdept"));
    s.server = ini.readString(section, QStringLiteral("server"), QStringLiteral("(Local)"));
    s.user = ini.readString(section, QStringLiteral("user"), QStringLiteral("sa"));
    if (s.user.trimmed().isEmpty())
        s.user = QStringLiteral("sa");
    if (isEmbeddedServer(s.server)) {
        s.backend = SQLite;
        const QString db = s.database.trimmed();
        if (!db.isEmpty()) {
            const QDir dir = QFileInfo(ini.path()).absoluteDir();
            const bool bare
                = !db.contains(QLatin1Char('/')) && !db.contains(QLatin1Char('\\')) && !db.contains(QLatin1Char('.'));
            s.sqlitePath = bare ? dir.absoluteFilePath(db + QLatin1String(".db")) : dir.absoluteFilePath(db);
        }
    } else {
        s.backend = PostgreSQL;
        QString host = s.server.trimmed();
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        s.port = ini.readInteger(section, QStringLiteral("port"), 5432);
        if (colon > 0) {
            bool ok = false;
            const int p = host.mid(colon + 1).toInt(&ok);
            if (ok)
                s.port = p;
            host.truncate(colon);
        }
        s.host = host;
    }
    return s;
}

ConnectionSettings ConnectionSettings::fromKeyValues(const QString& text, const QString& database)
{
    ConnectionSettings s;
    s.backend = PostgreSQL;
    s.host = QStringLiteral("127.0.0.1");
    s.user = QStringLiteral("postgres");
    s.database = database;
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString k = part.left(eq).trimmed().toLower();
        const QString v = part.mid(eq + 1).trimmed();
        if (k == QLatin1String("host"))
            s.host = v;
        else if (k == QLatin1String("port"))
            s.port = v.toInt();
        else if (k == QLatin1String("user"))
            s.user = v;
        else if (k == QLatin1String("password"))
            s.password = v;
    }
    s.server = s.host + QLatin1Char(':') + QString::number(s.port);
    return s;
}
