#include "app/application.h"
#include "app/frmmain.h"
#include "app/frmoperlogin.h"
#include "app/frmsplash.h"
#include "app/messageboxmessenger.h"
#include "app/startup.h"
#include "data/datamodule.h"

#include <QApplication>
#include <QProcess>
#include <QThread>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    KelmoraApplication::setup(app);
    MessageBoxMessenger messenger;
    Messenger::setInstance(&messenger);

    auto* splash = new TfrmSplash;
    splash->show();
    splash->setText(Startup::firstText());
    QApplication::setApplicationName(Startup::applicationTitle());

    DataModule dm;
    DataModule::setInstance(&dm);
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString configPath = Startup::configPath(QCoreApplication::arguments(), programDir);
    const Startup::Result r
        = Startup::connect(dm, configPath, [splash](const QString& text) { splash->setText(text); });
    if (r != Startup::Connected) {
        delete splash;
        if (r == Startup::ConnectFailed) {
            Startup::offerSetup([&programDir](const QString&) {
                const QString program = Startup::setupProgram(programDir);
                return !program.isEmpty() && QProcess::startDetached(program, {});
            });
        }
        return 1;
    }

    splash->setText(Startup::connectedText5());
    auto* main = new TFrmMain;
    splash->setText(Startup::connectedText3());
    QThread::msleep(20);
    splash->setText(Startup::connectedText5());
    delete splash;

    // A login that fails or is cancelled at start-up ends the program.
    if (!TfrmOperLogin::Run(TfrmOperLogin::StartupMode)) {
        delete main;
        return 0;
    }
    main->show();
    const int rc = app.exec();
    delete main;
    return rc;
}
