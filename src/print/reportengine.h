#pragma once

#include "preparedreport.h"
#include "reportdataset.h"
#include "reporttemplate.h"

#include <QHash>
#include <QVariant>
#include <functional>
#include <optional>

// Answers a variable name with a value, or nothing when it does not know the
// name (the template's stored value is used then).
using ReportValueSource = std::function<std::optional<QVariant>(const QString& name)>;

// The banded report engine: a template, the two data sets frxDM (main data) and
// frxDD (lines), a value source; prepare() lays out the pages.
class ReportEngine
{
public:
    static QString masterName() { return QStringLiteral("frxDM"); }
    static QString detailName() { return QStringLiteral("frxDD"); }

    ReportEngine() = default;
    explicit ReportEngine(const ReportTemplate& tpl)
        : m_template(tpl)
    { }

    ReportTemplate& reportTemplate() { return m_template; }
    const ReportTemplate& reportTemplate() const { return m_template; }
    void setTemplate(const ReportTemplate& tpl) { m_template = tpl; }

    void setDataSet(const QString& name, const ReportDataSet& data);
    void removeDataSet(const QString& name);
    bool hasDataSet(const QString& name) const;
    const ReportDataSet* dataSet(const QString& name) const;
    QStringList dataSetNames() const;

    void setValueSource(const ReportValueSource& source) { m_valueSource = source; }
    const ReportValueSource& valueSource() const { return m_valueSource; }

    // Lays out every page. Expressions that fail print empty and are listed in errors.
    PreparedReport prepare() const;

private:
    ReportTemplate m_template;
    QList<QPair<QString, ReportDataSet>> m_dataSets;
    ReportValueSource m_valueSource;
};
