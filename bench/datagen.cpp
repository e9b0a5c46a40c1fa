#include "datagen.h"

#include "data/connection.h"
#include "data/dates.h"
#include "data/transaction.h"

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <cmath>
#include <vector>

namespace {
QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// Multi-row inserts with positional values: one prepared statement per chunk size.
class BatchWriter
{
public:
    BatchWriter(Connection& c, const QString& table, const QStringList& columns, int chunk)
        : m_c(c)
        , m_table(table)
        , m_columns(columns)
        , m_chunk(chunk)
    { }
    bool add(const QVariantList& row)
    {
        m_rows.append(row);
        return int(m_rows.size()) < m_chunk || flush();
    }
    bool flush()
    {
        if (m_rows.isEmpty())
            return true;
        const int n = int(m_rows.size());
        QSqlQuery* q = n == m_chunk ? &m_full : &m_tail;
        if (n != m_chunk || !m_fullPrepared) {
            const QString one = QLatin1Char('(')
                + QStringList(m_columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
            QStringList all;
            for (int i = 0; i < n; ++i)
                all << one;
            *q = QSqlQuery(m_c.db());
            if (!q->prepare(QStringLiteral("insert into ") + m_table + QLatin1Char('(')
                    + m_columns.join(QLatin1Char(',')) + QStringLiteral(") values ") + all.join(QLatin1Char(',')))) {
                m_error = q->lastError().text();
                return false;
            }
            if (n == m_chunk)
                m_fullPrepared = true;
        }
        for (const QVariantList& r : m_rows)
            for (const QVariant& v : r)
                q->addBindValue(v);
        if (!q->exec()) {
            m_error = q->lastError().text();
            return false;
        }
        m_rows.clear();
        return true;
    }
    QString errorString() const { return m_error; }

private:
    Connection& m_c;
    QString m_table;
    QStringList m_columns;
    int m_chunk;
    QList<QVariantList> m_rows;
    QSqlQuery m_full, m_tail;
    bool m_fullPrepared = false;
    QString m_error;
};

struct GoodInfo
{
    QString code, name, type, spec, unit, address;
    double enterPrice, salePrice;
};

const char* const kTops[]
    = {"食品饮料", "五金工具", "办公用品", "电子电器", "日用百货", "纺织服装", "建材装饰", "化工原料"};
const char* const kSubs[][5] = {{"饮料", "休闲食品", "粮油调味", "酒水", "乳制品"},
    {"手动工具", "紧固件", "电动工具", "量具", "五金配件"},
    {"纸张本册", "书写工具", "文件管理", "桌面用品", "财务用品"},
    {"小家电", "电脑配件", "照明灯具", "电线电缆", "开关插座"},
    {"清洁用品", "厨房用具", "收纳整理", "个人护理", "一次性用品"}, {"工作服", "劳保手套", "床上用品", "毛巾", "鞋帽"},
    {"涂料", "瓷砖", "管材管件", "五金门窗", "卫浴洁具"}, {"溶剂", "胶粘剂", "润滑油", "塑料粒子", "助剂"}};
const char* const kAdjectives[] = {"优质", "加厚", "精装", "经济型", "耐用", "高级", "标准", "特制", "环保", "进口",
    "国产", "新款", "强力", "轻便", "多功能", "迷你", "大号", "家用", "工业", "专业"};
const char* const kNouns[] = {"套装", "组件", "礼盒", "散装", "桶装", "袋装", "盒装", "卷", "把", "件"};
const char* const kPlaces[] = {"浙江杭州", "浙江义乌", "广东深圳", "广东佛山", "江苏苏州", "上海", "山东青岛",
    "河北保定", "福建厦门", "安徽合肥", "四川成都", "湖北武汉", "天津", "北京"};
const char* const kUnits[] = {"个", "件", "箱", "包", "把", "台", "套", "瓶", "米", "卷", "支", "盒"};
const char* const kCities[] = {"杭州", "宁波", "温州", "苏州", "无锡", "南京", "上海", "广州", "深圳", "东莞", "佛山",
    "厦门", "福州", "合肥", "武汉", "长沙", "成都", "重庆", "西安", "郑州", "济南", "青岛", "天津", "北京", "沈阳",
    "大连", "昆明", "南宁", "南昌", "太原"};
const char* const kFirms[] = {"华兴", "永安", "宏达", "鑫源", "恒泰", "金诚", "瑞丰", "盛世", "天成", "新华", "东方",
    "信达", "顺发", "万隆", "长江", "海通", "百川", "中联", "佳美", "利民"};
const char* const kTrades[] = {"贸易", "商贸", "实业", "五金", "电器", "百货", "建材", "科技", "食品", "化工"};
const char* const kSuffix[] = {"有限公司", "商行", "经营部", "股份有限公司", "批发部"};
const char* const kSurnames[]
    = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰", "娟", "涛"};
const char* const kRegions[] = {"总仓", "华东", "华南", "华北", "西南", "东北", "华中", "西北"};
const char* const kDepts[] = {"销售部", "采购部", "生产一车间", "生产二车间", "仓储部", "行政部", "维修部", "研发部"};

template <typename T, size_t N> const char* pick(QRandomGenerator& r, const T (&a)[N])
{
    return a[r.bounded(int(N))];
}
} // namespace

bool DataGenerator::generate(Connection& c, const Size& size)
{
    QRandomGenerator rng(size.seed);
    auto uni = [&](double lo, double hi) { return lo + (hi - lo) * rng.generateDouble(); };
    auto round2 = [](double v) { return std::round(v * 100.0) / 100.0; };
    QElapsedTimer timer;
    timer.start();
    Transaction tx(c);
    auto failWith = [&](const QString& e) {
        m_error = e;
        return false;
    };

    // Code lists: depots, departments, units.
    QStringList depots;
    for (int i = 0; i < size.depots; ++i)
        depots << (i == 0 ? u8("总仓库") : u8(kRegions[i % 8]) + QString::number(i / 8 + 1) + u8("号仓"));
    QStringList departments;
    for (const char* d : kDepts)
        departments << u8(d);
    {
        BatchWriter w(c, QStringLiteral("t_code"), {QStringLiteral("F_Name"), QStringLiteral("F_type")}, 200);
        for (const QString& d : depots)
            w.add({d, QStringLiteral("depot")});
        for (const QString& d : departments)
            w.add({d, QStringLiteral("department")});
        for (const char* u : kUnits)
            w.add({u8(u), QStringLiteral("goodunit")});
        if (!w.flush())
            return failWith(w.errorString());
    }
    // Category tree: eight top nodes with five children each.
    QStringList leafPaths;
    {
        BatchWriter w(c, QStringLiteral("t_treecode"),
            {QStringLiteral("F_code"), QStringLiteral("F_name"), QStringLiteral("F_likecode"),
                QStringLiteral("F_flag")},
            100);
        for (int t = 0; t < 8; ++t) {
            const QString top = QStringLiteral("%1").arg(t + 1, 3, 10, QLatin1Char('0'));
            const QString topPath = QStringLiteral("\\\\") + u8(kTops[t]);
            w.add({top, u8(kTops[t]), topPath, QStringLiteral("goodtype")});
            for (int s = 0; s < 5; ++s) {
                const QString path = topPath + QLatin1Char('\\') + u8(kSubs[t][s]);
                leafPaths << path;
                w.add({top + QStringLiteral("%1").arg(s + 1, 3, 10, QLatin1Char('0')), u8(kSubs[t][s]), path,
                    QStringLiteral("goodtype")});
            }
        }
        if (!w.flush())
            return failWith(w.errorString());
    }
    // Partners and employees.
    QStringList clients, suppliers, employees;
    {
        BatchWriter w(c, QStringLiteral("t_client"),
            {QStringLiteral("F_Code"), QStringLiteral("F_Name"), QStringLiteral("F_LinkMan"), QStringLiteral("F_Phone"),
                QStringLiteral("F_Address"), QStringLiteral("F_operFlag"), QStringLiteral("F_UseFlag")},
            200);
        QSet<QString> used;
        const int nClients = qMax(50, size.goods / 50), nSuppliers = qMax(20, size.goods / 200);
        for (int i = 0; i < nClients + nSuppliers; ++i) {
            QString name;
            do {
                name = u8(pick(rng, kCities)) + u8(pick(rng, kFirms)) + u8(pick(rng, kTrades)) + u8(pick(rng, kSuffix));
                if (used.contains(name))
                    name += QString::number(rng.bounded(1000));
            } while (used.contains(name));
            used.insert(name);
            const bool client = i < nClients;
            (client ? clients : suppliers) << name;
            w.add({QStringLiteral("%1%2")
                       .arg(client ? QStringLiteral("K") : QStringLiteral("G"))
                       .arg(i + 1, 5, 10, QLatin1Char('0')),
                name, u8(pick(rng, kSurnames)) + u8(pick(rng, kGiven)),
                QStringLiteral("0571-%1").arg(rng.bounded(10000000, 99999999)), u8(pick(rng, kCities)), client ? 1 : 0,
                0});
        }
        if (!w.flush())
            return failWith(w.errorString());
        BatchWriter e(c, QStringLiteral("t_employee"),
            {QStringLiteral("F_Code"), QStringLiteral("F_Name"), QStringLiteral("F_dept"), QStringLiteral("F_Flag")},
            100);
        for (int i = 0; i < 30; ++i) {
            const QString name = u8(pick(rng, kSurnames)) + u8(pick(rng, kGiven)) + u8(pick(rng, kGiven));
            employees << name;
            e.add({QStringLiteral("E%1").arg(i + 1, 3, 10, QLatin1Char('0')), name, departments[i % departments.size()],
                0});
        }
        if (!e.flush())
            return failWith(e.errorString());
    }
    // Goods.
    std::vector<GoodInfo> goods(size.goods);
    {
        BatchWriter w(c, QStringLiteral("t_goods"),
            {QStringLiteral("F_Code"), QStringLiteral("F_Name"), QStringLiteral("F_Type"), QStringLiteral("F_Spec"),
                QStringLiteral("F_Unit"), QStringLiteral("F_Barcode"), QStringLiteral("F_EnterPrice"),
                QStringLiteral("F_SalePrice"), QStringLiteral("F_DeptUp"), QStringLiteral("F_DeptDown"),
                QStringLiteral("F_Flag"), QStringLiteral("F_address")},
            500);
        for (int i = 0; i < size.goods; ++i) {
            GoodInfo& g = goods[i];
            const int leaf = rng.bounded(int(leafPaths.size()));
            g.code = QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0'));
            g.name = u8(pick(rng, kAdjectives)) + u8(kSubs[leaf / 5][leaf % 5]) + u8(pick(rng, kNouns))
                + QString::number(rng.bounded(1, 100));
            g.type = leafPaths[leaf];
            g.spec = QStringLiteral("%1×%2").arg(rng.bounded(1, 50) * 10).arg(rng.bounded(1, 24));
            g.unit = u8(pick(rng, kUnits));
            g.address = u8(pick(rng, kPlaces));
            g.enterPrice = round2(std::exp(uni(0.0, 6.5)));
            g.salePrice = round2(g.enterPrice * uni(1.15, 1.6));
            const int r = rng.bounded(1000);
            const QVariant flag = r < 10 ? QVariant(1) : (r < 15 ? QVariant(QMetaType(QMetaType::Int)) : QVariant(0));
            if (!w.add({g.code, g.name, g.type, g.spec, g.unit,
                    QStringLiteral("69%1").arg(qint64(i) * 7919 % 100000000000LL, 11, 10, QLatin1Char('0')),
                    g.enterPrice, g.salePrice, 500, 10, flag, g.address}))
                return failWith(w.errorString());
        }
        if (!w.flush())
            return failWith(w.errorString());
    }

    // Running state: stock per good and depot, and global quantity and cost per good.
    const int nd = size.depots;
    std::vector<float> stock(size_t(size.goods) * nd, 0.0f);
    std::vector<double> gq(size.goods, 0.0), gc(size.goods, 0.0);
    std::vector<std::vector<int>> stocked(nd); // goods that once had stock in a depot
    auto avgCost = [&](int g) { return gq[g] > 0.0 && gc[g] > 0.0 ? gc[g] / gq[g] : goods[g].enterPrice; };
    auto move = [&](int g, int d, double q, double cost) {
        float& s = stock[size_t(g) * nd + d];
        if (s <= 0.0f && q > 0)
            stocked[d].push_back(g);
        s += float(q);
        gq[g] += q;
        gc[g] += cost;
    };
    {
        BatchWriter w(c, QStringLiteral("t_begDept"),
            {QStringLiteral("F_Depot"), QStringLiteral("F_GoodCode"), QStringLiteral("F_Amount"),
                QStringLiteral("F_Price"), QStringLiteral("F_totalPrice")},
            500);
        for (int g = 0; g < size.goods; ++g) {
            if (rng.bounded(100) >= 40)
                continue;
            const int n = 1 + rng.bounded(2);
            for (int k = 0; k < n; ++k) {
                const int d = rng.bounded(nd);
                const double a = rng.bounded(10, 200);
                const double total = round2(a * goods[g].enterPrice);
                move(g, d, a, total);
                if (!w.add({depots[d], goods[g].code, a, goods[g].enterPrice, total}))
                    return failWith(w.errorString());
            }
        }
        if (!w.flush())
            return failWith(w.errorString());
    }

    // Documents.
    struct KindWeight
    {
        int kind;
        int weight;
        const char* prefix;
        int operFlag;
    };
    const KindWeight kinds[] = {{1, 220, "CGD", 1}, {-1, 20, "CTD", -1}, {2, 30, "XTD", 1}, {-2, 400, "XSD", -1},
        {3, 50, "SCD", 1}, {4, 10, "LTD", 1}, {-3, 90, "LCD", -1}, {5, 30, "JHD", 1}, {-5, 30, "CRD", -1},
        {10, 60, "DBD", 1}, {11, 30, "PDD", 1}, {12, 15, "ZZD", -1}, {13, 15, "CXD", 1}};
    int totalWeight = 0;
    for (const KindWeight& k : kinds)
        totalWeight += k.weight;
    BatchWriter hw(c, QStringLiteral("DepotM"),
        {QStringLiteral("F_Code"), QStringLiteral("F_Depot"), QStringLiteral("F_Client"), QStringLiteral("F_MakeDate"),
            QStringLiteral("F_Maker"), QStringLiteral("F_Date"), QStringLiteral("F_Auditer"),
            QStringLiteral("F_EmpName"), QStringLiteral("F_TotalPrice"), QStringLiteral("F_CheckFlag"),
            QStringLiteral("F_OldCode"), QStringLiteral("F_Flag"), QStringLiteral("F_OperFlag"),
            QStringLiteral("F_Mem"), QStringLiteral("F_amount")},
        400);
    BatchWriter lw(c, QStringLiteral("DepotD"),
        {QStringLiteral("F_Code"), QStringLiteral("F_GoodCode"), QStringLiteral("F_GoodName"), QStringLiteral("F_Type"),
            QStringLiteral("F_Spec"), QStringLiteral("F_Unit"), QStringLiteral("F_Amount"), QStringLiteral("F_Price"),
            QStringLiteral("F_TotalPrice"), QStringLiteral("F_CBprice"), QStringLiteral("F_Address"),
            QStringLiteral("F_flag"), QStringLiteral("F_curAmount"), QStringLiteral("F_SJamount"),
            QStringLiteral("F_Rate")},
        500);
    const QDate first(2023, 1, 1);
    const int days = 730;
    const qint64 approxDocs = qMax<qint64>(1, size.lines / 10);
    QHash<QString, int> seq;
    qint64 lines = 0, docs = 0;
    const QVariant nullInt(QMetaType(QMetaType::Int)), nullDouble(QMetaType(QMetaType::Double));
    struct PendingLine
    {
        int good;
        double amount, price, total, cost;
        int flag;
        QVariant cur, sj, rate;
    };
    auto pickStocked = [&](int d, double& have) -> int {
        const auto& list = stocked[d];
        if (list.empty())
            return -1;
        for (int t = 0; t < 8; ++t) {
            const int g = list[rng.bounded(int(list.size()))];
            have = stock[size_t(g) * nd + d];
            if (have >= 1.0)
                return g;
        }
        return -1;
    };
    while (lines < size.lines) {
        int w = rng.bounded(totalWeight);
        const KindWeight* k = kinds;
        while (w >= k->weight) {
            w -= k->weight;
            ++k;
        }
        const QDate day = first.addDays(int(qMin<qint64>(days - 1, docs * days / approxDocs)));
        const QString dayText = day.toString(QStringLiteral("yyyyMMdd"));
        const int d = rng.bounded(nd);
        int d2 = rng.bounded(nd - 1);
        if (d2 >= d)
            ++d2;
        QString client;
        switch (k->kind) {
        case 1:
        case -1:
            client = suppliers[rng.bounded(int(suppliers.size()))];
            break;
        case 2:
        case -2:
        case 5:
        case -5:
            client = clients[rng.bounded(int(clients.size()))];
            break;
        case 3:
        case 4:
        case -3:
            client = departments[rng.bounded(int(departments.size()))];
            break;
        case 10:
        case 12:
        case 13:
            client = depots[d2];
            break;
        default:
            break;
        }
        const int want = k->kind == 12 || k->kind == 13 ? 2 + rng.bounded(5) : 1 + rng.bounded(19);
        QList<PendingLine> out;
        const bool issuing = k->operFlag < 0 && k->kind != 12;
        if (k->kind == 12 || k->kind == 13) {
            // components depot = d2 (client), product depot = d
            const int compDepot = d2;
            double have = 0;
            if (k->kind == 12) {
                double cost = 0;
                for (int i = 0; i < want; ++i) {
                    const int g = pickStocked(compDepot, have);
                    if (g < 0)
                        break;
                    const double a = qMin(have, double(rng.bounded(1, 10)));
                    const double cb = round2(a * avgCost(g));
                    cost += cb;
                    out.append({g, a, round2(avgCost(g)), round2(a * avgCost(g)), cb, 0, nullDouble, nullDouble, 1.0});
                    move(g, compDepot, -a, -cb);
                }
                if (out.isEmpty())
                    continue;
                const int p = rng.bounded(size.goods);
                const double q = rng.bounded(1, 5);
                out.append({p, q, round2(cost / q), round2(cost), round2(cost), 1, nullDouble, nullDouble, nullDouble});
                move(p, d, q, cost);
            } else {
                const int p = pickStocked(d, have);
                if (p < 0)
                    continue;
                const double q = qMin(have, double(rng.bounded(1, 4)));
                const double cost = round2(q * avgCost(p));
                out.append({p, q, round2(avgCost(p)), cost, cost, 1, nullDouble, nullDouble, nullDouble});
                move(p, d, -q, -cost);
                for (int i = 0; i < want; ++i) {
                    const int g = rng.bounded(size.goods);
                    const double a = rng.bounded(1, 10);
                    const double cb = round2(cost / want);
                    out.append({g, a, round2(cb / a), cb, cb, 0, nullDouble, nullDouble, 1.0});
                    move(g, compDepot, a, cb);
                }
            }
        } else {
            const int from = k->kind == 10 ? d2 : d;
            for (int i = 0; i < want; ++i) {
                double have = 0;
                int g;
                double a;
                if (issuing || k->kind == 10 || k->kind == 11) {
                    g = pickStocked(from, have);
                    if (g < 0)
                        break;
                    a = k->kind == 11 ? double(rng.bounded(-3, 3)) : qMin(have, double(rng.bounded(1, 20)));
                    if (k->kind == 11 && have + a < 0)
                        a = -have;
                } else {
                    g = rng.bounded(size.goods);
                    a = rng.bounded(k->kind == 1 ? 5 : 1, k->kind == 1 ? 100 : 20);
                }
                const GoodInfo& gi = goods[g];
                double price;
                if (k->kind == 1 || k->kind == -1)
                    price = round2(gi.enterPrice * uni(0.92, 1.08));
                else if (k->kind == 2 || k->kind == -2)
                    price = round2(gi.salePrice * uni(0.95, 1.05));
                else
                    price = round2(avgCost(g));
                const double total = round2(a * price);
                const double cb = k->kind == 1 || k->kind == -1 ? total : round2(a * avgCost(g));
                PendingLine pl {g, a, price, total, cb, 0, nullDouble, nullDouble, nullDouble};
                if (k->kind == 11) {
                    pl.cur = have;
                    pl.sj = have + a;
                }
                out.append(pl);
                if (k->kind == 10) {
                    move(g, d2, -a, -cb);
                    move(g, d, a, cb);
                } else {
                    move(g, d, k->operFlag * a, k->operFlag * cb);
                }
            }
            if (out.isEmpty())
                continue;
        }
        const QString prefix = QString::fromLatin1(k->prefix);
        int& n = seq[prefix + dayText];
        ++n;
        const QString code = prefix + dayText + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        double amount = 0, total = 0;
        for (const PendingLine& l : out) {
            const GoodInfo& gi = goods[l.good];
            if (l.flag != 1) {
                amount += l.amount;
                total += l.total;
            }
            if (!lw.add({code, gi.code, gi.name, gi.type, gi.spec, gi.unit, l.amount, l.price, l.total, l.cost,
                    gi.address, l.flag == 1 ? QVariant(1) : nullInt, l.cur, l.sj, l.rate}))
                return failWith(lw.errorString());
        }
        lines += out.size();
        ++docs;
        const bool audited = day.daysTo(first.addDays(days)) > 30 && rng.bounded(100) < 85;
        const bool assembly = k->kind == 12 || k->kind == 13;
        const QString maker = employees[rng.bounded(int(employees.size()))];
        if (!hw.add({code, depots[d], client, Dates::sqlDate(day), maker, Dates::sqlDate(day),
                audited ? u8("系统管理员") : QString(), assembly ? QVariant() : QVariant(maker), round2(total),
                audited ? QVariant(1) : nullInt, QString(), k->kind, k->operFlag, QString(),
                assembly ? nullDouble : QVariant(amount)}))
            return failWith(hw.errorString());
    }
    if (!lw.flush())
        return failWith(lw.errorString());
    if (!hw.flush())
        return failWith(hw.errorString());
    if (!tx.commit())
        return failWith(tx.errorString());
    c.exec(QStringLiteral("ANALYZE"));
    if (!c.isPostgres())
        c.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    m_summary = QStringLiteral("%1 goods, %2 depots, %3 documents, %4 lines in %5 s")
                    .arg(size.goods)
                    .arg(nd)
                    .arg(docs)
                    .arg(lines)
                    .arg(timer.elapsed() / 1000.0, 0, 'f', 1);
    return true;
}
