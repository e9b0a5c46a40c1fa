// Entry benchmarks: opening the goods picker over a large database, filling a
// line from a typed goods code, and saving a 200-line document.
//
//   bench_entry [--goods N] [--lines M] [--db FILE]
//
// The generated SQLite database is kept (default /tmp/kelmora-bench-entry-N-M.db)
// and reused by the next run.
#include "app/clock.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "data/connection.h"
#include "data/databasesetup.h"
#include "data/datamodule.h"
#include "data/dates.h"
#include "data/gridmodel.h"
#include "data/transaction.h"
#include "documents/dlggoodxz.h"
#include "documents/entrylinemodel.h"
#include "documents/entrylineview.h"
#include "documents/frmdeptgl.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

namespace {
const QStringList kBenchDepots {QStringLiteral("总仓"), QStringLiteral("门市仓"), QStringLiteral("原料仓")};

bool benchGenerate(Connection& c, int goods, int lines)
{
    Transaction tx(c);
    QSqlQuery q(c.db());
    for (const QString& d : kBenchDepots)
        if (!c.exec(QStringLiteral("insert into t_code(F_Name,F_type) values(:n,'depot')"), {{QStringLiteral("n"), d}}))
            return false;
    c.exec(QStringLiteral("insert into t_client(F_Code,F_Name,F_operFlag) values('S1','供应商',0)"));
    q.prepare(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Type,F_Spec,F_Unit,F_Barcode,F_EnterPrice,"
                             "F_SalePrice,F_Flag) values(?,?,?,?,?,?,?,?,0)"));
    for (int i = 1; i <= goods; ++i) {
        const QString code = QStringLiteral("G%1").arg(i, 6, 10, QLatin1Char('0'));
        q.addBindValue(code);
        q.addBindValue(QStringLiteral("货品%1").arg(i));
        q.addBindValue(QStringLiteral("\\\\类别%1").arg(i % 20));
        q.addBindValue(QStringLiteral("规格%1").arg(i % 7));
        q.addBindValue(QStringLiteral("个"));
        q.addBindValue(QStringLiteral("69%1").arg(i, 10, 10, QLatin1Char('0')));
        q.addBindValue(1.0 + i % 50);
        q.addBindValue(2.0 + i % 50);
        if (!q.exec()) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    QSqlQuery m(c.db());
    m.prepare(QStringLiteral("insert into DepotM(F_Code,F_Depot,F_Client,F_Flag,F_OperFlag,F_Date,F_MakeDate) "
                             "values(?,?,?,?,?,?,?)"));
    QSqlQuery d(c.db());
    d.prepare(QStringLiteral("insert into DepotD(F_Code,F_GoodCode,F_GoodName,F_Amount,F_Price,F_TotalPrice,F_CBprice) "
                             "values(?,?,?,?,?,?,?)"));
    const int perDoc = 20;
    const QString day = Dates::sqlDate(QDate(2023, 6, 1));
    for (int doc = 0; doc * perDoc < lines; ++doc) {
        const bool receipt = doc % 3 != 2;
        const QString code = (receipt ? QStringLiteral("CGD") : QStringLiteral("XSD"))
            + QStringLiteral("2023%1").arg(doc, 7, 10, QLatin1Char('0'));
        m.addBindValue(code);
        m.addBindValue(kBenchDepots.at(doc % kBenchDepots.size()));
        m.addBindValue(QStringLiteral("供应商"));
        m.addBindValue(receipt ? 1 : -2);
        m.addBindValue(receipt ? 1 : -1);
        m.addBindValue(day);
        m.addBindValue(day);
        if (!m.exec())
            return false;
        for (int l = 0; l < perDoc && doc * perDoc + l < lines; ++l) {
            const int g = 1 + int((quint64(doc) * 7919u + quint64(l) * 104729u) % quint64(goods));
            d.addBindValue(code);
            d.addBindValue(QStringLiteral("G%1").arg(g, 6, 10, QLatin1Char('0')));
            d.addBindValue(QStringLiteral("货品%1").arg(g));
            d.addBindValue(double(1 + l % 5));
            d.addBindValue(3.0);
            d.addBindValue(3.0 * (1 + l % 5));
            d.addBindValue(3.0 * (1 + l % 5));
            if (!d.exec())
                return false;
        }
    }
    return tx.commit();
}

double benchMs(QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int goods = 100000, lines = 1000000;
    QString file;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--goods"))
            goods = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--lines"))
            lines = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--db"))
            file = args.at(i + 1);
    }
    if (file.isEmpty())
        file = QStringLiteral("/tmp/kelmora-bench-entry-%1-%2.db").arg(goods).arg(lines);
    ConnectionSettings s;
    s.backend = ConnectionSettings::SQLite;
    s.server = QStringLiteral("(Local)");
    s.database = file;
    s.sqlitePath = file;
    const bool fresh = !QFile::exists(file);
    if (fresh) {
        DatabaseSetup setup;
        if (!setup.create(s, DatabaseSetup::Options())) {
            std::fprintf(stderr, "setup: %s\n", qPrintable(setup.errorString()));
            return 1;
        }
    }
    DataModule dmod;
    if (!dmod.connect(s)) {
        std::fprintf(stderr, "connect: %s\n", qPrintable(dmod.errorString()));
        return 1;
    }
    DataModule::setInstance(&dmod);
    if (fresh) {
        QElapsedTimer g;
        g.start();
        if (!benchGenerate(dmod.connection(), goods, lines)) {
            std::fprintf(stderr, "generate failed: %s\n", qPrintable(dmod.connection().errorString()));
            QFile::remove(file);
            return 1;
        }
        std::printf("generated %d goods, %d lines in %.0f ms\n", goods, lines, benchMs(g));
    }
    ScriptedMessenger msg;
    msg.setDefaultAnswer(Messenger::Yes);
    Session ses;
    ses.operCode = QStringLiteral("000");
    ses.operName = QStringLiteral("系统管理员");
    ses.rNew = ses.rEdit = ses.rDel = ses.rCheck = ses.rSet = ses.rPrice = true;
    Session::current() = ses;
    SysOptions::current().costingMode = 1;
    Clock::setFixedDate(QDate(2024, 1, 15));

    TFrmDeptGl w(1);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    w.findChild<QToolButton*>(QStringLiteral("tbNew"))->click();
    w.findChild<QLineEdit*>(QStringLiteral("cbeClient"))->setText(QStringLiteral("供应商"));

    // 1. Opening the picker: stock table build, first list and stock grid shown.
    for (int run = 0; run < 3; ++run) {
        TDlgGoodXz dlg(&w);
        dlg.setMode(1);
        dlg.setTarget(&w);
        QElapsedTimer t;
        t.start();
        dlg.prepare();
        dlg.selectTreeNode(0);
        QCoreApplication::processEvents();
        std::printf("picker open (run %d): %.0f ms, %d goods listed, %d stock rows for %s\n", run + 1, benchMs(t),
            dlg.goodsCount(), dlg.stockModel()->rowCount(), qPrintable(dlg.currentGoodsCode()));
    }

    // 2. Enter on a typed goods code.
    EntryLineModel* m = w.lineModel();
    const int codeCol = m->columnOf(QStringLiteral("F_GoodCode"));
    QList<double> enter;
    for (int i = 0; i < 50; ++i) {
        const int row = m->rowCount() - 1;
        const QString code = QStringLiteral("G%1").arg(1 + (i * 1999) % goods, 6, 10, QLatin1Char('0'));
        m->setData(m->index(row, codeCol), code);
        w.lineView()->setCurrentIndex(m->index(row, codeCol));
        QElapsedTimer t;
        t.start();
        w.gridEnter();
        enter << benchMs(t);
        if (m->line(row).goodCode != code || m->line(row).goodName.isEmpty()) {
            std::fprintf(stderr, "line %d not filled\n", row);
            return 1;
        }
        m->appendLine();
    }
    std::sort(enter.begin(), enter.end());
    double sum = 0;
    for (double v : enter)
        sum += v;
    std::printf("typed code + Enter: mean %.1f ms, median %.1f ms, max %.1f ms (%d lines)\n", sum / enter.size(),
        enter.at(enter.size() / 2), enter.last(), int(enter.size()));
    w.findChild<QToolButton*>(QStringLiteral("tbCancel"))->click();

    // 3. Saving a 200-line document: a purchase receipt, and a sales issue (availability check).
    // Negative stock allowed and every question answered yes: the check walks all 200 lines.
    SysOptions::current().negativeStock = true;
    for (int kind : {1, -2}) {
        TFrmDeptGl doc(kind);
        doc.setAttribute(Qt::WA_DeleteOnClose, false);
        doc.show();
        doc.findChild<QToolButton*>(QStringLiteral("tbNew"))->click();
        doc.findChild<QLineEdit*>(QStringLiteral("cbeClient"))->setText(QStringLiteral("供应商"));
        QComboBox* depot = doc.findChild<QComboBox*>(QStringLiteral("cbbDepot"));
        depot->setCurrentIndex(depot->findText(kBenchDepots.first()));
        for (int i = 0; i < 200; ++i)
            doc.addPickedGood(QStringLiteral("G%1").arg(1 + (i * 37) % goods, 6, 10, QLatin1Char('0')));
        QElapsedTimer t;
        t.start();
        doc.findChild<QToolButton*>(QStringLiteral("tbSave"))->click();
        const double ms = benchMs(t);
        if (!doc.isBrowsing())
            std::printf("  messages: %s\n", qPrintable(msg.texts().join(QLatin1Char('|'))));
        const qint64 saved = dmod.GetSqlInt(QStringLiteral("select count(*) from DepotD where F_Code = :c"),
            {{QStringLiteral("c"), doc.currentCode()}});
        std::printf("save 200 lines, kind %d: %.0f ms (%lld lines written, %s)\n", kind, ms, saved,
            doc.isBrowsing() ? "saved" : "not saved");
        // Leave the database as generated for the next run.
        dmod.ExecSql(
            QStringLiteral("delete from DepotD where F_Code = :c"), {{QStringLiteral("c"), doc.currentCode()}});
        dmod.ExecSql(
            QStringLiteral("delete from DepotM where F_Code = :c"), {{QStringLiteral("c"), doc.currentCode()}});
    }
    return 0;
}
