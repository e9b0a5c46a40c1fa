#include "application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace KelmoraApplication {
void setup(QApplication& app)
{
    // Song-style text maps to AR PL UMing, which extracts cleanly from PDFs.
    const QStringList song
        = {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"), QStringLiteral("WenQuanYi Micro Hei")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("新宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("NSimSun"), song);
    const QStringList sans = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("AR PL UMing CN")};
    QFont::insertSubstitutions(QStringLiteral("黑体"), sans);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), sans);
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), sans);
    QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei"), sans);
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
