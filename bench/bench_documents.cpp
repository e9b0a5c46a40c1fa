// Benchmarks of the document core on a generated business:
//   bench_documents [--backend sqlite|pg] [--pg "host=...;port=...;user=...;password="] [--dir DIR]
//                   [--goods N] [--depots N] [--lines N] [--samples N] [--regenerate]
// The database is generated once per size and kept for later runs.
#include "app/messenger.h"
#include "app/sysoptions.h"
#include "data/connection.h"
#include "data/databasesetup.h"
#include "data/datamodule.h"
#include "data/transaction.h"
#include "datagen.h"
#include "documents/documentstore.h"
#include "documents/stocklookup.h"
#include "reports/pickerstocktable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

double medianOf(QList<double> v)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msOf(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// The hand-written statements are prepared once too, as the look-ups are.
QSqlQuery* runPrepared(const QString& sql, const SqlParams& p)
{
    QSqlQuery* q = dm().connection().prepared(sql);
    if (!q) {
        out() << "prepare failed: " << dm().connection().errorString() << Qt::endl;
        return nullptr;
    }
    for (auto it = p.cbegin(); it != p.cend(); ++it)
        q->bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q->exec()) {
        out() << "statement failed: " << q->lastError().text() << Qt::endl;
        return nullptr;
    }
    return q;
}

double scalarOf(const QString& sql, const SqlParams& p)
{
    QSqlQuery* q = runPrepared(sql, p);
    const double v = q && q->next() ? q->value(0).toDouble() : 0;
    if (q)
        q->finish();
    return v;
}

const QString kHandStock = QStringLiteral(
    "select COALESCE((select sum(F_Amount) from t_begDept where F_GoodCode = :g and F_Depot = :d),0) + "
    "COALESCE((select sum(case when COALESCE(d.F_flag,0) <> 1 and m.F_Flag <> 12 and m.F_Flag <> 13 and m.F_Depot = "
    ":d then d.F_Amount*m.F_OperFlag else 0 end + case when COALESCE(d.F_flag,0) <> 1 and (m.F_Flag = 12 or m.F_Flag "
    "= 13) and m.F_Client = :d then d.F_Amount*m.F_OperFlag else 0 end + case when d.F_flag = 1 and m.F_Depot = :d "
    "then -d.F_Amount*m.F_OperFlag else 0 end + case when m.F_Flag = 10 and m.F_Client = :d then -d.F_Amount else 0 "
    "end) from DepotD d join DepotM m on m.F_Code = d.F_Code where d.F_GoodCode = :g),0)");

// Cost over all depots: every line of the good counts with its class sign (transfers net to 0).
const QString kHandCost = QStringLiteral(
    "select sum(q), sum(c) from (select F_Amount q, F_totalPrice c from t_begDept b join t_goods g on g.F_code = "
    "b.F_GoodCode where b.F_GoodCode = :g union all select sum(case when m.F_Flag = 10 then 0 when d.F_flag = 1 then "
    "-d.F_Amount*m.F_OperFlag else d.F_Amount*m.F_OperFlag end), sum(case when m.F_Flag = 10 then 0 when d.F_flag = "
    "1 then -d.F_CBprice*m.F_OperFlag else d.F_CBprice*m.F_OperFlag end) from DepotD d join DepotM m on m.F_Code = "
    "d.F_Code where d.F_GoodCode = :g) x");

const QString kHandPicker = QStringLiteral(
    "insert into tempGood(F_code,F_dept,F_amount,F_price,F_totalPrice,F_flag) select c, dp, q, cost/(case when q = 0 "
    "then 1 else q end), cost, 1 from (select c, dp, sum(q) q, sum(cost) cost, sum(v) v from (select F_GoodCode c, "
    "F_Depot dp, F_Amount q, F_totalPrice cost, F_totalPrice v from t_begDept union all select d.F_GoodCode, case "
    "when d.F_flag = 1 then m.F_Depot when m.F_Flag = 12 or m.F_Flag = 13 then m.F_Client else m.F_Depot end, "
    "(case when d.F_flag = 1 then -1 else 1 end)*m.F_OperFlag*d.F_Amount, (case when d.F_flag = 1 then -1 else 1 "
    "end)*m.F_OperFlag*d.F_CBprice, (case when d.F_flag = 1 then -1 else 1 end)*m.F_OperFlag*d.F_totalPrice from "
    "DepotD d join DepotM m on m.F_Code = d.F_Code union all select d.F_GoodCode, m.F_Client, -d.F_Amount, "
    "-d.F_CBprice, -d.F_totalPrice from DepotD d join DepotM m on m.F_Code = d.F_Code where m.F_Flag = 10) s group "
    "by c, dp) t where not (q = 0 and cost = 0 and v = 0)");

struct Figure
{
    QString name;
    double ours, hand, target;
};
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    auto opt = [&](const QString& name, const QString& def) {
        const int i = int(args.indexOf(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : def;
    };
    const bool pg = opt(QStringLiteral("--backend"), QStringLiteral("sqlite")) == QLatin1String("pg");
    DataGenerator::Size size;
    size.goods = opt(QStringLiteral("--goods"), QStringLiteral("100000")).toInt();
    size.depots = opt(QStringLiteral("--depots"), QStringLiteral("20")).toInt();
    size.lines = opt(QStringLiteral("--lines"), QStringLiteral("1000000")).toLongLong();
    const int samples = opt(QStringLiteral("--samples"), QStringLiteral("500")).toInt();
    const QString name = QStringLiteral("kbench_%1_%2_%3").arg(size.goods).arg(size.depots).arg(size.lines);
    ConnectionSettings settings;
    if (pg) {
        settings = ConnectionSettings::fromKeyValues(
            opt(QStringLiteral("--pg"), QStringLiteral("host=127.0.0.1;port=54329;user=postgres;password=")), name);
    } else {
        const QString dir = opt(QStringLiteral("--dir"), QDir::temp().filePath(QStringLiteral("kelmora-bench")));
        QDir().mkpath(dir);
        settings.backend = ConnectionSettings::SQLite;
        settings.server = QStringLiteral("(Local)");
        settings.database = name;
        settings.sqlitePath = QDir(dir).absoluteFilePath(name + QStringLiteral(".db"));
    }
    ScriptedMessenger messenger;
    DataModule data;
    DataModule::setInstance(&data);
    bool have = !args.contains(QStringLiteral("--regenerate")) && data.connect(settings)
        && data.GetSqlInt(QStringLiteral("select count(*) from DepotD")) > 0;
    if (!have) {
        data.disconnect();
        DatabaseSetup setup;
        DatabaseSetup::Options o;
        o.force = true;
        if (!setup.create(settings, o)) {
            out() << "cannot create the database: " << setup.errorString() << Qt::endl;
            return 1;
        }
        if (!data.connect(settings)) {
            out() << "cannot connect: " << data.errorString() << Qt::endl;
            return 1;
        }
        DataGenerator gen;
        out() << "generating " << name << " ..." << Qt::endl;
        if (!gen.generate(data.connection(), size)) {
            out() << "generation failed: " << gen.errorString() << Qt::endl;
            return 1;
        }
        out() << gen.summary() << Qt::endl;
    }
    out() << (pg ? "PostgreSQL " : "SQLite ") << name << ": "
          << data.GetSqlInt(QStringLiteral("select count(*) from DepotD")) << " lines, "
          << data.GetSqlInt(QStringLiteral("select count(*) from DepotM")) << " documents" << Qt::endl;

    SysOptions& so = SysOptions::current();
    so.costingMode = 1;
    so.negativeStock = false;
    QStringList depots;
    data.FillList(QStringLiteral("select F_Name from t_code where F_type = 'depot' order by F_ID"), depots);
    QRandomGenerator rng(7);
    QList<Figure> figures;
    const double stockTarget = pg ? 5 : 2, pickerTarget = pg ? 3000 : 1500, postTarget = pg ? 600 : 300;

    // Stock and cost look-ups.
    QList<double> ours, hand, oursCost, handCost;
    int mismatches = 0;
    for (int i = 0; i < samples; ++i) {
        const QString g = QStringLiteral("%1").arg(rng.bounded(1, size.goods + 1), 6, 10, QLatin1Char('0'));
        const QString d = depots[rng.bounded(int(depots.size()))];
        double a = 0, b = 0, c1 = 0;
        // Warm the good's pages first, so neither side pays for reading them from disk.
        StockLookup::GetStockAmount(d, g);
        StockLookup::GetCostPrice(QString(), g, QString());
        ours << msOf([&] { a = StockLookup::GetStockAmount(d, g); });
        hand << msOf([&] { b = scalarOf(kHandStock, {{QStringLiteral("g"), g}, {QStringLiteral("d"), d}}); });
        if (std::abs(a - b) > 1e-6)
            ++mismatches;
        oursCost << msOf([&] { c1 = StockLookup::GetCostPrice(QString(), g, QString()); });
        handCost << msOf([&] {
            QSqlQuery* q = runPrepared(kHandCost, {{QStringLiteral("g"), g}});
            double qq = 0, cc = 0;
            while (q && q->next()) {
                qq += q->value(0).toDouble();
                cc += q->value(1).toDouble();
            }
            if (q)
                q->finish();
            (void)(qq == 0 ? StockLookup::enterPrice(g) : cc / qq);
        });
    }
    figures << Figure {QStringLiteral("GetStockAmount (median)"), medianOf(ours), medianOf(hand), stockTarget};
    figures << Figure {
        QStringLiteral("GetCostPrice, all depots (median)"), medianOf(oursCost), medianOf(handCost), stockTarget};
    if (mismatches)
        out() << "WARNING: " << mismatches << " stock answers differ from the hand-written statement" << Qt::endl;

    // The goods picker's stock table.
    QList<double> pOurs, pHand;
    for (int i = 0; i < 3; ++i) {
        PickerStockTable t(data.connection());
        pOurs << msOf([&] {
            if (!t.build(1))
                out() << "build failed: " << t.errorString() << Qt::endl;
        });
        const qint64 rowsOurs = data.GetSqlInt(QStringLiteral("select count(*) from tempGood"));
        pHand << msOf([&] {
            data.connection().exec(QStringLiteral("delete from tempGood"));
            if (!data.connection().exec(kHandPicker))
                out() << "hand build failed: " << data.connection().errorString() << Qt::endl;
        });
        const qint64 rowsHand = data.GetSqlInt(QStringLiteral("select count(*) from tempGood"));
        if (i == 0 && rowsOurs != rowsHand)
            out() << "WARNING: picker rows " << rowsOurs << " vs hand-written " << rowsHand << Qt::endl;
    }
    figures << Figure {
        QStringLiteral("goods picker stock table build"), medianOf(pOurs), medianOf(pHand), pickerTarget};

    // Posting a 200-line sales issue with its availability check.
    PickerStockTable(data.connection()).build(1);
    const QString depot = depots[1 % depots.size()];
    QStringList codes;
    {
        QSqlQuery q(data.db());
        Sql::exec(q,
            QStringLiteral("select F_code from tempGood where F_dept = :d and F_amount >= 1 order by F_code LIMIT 200"),
            {{QStringLiteral("d"), depot}});
        while (q.next())
            codes << q.value(0).toString();
    }
    QList<double> postOurs, postHand;
    for (int rep = 0; rep < 5 && codes.size() == 200; ++rep) {
        Document doc;
        doc.kind = -2;
        doc.depot = depot;
        doc.client = QStringLiteral("基准客户");
        doc.maker = QStringLiteral("bench");
        for (const QString& g : codes) {
            DocumentLine l;
            l.goodCode = g;
            l.goodName = g;
            l.amount = 1;
            l.price = 10;
            l.totalPrice = 10;
            l.cbPrice = 8;
            doc.lines << l;
        }
        DocumentStore store;
        DocumentStore::Result r = DocumentStore::Failed;
        postOurs << msOf([&] { r = store.save(doc, {}); });
        if (r != DocumentStore::Done)
            out() << "post failed: " << int(r) << " " << store.errorString() << " " << messenger.lastText() << Qt::endl;
        store.remove(doc.code);

        // Hand-written: one statement for the 200 stocks, one header insert, one 200-row insert.
        const QString code = QStringLiteral("HANDPOST%1").arg(rep);
        postHand << msOf([&] {
            Transaction tx(data.connection(), Transaction::Serialized);
            QSqlQuery q(data.db());
            Sql::exec(q,
                QStringLiteral("select g, sum(q) from (select F_GoodCode g, F_Amount q from t_begDept where F_Depot "
                               "= :d and F_GoodCode in (:list) union all select d.F_GoodCode, case when "
                               "COALESCE(d.F_flag,0) <> 1 and m.F_Flag <> 12 and m.F_Flag <> 13 and m.F_Depot = "
                               ":d then d.F_Amount*m.F_OperFlag else 0 end + case when COALESCE(d.F_flag,0) <> 1 "
                               "and (m.F_Flag = 12 or m.F_Flag = 13) and m.F_Client = :d then "
                               "d.F_Amount*m.F_OperFlag else 0 end + case when d.F_flag = 1 and m.F_Depot = :d "
                               "then -d.F_Amount*m.F_OperFlag else 0 end + case when m.F_Flag = 10 and "
                               "m.F_Client = :d then -d.F_Amount else 0 end from DepotD d join DepotM m on "
                               "m.F_Code = d.F_Code where d.F_GoodCode in (:list)) s group by g"),
                {{QStringLiteral("d"), depot}, {QStringLiteral("list"), codes}});
            int shortCount = 0;
            while (q.next())
                shortCount += q.value(1).toDouble() < 1 ? 1 : 0;
            data.connection().exec(QStringLiteral("insert into DepotM(F_Code,F_Flag,F_OperFlag,F_Depot,F_Client) "
                                                  "values(:c,-2,-1,:d,'x')"),
                {{QStringLiteral("c"), code}, {QStringLiteral("d"), depot}});
            QStringList rows;
            SqlParams p;
            for (int i = 0; i < codes.size(); ++i) {
                rows << QStringLiteral("(:c,:g%1,:g%1,1,10,10,8)").arg(i);
                p.insert(QStringLiteral("g%1").arg(i), codes[i]);
            }
            p.insert(QStringLiteral("c"), code);
            data.connection().exec(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_GoodName,F_Amount,F_Price,"
                                                  "F_TotalPrice,F_CBprice) values ")
                    + rows.join(QLatin1Char(',')),
                p);
            tx.commit();
        });
        data.connection().exec(QStringLiteral("delete from DepotD where F_Code = :c"), {{QStringLiteral("c"), code}});
        data.connection().exec(QStringLiteral("delete from DepotM where F_Code = :c"), {{QStringLiteral("c"), code}});
    }
    if (codes.size() == 200)
        figures << Figure {
            QStringLiteral("post a 200-line sales issue"), medianOf(postOurs), medianOf(postHand), postTarget};
    else
        out() << "not enough stocked goods in " << depot << " for the posting benchmark" << Qt::endl;

    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        out() << "load average: " << QString::fromLatin1(load.readAll()).trimmed() << Qt::endl;
    out() << Qt::endl << "| measure | ours (ms) | hand-written (ms) | ratio | target (ms) |" << Qt::endl;
    out() << "|---|---|---|---|---|" << Qt::endl;
    for (const Figure& f : figures)
        out() << "| " << f.name << " | " << QString::number(f.ours, 'f', 3) << " | " << QString::number(f.hand, 'f', 3)
              << " | " << QString::number(f.hand > 0 ? f.ours / f.hand : 0, 'f', 2) << " | " << f.target << " |"
              << Qt::endl;
    return 0;
}
