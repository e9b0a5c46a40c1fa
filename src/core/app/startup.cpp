#include "startup.h"

#include "data/datamodule.h"
#include "inifile.h"
#include "messenger.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString Startup::configPath(const QStringList& arguments, const QString& programDir)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--config") && i + 1 < arguments.size())
            return QFileInfo(arguments[i + 1]).absoluteFilePath();
        if (a.startsWith(QLatin1String("--config=")))
            return QFileInfo(a.mid(9)).absoluteFilePath();
    }
    const QString env = qEnvironmentVariable("KELMORA_CONFIG");
    if (!env.isEmpty())
        return QFileInfo(env).absoluteFilePath();
    return QDir(programDir).absoluteFilePath(QStringLiteral("Config.ini"));
}

Startup::Result Startup::connect(DataModule& dm, const QString& configPath, const SplashText& splash)
{
    IniFile probe(configPath);
    if (!probe.readable()) {
        ShowMess(configErrorText(), Messenger::Warning);
        return ConfigError;
    }
    if (splash)
        splash(firstText());
    // A blank database name goes straight to the failure path.
    if (ConnectionSettings::fromIni(probe).database.trimmed().isEmpty())
        return ConnectFailed;
    if (splash)
        splash(connectingText());
    if (!dm.connectFromConfig(configPath))
        return ConnectFailed;
    if (splash)
        splash(connectedText3());
    return Connected;
}

bool Startup::offerSetup(const Launcher& launcher)
{
    if (ShowMess(setupQuestion(), Messenger::Question) != Messenger::Yes)
        return false;
    return launcher ? launcher(QStringLiteral("tavrin")) : false;
}

QString Startup::setupProgram(const QString& programDir)
{
    const QString beside = QDir(programDir).absoluteFilePath(QStringLiteral("tavrin"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("tavrin"));
}
