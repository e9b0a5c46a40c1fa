#include "printservices.h"

#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "reportfunctions.h"
#include "reportpresenter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace PrintServices {
namespace {
QString& folderOverride()
{
    static QString folder;
    return folder;
}

bool servicesLoadForDesign(const QString& name, ReportTemplate& tpl)
{
    const QString file = templateFileName(name);
    if (!QFileInfo::exists(file)) {
        // "设置" on a missing template starts a new one; saving creates the file.
        tpl = ReportTemplate::blank(name);
        return true;
    }
    return loadTemplate(name, tpl);
}
} // namespace

QString templateFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    const QString env = qEnvironmentVariable("KELMORA_QR_DIR");
    if (!env.isEmpty())
        return env;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Qr"));
}

void setTemplateFolder(const QString& folder)
{
    folderOverride() = folder;
}

QString templateFileName(const QString& name)
{
    QString file = name;
    if (!file.endsWith(QLatin1String(".fr3"), Qt::CaseInsensitive)
        && !file.endsWith(QLatin1String(".frf"), Qt::CaseInsensitive))
        file += QStringLiteral(".fr3");
    // Callers may pass "\Qr\name.frf"-style names; only the file name counts.
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    file = file.section(QLatin1Char('/'), -1);
    return QDir(templateFolder()).filePath(file);
}

QString variableCategory()
{
    return QStringLiteral("自定义变量");
}

ReportValueSource dataModuleValueSource()
{
    return [](const QString& name) -> std::optional<QVariant> {
        if (name.compare(QLatin1String("PageMaxRow"), Qt::CaseInsensitive) == 0)
            return QVariant(SysOptions::current().printNum);
        if (name.compare(QLatin1String("sCurKHname"), Qt::CaseInsensitive) == 0)
            return QVariant(Session::current().companyTitle);
        return std::nullopt;
    };
}

bool loadTemplate(const QString& name, ReportTemplate& out)
{
    const QString file = templateFileName(name);
    if (!QFileInfo::exists(file)) {
        ShowMess(QStringLiteral("找不到打印模板文件：%1").arg(QDir::toNativeSeparators(file)), Messenger::Warning);
        return false;
    }
    QString error;
    if (!out.load(file, &error)) {
        ShowMess(QStringLiteral("打印模板文件无法读取：%1\n%2").arg(QDir::toNativeSeparators(file), error),
            Messenger::Error);
        return false;
    }
    if (out.name.isEmpty())
        out.name = name;
    return true;
}

bool documentEngine(const QString& name, const ReportDataSet& header, const ReportDataSet& lines, ReportEngine& engine)
{
    ReportTemplate tpl;
    if (!loadTemplate(name, tpl))
        return false;
    ReportFunctions::registerStandard();
    engine = ReportEngine(tpl);
    engine.setDataSet(ReportEngine::masterName(), header);
    engine.setDataSet(ReportEngine::detailName(), lines);
    engine.setValueSource(dataModuleValueSource());
    return true;
}

bool documentPrint(const QString& name, const ReportDataSet& header, const ReportDataSet& lines)
{
    if (header.isEmpty())
        return false;
    ReportEngine engine;
    if (!documentEngine(name, header, lines, engine))
        return false;
    if (ReportPresenter* p = ReportPresenter::instance()) {
        p->preview(engine);
        return true;
    }
    return false;
}

bool documentDesign(const QString& name, const ReportDataSet& header, const ReportDataSet& lines)
{
    ReportTemplate tpl;
    if (!servicesLoadForDesign(name, tpl))
        return false;
    tpl.variables.clear();
    tpl.setVariable(variableCategory(), QStringLiteral("PageMaxRow"), QStringLiteral("5"));
    tpl.setVariable(variableCategory(), QStringLiteral("sCurKHname"), QString());
    ReportFunctions::registerStandard();
    ReportEngine engine(tpl);
    engine.setDataSet(ReportEngine::masterName(), header);
    engine.setDataSet(ReportEngine::detailName(), lines);
    engine.setValueSource(dataModuleValueSource());
    if (ReportPresenter* p = ReportPresenter::instance()) {
        p->design(engine, templateFileName(name));
        return true;
    }
    return false;
}

bool reportEngine(
    const QString& name, const ReportDataSet& result, const ReportValueSource& source, ReportEngine& engine)
{
    ReportTemplate tpl;
    if (!loadTemplate(name, tpl))
        return false;
    ReportFunctions::registerStandard();
    engine = ReportEngine(tpl);
    engine.setDataSet(ReportEngine::masterName(), result);
    engine.setValueSource(source);
    return true;
}

bool reportPrint(const QString& name, const ReportDataSet& result, const ReportValueSource& source)
{
    if (result.isEmpty())
        return false;
    ReportEngine engine;
    if (!reportEngine(name, result, source, engine))
        return false;
    if (ReportPresenter* p = ReportPresenter::instance()) {
        p->preview(engine);
        return true;
    }
    return false;
}

bool reportDesign(const QString& name, const ReportDataSet& result, const ReportValueSource& source)
{
    ReportTemplate tpl;
    if (!servicesLoadForDesign(name, tpl))
        return false;
    tpl.variables.clear();
    for (const char* v : {"sCurKHname", "memoDate", "memoCaption"})
        tpl.setVariable(variableCategory(), QString::fromLatin1(v), QString());
    ReportFunctions::registerStandard();
    ReportEngine engine(tpl);
    engine.setDataSet(ReportEngine::masterName(), result);
    engine.setValueSource(source);
    if (ReportPresenter* p = ReportPresenter::instance()) {
        p->design(engine, templateFileName(name));
        return true;
    }
    return false;
}

QString dateRangeText(bool fromTicked, const QDate& from, bool toTicked, const QDate& to)
{
    const QString fmt = QStringLiteral("yyyy年MM月dd日");
    return QStringLiteral("统计日期：自 ") + (fromTicked ? from.toString(fmt) : QStringLiteral("启用系统"))
        + QStringLiteral(" 至 ") + (toTicked ? to.toString(fmt) : QStringLiteral("记帐最后一天"));
}
} // namespace PrintServices
