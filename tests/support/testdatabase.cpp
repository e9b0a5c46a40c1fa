#include "testdatabase.h"

#include "app/inifile.h"
#include "data/connection.h"
#include "data/databasesetup.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>

namespace {
QAtomicInt g_seq;
}

bool TestDatabase::wantPostgres()
{
    return qgetenv("KELMORA_TEST_BACKEND") == "pg";
}

ConnectionSettings TestDatabase::freshSettings(const QString& dir)
{
    const QString name = QStringLiteral("kt_%1_%2_%3")
                             .arg(QCoreApplication::applicationPid())
                             .arg(g_seq.fetchAndAddRelaxed(1))
                             .arg(QRandomGenerator::global()->bounded(100000));
    if (wantPostgres())
        return ConnectionSettings::fromKeyValues(QString::fromLocal8Bit(qgetenv("KELMORA_TEST_PG")), name);
    ConnectionSettings s;
    s.backend = ConnectionSettings::SQLite;
    s.server = QStringLiteral("(Local)");
    s.database = name;
    s.sqlitePath = QDir(dir).absoluteFilePath(name + QStringLiteral(".db"));
    return s;
}

TestDatabase::TestDatabase(bool demo)
{
    if (wantPostgres() && qEnvironmentVariableIsEmpty("KELMORA_TEST_PG")) {
        m_error = QStringLiteral("KELMORA_TEST_PG is not set");
        return;
    }
    m_settings = freshSettings(m_dir.path());
    DatabaseSetup setup;
    DatabaseSetup::Options o;
    o.demo = demo;
    if (!setup.create(m_settings, o)) {
        m_error = setup.errorString();
        return;
    }
    m_dm = std::make_unique<DataModule>();
    if (!m_dm->connect(m_settings)) {
        m_error = m_dm->errorString();
        return;
    }
    DataModule::setInstance(m_dm.get());
    m_ok = true;
}

TestDatabase::~TestDatabase()
{
    if (DataModule::instance() == m_dm.get())
        DataModule::setInstance(nullptr);
    if (m_dm)
        m_dm->disconnect();
    m_dm.reset();
    if (m_ok && m_settings.isPostgres()) {
        ConnectionSettings admin = m_settings;
        admin.database = QStringLiteral("postgres");
        Connection a;
        if (a.open(admin))
            a.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
    }
}

QString TestDatabase::configPath() const
{
    const QString path = QDir(m_dir.path()).absoluteFilePath(QStringLiteral("Config.ini"));
    if (!QFile::exists(path)) {
        IniFile ini(path);
        if (m_settings.isPostgres()) {
            ini.writeString(QStringLiteral("DBconn"), QStringLiteral("server"),
                m_settings.host + QLatin1Char(':') + QString::number(m_settings.port));
            ini.writeString(QStringLiteral("DBconn"), QStringLiteral("user"), m_settings.user);
            ini.writeString(QStringLiteral("DBconn"), QStringLiteral("password"), m_settings.password);
        } else {
            ini.writeString(QStringLiteral("DBconn"), QStringLiteral("server"), QStringLiteral("(Local)"));
        }
        ini.writeString(QStringLiteral("DBconn"), QStringLiteral("Database"),
            m_settings.isPostgres() ? m_settings.database : m_settings.sqlitePath);
    }
    return path;
}

std::unique_ptr<Connection> TestDatabase::openAnother() const
{
    auto c = std::make_unique<Connection>();
    if (!c->open(m_settings))
        return nullptr;
    return c;
}
