#include "reportengine.h"

#include "app/clock.h"
#include "reportexpression.h"
#include "reportformat.h"
#include "reportrenderer.h"

#include <QHash>
#include <QSet>

namespace {
QString engineStripBrackets(const QString& s)
{
    const QString t = s.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
        return t.mid(1, t.size() - 2);
    return t;
}

// One run of the layout. Two runs are made when a template prints the page count.
class LayoutRun : public ReportExprContext
{
public:
    LayoutRun(const ReportEngine& engine, int totalPages)
        : m_engine(engine)
        , m_tpl(engine.reportTemplate())
        , m_totalPages(totalPages)
    {
        m_out.name = m_tpl.name;
        m_out.page = m_tpl.page;
    }

    PreparedReport run()
    {
        const ReportBand* master = m_tpl.findBand(ReportBand::MasterData);
        const ReportBand* detail = m_tpl.findBand(ReportBand::DetailData);
        m_innermost = detail ? detail : master;
        startPage();
        if (master) {
            iterateData(*master, detail);
        } else if (detail) {
            setRow(ReportEngine::masterName(), 0);
            iterateData(*detail, nullptr);
        } else {
            setRow(ReportEngine::masterName(), 0);
        }
        if (const ReportBand* s = m_tpl.findBand(ReportBand::Summary)) {
            m_scope = ScopeAll;
            placeBand(*s);
        }
        finishPage();
        return m_out;
    }

    // ReportExprContext
    QVariant fieldValue(const QString& dataSet, const QString& field) override
    {
        const ReportDataSet* ds = m_engine.dataSet(dataSet);
        if (!ds) {
            reportError(QStringLiteral("未知的数据集：%1").arg(dataSet));
            return {};
        }
        const int col = ds->columnIndex(field);
        if (col < 0) {
            reportError(QStringLiteral("未知的字段：%1.%2").arg(dataSet, field));
            return {};
        }
        if (m_blank)
            return {};
        return ds->value(row(dataSet), col);
    }

    QVariant nameValue(const QString& name) override
    {
        if (name.compare(QLatin1String("Page"), Qt::CaseInsensitive) == 0)
            return m_pageNo;
        if (name.compare(QLatin1String("TotalPages"), Qt::CaseInsensitive) == 0)
            return m_totalPages;
        if (name.compare(QLatin1String("Date"), Qt::CaseInsensitive) == 0)
            return Clock::today();
        if (name.compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0)
            return Clock::now().time().toString(QStringLiteral("hh:mm:ss"));
        if (name.compare(QLatin1String("Line"), Qt::CaseInsensitive) == 0) {
            if (m_blank || !m_innermost)
                return {};
            return row(dataSetOf(*m_innermost)) + 1;
        }
        if (m_engine.valueSource()) {
            if (const auto v = m_engine.valueSource()(name))
                return *v;
        }
        if (const ReportVariable* v = m_tpl.variable(name))
            return v->value;
        reportError(QStringLiteral("未知的变量：%1").arg(name));
        return {};
    }

    QVariant aggregate(const QString& function, const ReportExprPtr& argument) override
    {
        QString dsName = ReportExpression::firstDataSet(argument);
        if (dsName.isEmpty() && m_innermost)
            dsName = dataSetOf(*m_innermost);
        const ReportDataSet* ds = m_engine.dataSet(dsName);
        if (!ds)
            return function == QLatin1String("COUNT") ? QVariant(0) : QVariant(0.0);
        QList<int> rows;
        const QString key = dsName.toLower();
        if (m_scope == ScopePage) {
            rows = m_pageRows.value(key);
        } else if (m_scope == ScopeGroup && key == m_groupDataSet) {
            for (int r = m_groupFirst; r <= m_groupLast; ++r)
                rows << r;
        } else {
            for (int r = 0; r < ds->rowCount(); ++r)
                rows << r;
        }
        if (function == QLatin1String("COUNT") && !argument)
            return int(rows.size());
        const int saved = row(dsName);
        const bool savedBlank = m_blank;
        m_blank = false;
        double sum = 0, lo = 0, hi = 0;
        int n = 0;
        for (int r : rows) {
            setRow(dsName, r);
            const QVariant v = ReportExpression::evaluate(argument, *this);
            if (v.isNull())
                continue;
            const double d = ReportFormat::toNumber(v);
            lo = n ? qMin(lo, d) : d;
            hi = n ? qMax(hi, d) : d;
            sum += d;
            ++n;
        }
        setRow(dsName, saved);
        m_blank = savedBlank;
        if (function == QLatin1String("COUNT"))
            return n;
        if (function == QLatin1String("AVG"))
            return n ? sum / n : 0.0;
        if (function == QLatin1String("MIN"))
            return lo;
        if (function == QLatin1String("MAX"))
            return hi;
        return sum;
    }

    void reportError(const QString& message) override
    {
        if (!m_out.errors.contains(message))
            m_out.errors << message;
    }

private:
    enum Scope { ScopeAll, ScopePage, ScopeGroup };

    QString dataSetOf(const ReportBand& b) const
    {
        if (!b.dataSet.isEmpty())
            return b.dataSet;
        return b.type == ReportBand::DetailData ? ReportEngine::detailName() : ReportEngine::masterName();
    }

    int row(const QString& ds) const { return m_rows.value(ds.toLower(), 0); }
    void setRow(const QString& ds, int r) { m_rows[ds.toLower()] = r; }

    const QList<ReportTextPart>& parsed(const QString& text)
    {
        auto it = m_parsed.find(text);
        if (it == m_parsed.end()) {
            QStringList errors;
            it = m_parsed.insert(text, ReportExpression::parseText(text, &errors));
            for (const auto& e : errors)
                reportError(e);
        }
        return it.value();
    }

    ReportExprPtr parsedExpression(const QString& text)
    {
        const QString src = engineStripBrackets(text);
        auto it = m_exprs.find(src);
        if (it == m_exprs.end()) {
            QString err;
            auto e = ReportExpression::parse(src, &err);
            if (!e && !src.isEmpty())
                reportError(QStringLiteral("%1：%2").arg(src, err));
            it = m_exprs.insert(src, e);
        }
        return it.value();
    }

    QString evaluateText(const ReportObject& o)
    {
        QString s;
        for (const auto& part : parsed(o.text)) {
            if (!part.expression)
                s += part.literal;
            else
                s += ReportFormat::display(ReportExpression::evaluate(part.expression, *this), o.format);
        }
        return s;
    }

    QVariant evaluateExpression(const QString& text)
    {
        const auto e = parsedExpression(text);
        return e ? ReportExpression::evaluate(e, *this) : QVariant();
    }

    void startPage()
    {
        ++m_pageNo;
        m_out.pages.append(PreparedPage());
        m_y = m_tpl.page.marginTop;
        const ReportBand* footer = m_tpl.findBand(ReportBand::PageFooter);
        m_bottom = m_tpl.page.height() - m_tpl.page.marginBottom - (footer ? footer->height : 0);
        m_pageRows.clear();
        m_rowsOnPage.clear();
        m_fresh = true;
        const Scope savedScope = m_scope;
        if (m_pageNo == 1) {
            if (const ReportBand* title = m_tpl.findBand(ReportBand::ReportTitle)) {
                m_scope = ScopeAll;
                placeBand(*title);
                m_fresh = true;
            }
        }
        if (const ReportBand* header = m_tpl.findBand(ReportBand::PageHeader)) {
            m_scope = ScopePage;
            placeBand(*header);
            m_fresh = true;
        }
        if (m_activeHeader) {
            m_scope = ScopeAll;
            placeBand(*m_activeHeader);
            m_fresh = true;
        }
        m_scope = savedScope;
    }

    void finishPage()
    {
        if (const ReportBand* footer = m_tpl.findBand(ReportBand::PageFooter)) {
            const Scope savedScope = m_scope;
            m_scope = ScopePage;
            m_y = m_tpl.page.height() - m_tpl.page.marginBottom - footer->height;
            m_fresh = true; // never breaks
            placeBand(*footer);
            m_scope = savedScope;
        }
    }

    void newPage()
    {
        finishPage();
        startPage();
    }

    // Places a band at the current position, breaking the page first when it does
    // not fit. Returns false when a blank-filled band would need a new page.
    bool placeBand(const ReportBand& band, bool blank = false, bool mayBreak = true)
    {
        m_blank = blank;
        QList<PreparedItem> items;
        double height = band.height;
        for (const auto& o : band.objects) {
            PreparedItem it;
            it.object = o;
            it.rect = o.geometry;
            if (o.type == ReportObject::Text) {
                it.text = evaluateText(o);
                if (o.stretch) {
                    const double need = ReportRenderer::measureTextHeight(o, it.text, o.geometry.width());
                    if (need > o.geometry.height())
                        it.rect.setHeight(need);
                    height = qMax(height, o.geometry.y() + it.rect.height());
                }
            } else if (o.type == ReportObject::CheckBox) {
                const QVariant v = evaluateExpression(o.text);
                it.checked = !blank && ReportFormat::toNumber(v) != 0;
                if (!blank && v.typeId() == QMetaType::Bool)
                    it.checked = v.toBool();
            }
            items << it;
        }
        m_blank = false;
        if (!m_fresh && m_y + height > m_bottom + 0.001) {
            if (!mayBreak)
                return false;
            newPage();
            return placeBand(band, blank);
        }
        const double grow = height - band.height;
        for (auto& it : items) {
            // Stretching objects keep their distance to the band's bottom edge.
            if (it.object.stretch)
                it.rect.setHeight(qMax(it.rect.height(), it.object.geometry.height() + grow));
            it.rect.translate(m_tpl.page.marginLeft, m_y);
            m_out.pages.last().items << it;
        }
        m_y += height;
        m_fresh = false;
        return true;
    }

    const ReportBand* bandFor(ReportBand::Type type, const QString& ds) const
    {
        const ReportBand* any = nullptr;
        for (const auto& b : m_tpl.bands) {
            if (b.type != type)
                continue;
            if (b.dataSet.compare(ds, Qt::CaseInsensitive) == 0)
                return &b;
            if (b.dataSet.isEmpty() && !any)
                any = &b;
        }
        return any;
    }

    void iterateData(const ReportBand& band, const ReportBand* nested)
    {
        const QString dsName = dataSetOf(band);
        const ReportDataSet* ds = m_engine.dataSet(dsName);
        const int rowCount = ds ? ds->rowCount() : 0;
        if (!ds)
            reportError(QStringLiteral("数据集 %1 没有数据").arg(dsName));
        const bool innermost = !nested;
        const ReportBand* header = bandFor(ReportBand::DataHeader, dsName);
        const ReportBand* footer = bandFor(ReportBand::DataFooter, dsName);
        const QString key = dsName.toLower();

        // Groups belong to the innermost data band; the n-th footer closes the n-th header.
        QList<const ReportBand*> groupHeaders, groupFooters;
        if (innermost) {
            for (const auto& b : m_tpl.bands) {
                if (b.type == ReportBand::GroupHeader)
                    groupHeaders << &b;
                else if (b.type == ReportBand::GroupFooter)
                    groupFooters << &b;
            }
        }
        const int levels = int(groupHeaders.size());
        QList<QStringList> keys(rowCount);
        for (int r = 0; r < rowCount; ++r) {
            setRow(dsName, r);
            for (int l = 0; l < levels; ++l)
                keys[r] << ReportFormat::display(evaluateExpression(groupHeaders[l]->condition));
        }
        auto groupEnd = [&](int first, int level) {
            int last = first;
            while (last + 1 < rowCount && keys[last + 1].mid(0, level + 1) == keys[first].mid(0, level + 1))
                ++last;
            return last;
        };
        QList<int> groupStart(levels, 0);

        setRow(dsName, 0);
        int perPage = 0;
        if (!band.rowsPerPage.trimmed().isEmpty())
            perPage = qMax(0, int(ReportFormat::toNumber(evaluateExpression(band.rowsPerPage))));

        if (header) {
            m_scope = ScopeAll;
            placeBand(*header);
            m_activeHeader = header;
        }
        auto closeGroups = [&](int fromLevel, int lastRow) {
            for (int l = levels - 1; l >= fromLevel; --l) {
                if (l < groupFooters.size()) {
                    m_scope = ScopeGroup;
                    m_groupDataSet = key;
                    m_groupFirst = groupStart[l];
                    m_groupLast = lastRow;
                    setRow(dsName, lastRow);
                    placeBand(*groupFooters[l]);
                }
            }
        };
        for (int r = 0; r < rowCount; ++r) {
            int changed = levels;
            for (int l = 0; l < levels; ++l)
                if (r == 0 || keys[r][l] != keys[r - 1][l]) {
                    changed = l;
                    break;
                }
            if (r > 0 && changed < levels)
                closeGroups(changed, r - 1);
            for (int l = changed; l < levels; ++l) {
                groupStart[l] = r;
                m_scope = ScopeGroup;
                m_groupDataSet = key;
                m_groupFirst = r;
                m_groupLast = groupEnd(r, l);
                setRow(dsName, r);
                placeBand(*groupHeaders[l]);
            }
            setRow(dsName, r);
            if (perPage > 0 && m_rowsOnPage.value(&band) >= perPage)
                newPage();
            m_scope = ScopeAll;
            const int pageBefore = m_pageNo;
            placeBand(band);
            if (m_pageNo != pageBefore)
                m_rowsOnPage.clear();
            m_rowsOnPage[&band] += 1;
            m_pageRows[key] << r;
            if (nested) {
                setRow(dataSetOf(*nested), 0);
                iterateData(*nested, nullptr);
            }
        }
        if (rowCount > 0)
            closeGroups(0, rowCount - 1);
        // The forms expect a fixed number of lines: blank lines fill the last page.
        if (perPage > 0) {
            while (m_rowsOnPage.value(&band) < perPage) {
                if (!placeBand(band, true, false))
                    break;
                m_rowsOnPage[&band] += 1;
            }
        }
        m_activeHeader = nullptr;
        if (footer) {
            m_scope = ScopeAll;
            if (rowCount > 0)
                setRow(dsName, rowCount - 1);
            placeBand(*footer);
        }
        m_scope = ScopeAll;
    }

    const ReportEngine& m_engine;
    const ReportTemplate& m_tpl;
    PreparedReport m_out;
    int m_totalPages = 0;
    int m_pageNo = 0;
    double m_y = 0;
    double m_bottom = 0;
    bool m_fresh = true;
    bool m_blank = false;
    Scope m_scope = ScopeAll;
    const ReportBand* m_innermost = nullptr;
    const ReportBand* m_activeHeader = nullptr;
    QHash<QString, int> m_rows;
    QHash<QString, QList<int>> m_pageRows;
    QHash<const ReportBand*, int> m_rowsOnPage;
    QString m_groupDataSet;
    int m_groupFirst = 0, m_groupLast = -1;
    QHash<QString, QList<ReportTextPart>> m_parsed;
    QHash<QString, ReportExprPtr> m_exprs;
};

bool engineUsesTotalPages(const ReportTemplate& t)
{
    for (const auto& b : t.bands)
        for (const auto& o : b.objects)
            if (o.text.contains(QLatin1String("TotalPages"), Qt::CaseInsensitive))
                return true;
    return false;
}
} // namespace

void ReportEngine::setDataSet(const QString& name, const ReportDataSet& data)
{
    for (auto& p : m_dataSets)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = data;
            return;
        }
    m_dataSets.append({name, data});
}

void ReportEngine::removeDataSet(const QString& name)
{
    for (int i = 0; i < m_dataSets.size(); ++i)
        if (m_dataSets[i].first.compare(name, Qt::CaseInsensitive) == 0) {
            m_dataSets.removeAt(i);
            return;
        }
}

bool ReportEngine::hasDataSet(const QString& name) const
{
    return dataSet(name) != nullptr;
}

const ReportDataSet* ReportEngine::dataSet(const QString& name) const
{
    for (const auto& p : m_dataSets)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0)
            return &p.second;
    return nullptr;
}

QStringList ReportEngine::dataSetNames() const
{
    QStringList out;
    for (const auto& p : m_dataSets)
        out << p.first;
    return out;
}

PreparedReport ReportEngine::prepare() const
{
    int total = 0;
    if (engineUsesTotalPages(m_template))
        total = LayoutRun(*this, 0).run().pageCount();
    PreparedReport r = LayoutRun(*this, total).run();
    return r;
}
