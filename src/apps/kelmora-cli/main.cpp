#include "cli/cliapp.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    // "post" reads its document from standard input unless a file is named.
    QString input;
    const int post = int(args.indexOf(QStringLiteral("post")));
    if (post >= 0) {
        const QStringList after = args.mid(post + 1);
        bool fileGiven = false;
        for (const QString& a : after)
            if (!a.startsWith(QLatin1String("--")) && a != QLatin1String("-"))
                fileGiven = true;
        if (!fileGiven) {
            QFile in;
            if (in.open(stdin, QIODevice::ReadOnly))
                input = QString::fromUtf8(in.readAll());
        }
    }
    CliApp cli(out, err);
    const int status = cli.run(args, QCoreApplication::applicationDirPath(), input);
    out.flush();
    err.flush();
    return status;
}
