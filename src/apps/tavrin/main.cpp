#include "app/application.h"
#include "app/inifile.h"
#include "app/messageboxmessenger.h"
#include "data/databasesetup.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCommandLineParser>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

namespace {
struct Request
{
    QString configPath;
    QString server;
    QString database;
    QString user;
    QString password;
    bool demo = false;
    bool force = false;
};

ConnectionSettings settingsFor(const Request& r)
{
    ConnectionSettings s;
    s.server = r.server;
    s.database = r.database;
    s.password = r.password;
    if (!r.user.isEmpty())
        s.user = r.user;
    if (ConnectionSettings::isEmbeddedServer(r.server)) {
        s.backend = ConnectionSettings::SQLite;
        const QDir dir = QFileInfo(r.configPath).absoluteDir();
        const QString db = r.database.trimmed();
        const bool bare = !db.contains(QLatin1Char('/')) && !db.contains(QLatin1Char('.'));
        s.sqlitePath = bare ? dir.absoluteFilePath(db + QStringLiteral(".db")) : dir.absoluteFilePath(db);
    } else {
        s.backend = ConnectionSettings::PostgreSQL;
        QString host = r.server.trimmed();
        const int colon = host.lastIndexOf(QLatin1Char(':'));
        if (colon > 0) {
            s.port = host.mid(colon + 1).toInt();
            host.truncate(colon);
        }
        s.host = host;
    }
    return s;
}

// Creates the database and writes Config.ini; returns a message for the user.
bool perform(const Request& r, QString* message)
{
    const QFileInfo cfg(r.configPath);
    if (!QDir().mkpath(cfg.absolutePath())) {
        *message = QStringLiteral("cannot create the folder %1").arg(cfg.absolutePath());
        return false;
    }
    DatabaseSetup setup;
    DatabaseSetup::Options o;
    o.demo = r.demo;
    o.force = r.force;
    const ConnectionSettings s = settingsFor(r);
    if (!setup.create(s, o)) {
        *message = setup.errorString();
        return false;
    }
    IniFile ini(r.configPath);
    const QString sec = QStringLiteral("DBconn");
    bool ok = ini.writeString(sec, QStringLiteral("server"), r.server.isEmpty() ? QStringLiteral("(Local)") : r.server);
    ok = ok && ini.writeString(sec, QStringLiteral("Database"), r.database);
    ok = ok && ini.writeString(sec, QStringLiteral("password"), r.password);
    if (!r.user.isEmpty())
        ok = ok && ini.writeString(sec, QStringLiteral("user"), r.user);
    if (!ok) {
        *message = QStringLiteral("%1; but %2 could not be written: %3")
                       .arg(setup.summary(), r.configPath, ini.errorString());
        return false;
    }
    *message = setup.summary() + QStringLiteral("; configuration written to ") + cfg.absoluteFilePath();
    return true;
}

int runDialog(const QString& configPath)
{
    QDialog dlg;
    dlg.setObjectName(QStringLiteral("frmTavrin"));
    dlg.setWindowTitle(QStringLiteral("Kelmora 数据库安装配置"));
    auto* layout = new QVBoxLayout(&dlg);
    auto* embedded = new QRadioButton(QStringLiteral("本机内置数据库 (SQLite)"), &dlg);
    auto* server = new QRadioButton(QStringLiteral("网络数据库服务器 (PostgreSQL)"), &dlg);
    embedded->setChecked(true);
    layout->addWidget(embedded);
    layout->addWidget(server);
    auto* form = new QFormLayout;
    auto* edServer = new QLineEdit(QStringLiteral("127.0.0.1:5432"), &dlg);
    auto* edDatabase = new QLineEdit(QStringLiteral("klSQLdept"), &dlg);
    auto* edUser = new QLineEdit(QStringLiteral("sa"), &dlg);
    auto* edPassword = new QLineEdit(&dlg);
    edPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("服务器："), edServer);
    form->addRow(QStringLiteral("数据库："), edDatabase);
    form->addRow(QStringLiteral("用户名："), edUser);
    form->addRow(QStringLiteral("密  码："), edPassword);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(&dlg);
    QPushButton* create = buttons->addButton(QStringLiteral("创建"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    auto sync = [&] {
        const bool srv = server->isChecked();
        edServer->setEnabled(srv);
        edUser->setEnabled(srv);
        edPassword->setEnabled(srv);
    };
    QObject::connect(server, &QRadioButton::toggled, &dlg, sync);
    sync();
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    QObject::connect(create, &QPushButton::clicked, &dlg, [&] {
        Request r;
        r.configPath = configPath;
        r.server = server->isChecked() ? edServer->text().trimmed() : QStringLiteral("(Local)");
        r.database = edDatabase->text().trimmed();
        r.user = server->isChecked() ? edUser->text().trimmed() : QString();
        r.password = server->isChecked() ? edPassword->text() : QString();
        if (r.database.isEmpty()) {
            QMessageBox::warning(&dlg, QStringLiteral("系统提示"), QStringLiteral("请输入数据库名称！"));
            return;
        }
        QString msg;
        if (!perform(r, &msg)) {
            QMessageBox::critical(&dlg, QStringLiteral("系统提示"), QStringLiteral("创建数据库失败：\n") + msg);
            return;
        }
        QMessageBox::information(&dlg, QStringLiteral("系统提示"), QStringLiteral("数据库创建成功！\n") + msg);
        dlg.accept();
    });
    return dlg.exec() == QDialog::Accepted ? 0 : 1;
}
} // namespace

int main(int argc, char* argv[])
{
    // Scripted use needs no display.
    bool scripted = false;
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]).startsWith("--"))
            scripted = true;
    if (scripted && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    KelmoraApplication::setup(app);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Creates a Kelmora database and its Config.ini."));
    parser.addHelpOption();
    const QCommandLineOption oConfig(
        QStringLiteral("config"), QStringLiteral("Config.ini to write."), QStringLiteral("FILE"));
    const QCommandLineOption oServer(QStringLiteral("server"),
        QStringLiteral("(Local) for the embedded database, or host[:port] of PostgreSQL."), QStringLiteral("S"),
        QStringLiteral("(Local)"));
    const QCommandLineOption oDatabase(QStringLiteral("database"),
        QStringLiteral("File path or bare name (embedded), database name (server)."), QStringLiteral("D"));
    const QCommandLineOption oUser(
        QStringLiteral("user"), QStringLiteral("Server user (default sa)."), QStringLiteral("U"));
    const QCommandLineOption oPassword(
        QStringLiteral("password"), QStringLiteral("Server password."), QStringLiteral("P"));
    const QCommandLineOption oDemo(QStringLiteral("demo"), QStringLiteral("Add the demo data set."));
    const QCommandLineOption oForce(QStringLiteral("force"), QStringLiteral("Replace an existing database."));
    parser.addOptions({oConfig, oServer, oDatabase, oUser, oPassword, oDemo, oForce});
    parser.process(app);

    const QString programDir = QCoreApplication::applicationDirPath();
    QString configPath = parser.isSet(oConfig) ? parser.value(oConfig)
                                               : QDir(programDir).absoluteFilePath(QStringLiteral("Config.ini"));
    configPath = QFileInfo(configPath).absoluteFilePath();
    if (!scripted) {
        MessageBoxMessenger m;
        Messenger::setInstance(&m);
        return runDialog(configPath);
    }
    Request r;
    r.configPath = configPath;
    r.server = parser.value(oServer);
    r.database = parser.isSet(oDatabase) ? parser.value(oDatabase) : QStringLiteral("klSQLdept");
    r.user = parser.value(oUser);
    r.password = parser.value(oPassword);
    r.demo = parser.isSet(oDemo);
    r.force = parser.isSet(oForce);
    QString msg;
    if (!perform(r, &msg)) {
        std::fprintf(stderr, "tavrin: %s\n", msg.toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s\n", msg.toLocal8Bit().constData());
    return 0;
}
