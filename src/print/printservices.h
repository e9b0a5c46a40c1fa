#pragma once

#include "reportdataset.h"
#include "reportengine.h"
#include "reporttemplate.h"

#include <QDate>
#include <QString>

// The print and design services the windows call: templates are files in Qr/
// beside the program (name + ".fr3"), loaded anew for every call.
namespace PrintServices {
// Qr/ beside the program; KELMORA_QR_DIR or setTemplateFolder() override it (tests).
QString templateFolder();
void setTemplateFolder(const QString& folder); // empty: back to the default
// The file of a template name; a name that already ends in .fr3 or .frf keeps it.
QString templateFileName(const QString& name);
QString variableCategory(); // "自定义变量"

// The data module's value source: PageMaxRow (iPrintNum) and sCurKHname (company title).
ReportValueSource dataModuleValueSource();

// Loads a template; a missing or unreadable file is reported (naming the file) and gives false.
bool loadTemplate(const QString& name, ReportTemplate& out);

// The engine a document print would show, without showing it. False when the
// template cannot be loaded.
bool documentEngine(const QString& name, const ReportDataSet& header, const ReportDataSet& lines, ReportEngine& engine);
// Document print: nothing on an empty header; else the preview with the data
// module's value source. True when the preview was shown.
bool documentPrint(const QString& name, const ReportDataSet& header, const ReportDataSet& lines);
// Document designer: the variables PageMaxRow (5) and sCurKHname (empty) in the
// category "自定义变量"; a missing template starts from a blank page.
bool documentDesign(const QString& name, const ReportDataSet& header, const ReportDataSet& lines);

// Report print with the calling window's value source: nothing on an empty result.
bool reportEngine(
    const QString& name, const ReportDataSet& result, const ReportValueSource& source, ReportEngine& engine);
bool reportPrint(const QString& name, const ReportDataSet& result, const ReportValueSource& source);
// Report designer: sCurKHname, memoDate and memoCaption (all empty) in "自定义变量".
bool reportDesign(const QString& name, const ReportDataSet& result, const ReportValueSource& source);

// "统计日期：自 " + from + " 至 " + to, each date as yyyy年MM月dd日 when ticked.
QString dateRangeText(bool fromTicked, const QDate& from, bool toTicked, const QDate& to);
} // namespace PrintServices
