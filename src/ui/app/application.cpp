#include "application.h"

#include "printui/printpresenter.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace KelmoraApplication {
void setup(QApplication& app)
{
    // 宋体 and the other Windows names map to installed fonts; the print services
    // get their preview, designer and MoneyMinToBig.
    PrintPresenter::install();
    QFont base(QStringLiteral("WenQuanYi Micro Hei"));
    base.setPointSize(10);
    app.setFont(base);

    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qtbase_zh_CN"), QStringLiteral("qt_zh_CN")}) {
        auto* t = new QTranslator(&app);
        if (t->load(name, dir))
            app.installTranslator(t);
        else
            delete t;
    }
    app.setApplicationDisplayName(QString());
    app.setApplicationName(QStringLiteral("Kelmora"));
}
} // namespace KelmoraApplication
