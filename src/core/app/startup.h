#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class DataModule;

// The program's start-up: where Config.ini is, connecting the data module,
// and the failure path that offers the setup program. Shows nothing itself: the
// splash label and the program launcher are given by the caller.
class Startup
{
public:
    using SplashText = std::function<void(const QString&)>;
    using Launcher = std::function<bool(const QString& program)>;

    static QString connectingText() { return QStringLiteral("正在连接数据库 ....."); }
    static QString connectedText3() { return QStringLiteral("连接成功，正在登录 ..."); }
    static QString connectedText5() { return QStringLiteral("连接成功，正在登录 ....."); }
    static QString firstText() { return QStringLiteral("系统正在启动，请稍候 ....."); }
    static QString configErrorText() { return QStringLiteral("配置文件不存在或出错，请先配置系统！"); }
    static QString setupQuestion() { return QStringLiteral("数据连接失败，是否要安装配置数据库？"); }
    static QString applicationTitle() { return QStringLiteral("Kelmora仓库管理软件(网络版)"); }

    // --config FILE, then KELMORA_CONFIG, then Config.ini in the program's folder.
    static QString configPath(const QStringList& arguments, const QString& programDir);

    enum Result { Connected, ConfigError, ConnectFailed };
    // Steps 4.1 to 4.9: reads the configuration and connects; reports the splash
    // texts as it goes. A blank database name fails without trying to connect.
    static Result connect(DataModule& dm, const QString& configPath, const SplashText& splash);

    // The failure path: asks the setup question and, on yes, starts the setup
    // program without waiting. Returns true when it was started.
    static bool offerSetup(const Launcher& launcher);
    // The setup program: beside this program first, then on PATH.
    static QString setupProgram(const QString& programDir);
};
