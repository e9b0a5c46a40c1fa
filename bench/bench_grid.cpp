// Grid benchmark: export 100,000 rows x 15 columns in every format, and open a
// 100,000-row result in the grid (time until the first rows are painted).
// Run: build/bin/bench_grid [rows]   (uses an SQLite file in a temporary folder)
#include "data/connectionsettings.h"
#include "data/datagrid.h"
#include "data/datamodule.h"
#include "data/export/gridexporter.h"
#include "data/transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <ctime>

namespace {
// Marks the moment the grid's rows are first painted.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(o, e);
    }
};

QList<GridColumnDef> benchColumns()
{
    QList<GridColumnDef> cols;
    auto add = [&cols](const char* f, const char* cap, const char* fmt, int footer = 0) {
        GridColumnDef c;
        c.fieldName = QLatin1String(f);
        c.caption = QString::fromUtf8(cap);
        c.displayFormat = QLatin1String(fmt);
        c.footerType = footer;
        cols << c;
    };
    add("F_Code", "单据号", "");
    add("F_Date", "日期", "");
    add("F_GoodCode", "货品编号", "");
    add("F_GoodName", "货品名称", "");
    add("F_Spec", "规格", "");
    add("F_Unit", "单位", "");
    add("F_Depot", "仓库", "");
    add("F_Amount", "数量", "0.##", 2);
    add("F_Price", "单价", ",0.00");
    add("F_TotalPrice", "金额", ",0.00", 2);
    add("F_CBprice", "成本", ",0.00");
    add("F_Rate", "折扣", "0.##");
    add("F_SZ1", "数值1", "0.##");
    add("F_SZ2", "数值2", "0.##");
    add("F_Mem", "备注", "");
    return cols;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTextStream out(stdout);
    QTemporaryDir dir;
    ConnectionSettings s;
    s.backend = ConnectionSettings::SQLite;
    s.server = QStringLiteral("(Local)");
    s.database = QStringLiteral("bench");
    s.sqlitePath = dir.filePath(QStringLiteral("bench.db"));
    {
        QFile f(s.sqlitePath); // the connection opens existing files only
        f.open(QIODevice::WriteOnly);
    }
    DataModule dmod;
    if (!dmod.connect(s)) {
        out << "cannot open database: " << dmod.errorString() << Qt::endl;
        return 1;
    }
    DataModule::setInstance(&dmod);
    QElapsedTimer t;
    t.start();
    {
        QSqlQuery q(dmod.db());
        q.exec(QStringLiteral("create table bench_rows (F_Code text, F_Date text, F_GoodCode text, F_GoodName text, "
                              "F_Spec text, F_Unit text, F_Depot text, F_Amount real, F_Price real, F_TotalPrice "
                              "real, F_CBprice real, F_Rate real, F_SZ1 real, F_SZ2 real, F_Mem text)"));
        dmod.db().transaction();
        q.prepare(QStringLiteral("insert into bench_rows values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (int i = 0; i < rows; ++i) {
            const double amount = 1 + i % 97, price = 0.5 + (i % 1000) / 8.0;
            const QVariantList v {QStringLiteral("XSD20240101%1").arg(i % 1000, 3, 10, QLatin1Char('0')),
                QStringLiteral("2024-%1-%2 00:00:00")
                    .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                    .arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                QStringLiteral("G%1").arg(i % 5000, 5, 10, QLatin1Char('0')),
                QStringLiteral("货品名称%1").arg(i % 5000), QStringLiteral("%1mm").arg(i % 50), QStringLiteral("个"),
                QStringLiteral("仓库%1").arg(i % 5), amount, price, amount * price, price * 0.8, 0.95, i * 0.5, i % 13,
                i % 10 == 0 ? QStringLiteral("备注, \"加急\"") : QString()};
            for (int k = 0; k < v.size(); ++k)
                q.bindValue(k, v.at(k));
            q.exec();
        }
        dmod.db().commit();
    }
    out << "rows: " << rows << " x 15 columns (data made in " << t.elapsed() << " ms)" << Qt::endl;

    // Opening the result: time until the first rows are painted.
    {
        DataGrid grid;
        grid.setColumns(benchColumns());
        grid.resize(1200, 700);
        grid.show();
        QApplication::processEvents();
        PaintWatch watch;
        grid.view()->viewport()->installEventFilter(&watch);
        t.restart();
        const std::clock_t cpu0 = std::clock();
        grid.openQuery(QStringLiteral("select * from bench_rows"));
        while (!watch.painted)
            QApplication::processEvents();
        const qint64 first = t.elapsed();
        const qint64 firstCpu = qint64((std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC);
        while (!grid.model()->allFetched())
            QApplication::processEvents();
        const qint64 all = t.elapsed();
        const double sum = grid.footerSum(9);
        out << "grid: first rows painted after " << first << " ms (cpu " << firstCpu << " ms); all " << grid.rowCount()
            << " rows read after " << all << " ms (amount total " << QString::number(sum, 'f', 2) << ")" << Qt::endl;
        // Sorting by a title on the whole result.
        t.restart();
        grid.sortByTitle(3);
        QApplication::processEvents();
        out << "grid: title sort of all rows " << t.elapsed() << " ms" << Qt::endl;

        for (int type = 1; type <= 6; ++type) {
            ExportTable table = grid.exportTable();
            if (type == GridExporter::Xls && table.rowCount + 1 > GridExporter::XlsMaxRows)
                table.rowCount = GridExporter::XlsMaxRows - 1; // an .xls sheet holds no more
            const QString file = dir.filePath(QStringLiteral("bench.") + GridExporter::extension(type));
            QString err;
            t.restart();
            const std::clock_t cpu0 = std::clock();
            const bool ok = GridExporter::write(table, file, type, &err);
            const qint64 ms = t.elapsed();
            // CPU time too: other builds on a shared machine stretch the wall time.
            const qint64 cpuMs = qint64((std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC);
            out << "export " << GridExporter::extension(type) << ": " << table.rowCount << " rows in " << ms
                << " ms (cpu " << cpuMs << " ms), " << QFileInfo(file).size() / 1024 << " KiB"
                << (ok ? QString() : QStringLiteral(" FAILED: ") + err) << Qt::endl;
        }
    }
    DataModule::setInstance(nullptr);
    return 0;
}
