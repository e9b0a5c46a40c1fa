// kelmora-test: pg
#include "app/clock.h"
#include "app/messenger.h"
#include "app/session.h"
#include "app/sysoptions.h"
#include "cli/cliapp.h"
#include "data/datamodule.h"
#include "support/testdatabase.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QtTest>

namespace {
struct CliRun
{
    int status;
    QString out, err;
};

CliRun cliRun(const TestDatabase& tdb, QStringList args, const QString& input = {})
{
    QString out, err;
    QTextStream o(&out), e(&err);
    CliApp app(o, e);
    args.prepend(tdb.configPath());
    args.prepend(QStringLiteral("--config"));
    const int status = app.run(args, QString(), input);
    o.flush();
    e.flush();
    return {status, out.trimmed(), err.trimmed()};
}

QString cliBinary()
{
    return QStringLiteral(KELMORA_BIN_DIR "/kelmora-cli");
}

QString cliJson(int kind, const QString& depot, const QString& client, const QString& lines)
{
    return QStringLiteral("{\"kind\":%1,\"date\":\"2024-01-10\",\"depot\":\"%2\",\"client\":\"%3\",\"handler\":\"\","
                          "\"oldCode\":\"\",\"memo\":\"\",\"lines\":[%4]}")
        .arg(kind)
        .arg(depot, client, lines);
}
} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        qputenv("KELMORA_TODAY", "2024-01-15");
        SysOptions::current() = SysOptions();
    }
    void cleanup()
    {
        qunsetenv("KELMORA_TODAY");
        Clock::setFixed(QDateTime());
    }
    void usageErrors_data();
    void usageErrors();
    void loginAndRights();
    void endToEnd();
    void stocktakingAndTransfer();
    void racingProcesses();
    void moneyWords_data();
    void moneyWords();
};

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("no command") << QStringList {} << 1;
    QTest::newRow("unknown command") << QStringList {QStringLiteral("fly")} << 1;
    QTest::newRow("stock without depot") << QStringList {QStringLiteral("stock"), QStringLiteral("G1")} << 1;
    QTest::newRow("kind not a number") << QStringList {QStringLiteral("next-code"), QStringLiteral("x")} << 1;
    QTest::newRow("unknown kind") << QStringList {QStringLiteral("next-code"), QStringLiteral("6")} << 1;
    QTest::newRow("bad option value") << QStringList {QStringLiteral("options"), QStringLiteral("--costing"),
        QStringLiteral("5")} << 1;
    QTest::newRow("post without JSON") << QStringList {QStringLiteral("post")} << 1;
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const CliRun r = cliRun(tdb, args);
    QCOMPARE(r.status, status);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(r.out.isEmpty());
}

void TestCli::loginAndRights()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QCOMPARE(cliRun(tdb, {QStringLiteral("--password"), QStringLiteral("x"), QStringLiteral("options")}).status, 2);
    QCOMPARE(cliRun(tdb, {QStringLiteral("--operator"), QStringLiteral("999"), QStringLiteral("options")}).status, 2);
    // An operator whose role holds no actions may look but not post or set options.
    QVERIFY(tdb.connection().exec(QStringLiteral(
        "insert into OperList (F_Code, F_Name, F_PassWord, F_PartCode, F_Flag, F_new, F_price, F_ckFlag) "
        "values ('001', 'clerk', '', '01', 0, 1, 0, 0)")));
    const QStringList clerk {QStringLiteral("--operator"), QStringLiteral("001")};
    QCOMPARE(
        cliRun(tdb, clerk + QStringList {QStringLiteral("stock"), QStringLiteral("G1"), QStringLiteral("A")}).status,
        0);
    QCOMPARE(cliRun(tdb, clerk + QStringList {QStringLiteral("cost"), QStringLiteral("G1")}).status, 2);
    QCOMPARE(
        cliRun(tdb, clerk + QStringList {QStringLiteral("options"), QStringLiteral("--costing"), QStringLiteral("0")})
            .status,
        2);
    const CliRun post = cliRun(tdb, clerk + QStringList {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(1, QStringLiteral("A"), QStringLiteral("S"), QString()));
    QCOMPARE(post.status, 2);
    QVERIFY(post.err.contains(QStringLiteral("301")));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from DepotM")), 0);
    // With the role's right the clerk posts, and is the maker.
    QVERIFY(
        tdb.connection().exec(QStringLiteral("insert into PartLimit (F_PartCode, F_LmtCode) values ('01', '301')")));
    const CliRun ok = cliRun(tdb, clerk + QStringList {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(1, QStringLiteral("A"), QStringLiteral("S"), QString()));
    QCOMPARE(ok.status, 0);
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_Maker from DepotM")), QStringLiteral("clerk"));
    // Only 000 un-audits.
    QCOMPARE(cliRun(tdb, clerk + QStringList {QStringLiteral("unaudit"), ok.out}).status, 2);
}

void TestCli::endToEnd()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_Unit,F_EnterPrice,F_SalePrice,F_Flag) "
                                  "values('G001','螺丝','个',8,12.5,0)")));
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values('甲仓','G001',10,8,80)")));
    CliRun r = cliRun(tdb, {QStringLiteral("options")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("costing=1\nnegative-stock=0\nlast-price=1"));
    r = cliRun(tdb, {QStringLiteral("options"), QStringLiteral("--last-price"), QStringLiteral("3")});
    QCOMPARE(r.out, QStringLiteral("costing=1\nnegative-stock=0\nlast-price=3"));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select F_b4 from SysInfo")), 1);

    r = cliRun(tdb, {QStringLiteral("next-code"), QStringLiteral("1")});
    QCOMPARE(r.out, QStringLiteral("CGD20240115001"));
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(1, QStringLiteral("甲仓"), QStringLiteral("供应商甲"),
            QStringLiteral("{\"goods\":\"G001\",\"amount\":5,\"price\":10,\"memo\":\"m\"}")));
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("CGD20240115001"));
    QCOMPARE(tdb.dataModule().GetSqlStr(QStringLiteral("select F_GoodName from DepotD")), QStringLiteral("螺丝"));
    QCOMPARE(tdb.dataModule().GetSqlFloat(QStringLiteral("select F_CBprice from DepotD")), 50.0);
    QCOMPARE(cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G001"), QStringLiteral("甲仓")}).out,
        QStringLiteral("15"));
    QCOMPARE(cliRun(tdb,
                 {QStringLiteral("stock"), QStringLiteral("G001"), QStringLiteral("甲仓"),
                     QStringLiteral("--leave-out"), QStringLiteral("CGD20240115001")})
                 .out,
        QStringLiteral("10"));
    QCOMPARE(cliRun(tdb, {QStringLiteral("cost"), QStringLiteral("G001")}).out, QStringLiteral("8.66666666666667"));

    // Too many: refused with the blocking message, nothing written.
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(-2, QStringLiteral("甲仓"), QStringLiteral("某客户"),
            QStringLiteral("{\"goods\":\"G001\",\"amount\":20}")));
    QCOMPARE(r.status, 2);
    QCOMPARE(
        r.err, QStringLiteral("货品 \"G001\" 在仓库 \"甲仓\" 中已经不足，操作会造成库存为 \"-5\"，当前操作不能继续！"));
    // No price given: the sale price (no earlier sale to this client).
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(
            -2, QStringLiteral("甲仓"), QStringLiteral("某客户"), QStringLiteral("{\"goods\":\"G001\",\"amount\":4}")));
    QCOMPARE(r.status, 0);
    const QString sale = r.out;
    QCOMPARE(sale, QStringLiteral("XSD20240115001"));
    QCOMPARE(tdb.dataModule().GetSqlFloat(
                 QStringLiteral("select F_Price from DepotD where F_Code = :c"), {{QStringLiteral("c"), sale}}),
        12.5);
    QCOMPARE(cliRun(tdb,
                 {QStringLiteral("last-price"), QStringLiteral("G001"), QStringLiteral("-2"),
                     QStringLiteral("--client"), QStringLiteral("某客户")})
                 .out,
        QStringLiteral("12.5"));
    QCOMPARE(cliRun(tdb,
                 {QStringLiteral("last-price"), QStringLiteral("G001"), QStringLiteral("-2"),
                     QStringLiteral("--client"), QStringLiteral("别人")})
                 .out,
        QStringLiteral("0"));
    QCOMPARE(cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G001"), QStringLiteral("甲仓")}).out,
        QStringLiteral("11"));

    // Negative stock allowed: the question, answered by --yes.
    QCOMPARE(
        cliRun(tdb, {QStringLiteral("options"), QStringLiteral("--negative-stock"), QStringLiteral("1")}).status, 0);
    const QString tooMany = cliJson(-2, QStringLiteral("甲仓"), QStringLiteral("某客户"),
        QStringLiteral("{\"goods\":\"G001\",\"amount\":12,\"price\":13}"));
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-")}, tooMany);
    QCOMPARE(r.status, 2);
    QVERIFY(r.err.endsWith(QStringLiteral("当前操作继续吗？")));
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-"), QStringLiteral("--yes")}, tooMany);
    QCOMPARE(r.status, 0);
    QCOMPARE(cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G001"), QStringLiteral("甲仓")}).out,
        QStringLiteral("-1"));

    // Life cycle.
    QCOMPARE(cliRun(tdb, {QStringLiteral("audit"), sale}).status, 0);
    r = cliRun(tdb, {QStringLiteral("audit"), sale});
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, QStringLiteral("此单据已经审核！"));
    QCOMPARE(cliRun(tdb, {QStringLiteral("delete"), sale}).status, 2);
    QCOMPARE(cliRun(tdb, {QStringLiteral("unaudit"), sale}).status, 0);
    QCOMPARE(cliRun(tdb, {QStringLiteral("delete"), sale}).status, 0);
    QCOMPARE(cliRun(tdb, {QStringLiteral("delete"), sale}).status, 2);
    QCOMPARE(tdb.dataModule().GetSqlInt(
                 QStringLiteral("select count(*) from DepotD where F_Code = :c"), {{QStringLiteral("c"), sale}}),
        0);
    // Unknown goods: the message, nothing written.
    r = cliRun(tdb, {QStringLiteral("post"), QStringLiteral("-")},
        cliJson(1, QStringLiteral("甲仓"), QStringLiteral("S"), QStringLiteral("{\"goods\":\"NONE\",\"amount\":1}")));
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, QStringLiteral("货品\"NONE\"不存在，请检查输入？"));
}

void TestCli::stocktakingAndTransfer()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_EnterPrice,F_SalePrice,F_Flag) "
                                  "values('G1','甲',2,3,0)")));
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values('A','G1',10,2,20)")));
    CliRun r = cliRun(tdb, {QStringLiteral("post")},
        cliJson(10, QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("{\"goods\":\"G1\",\"amount\":3}")));
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.startsWith(QStringLiteral("DBD20240115")));
    QCOMPARE(
        cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G1"), QStringLiteral("A")}).out, QStringLiteral("7"));
    QCOMPARE(
        cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G1"), QStringLiteral("B")}).out, QStringLiteral("3"));
    // counted 5 against a book quantity of 7
    r = cliRun(tdb, {QStringLiteral("post")},
        cliJson(11, QStringLiteral("A"), QString(), QStringLiteral("{\"goods\":\"G1\",\"counted\":5}")));
    QCOMPARE(r.status, 0);
    QCOMPARE(tdb.dataModule().GetSqlFloat(
                 QStringLiteral("select F_Amount from DepotD where F_Code = :c"), {{QStringLiteral("c"), r.out}}),
        -2.0);
    QCOMPARE(tdb.dataModule().GetSqlFloat(
                 QStringLiteral("select F_curAmount from DepotD where F_Code = :c"), {{QStringLiteral("c"), r.out}}),
        7.0);
    QCOMPARE(
        cliRun(tdb, {QStringLiteral("stock"), QStringLiteral("G1"), QStringLiteral("A")}).out, QStringLiteral("5"));
    // A transfer into the sending depot itself is refused.
    r = cliRun(tdb, {QStringLiteral("post")},
        cliJson(10, QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("{\"goods\":\"G1\",\"amount\":1}")));
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, QStringLiteral("调出仓库跟调入仓库相同，请检查！"));
}

void TestCli::racingProcesses()
{
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    QVERIFY2(QFile::exists(cliBinary()), "build kelmora-cli first");
    Connection& c = tdb.connection();
    QVERIFY(c.exec(QStringLiteral("insert into t_goods(F_Code,F_Name,F_EnterPrice,F_SalePrice,F_Flag) "
                                  "values('G1','甲',2,3,0)")));
    QVERIFY(c.exec(QStringLiteral("insert into t_begDept(F_Depot,F_GoodCode,F_Amount,F_Price,F_totalPrice) "
                                  "values('A','G1',60,2,120)")));
    const QString config = tdb.configPath();
    auto race = [&](const QString& json, int n) {
        QList<QProcess*> procs;
        for (int i = 0; i < n; ++i) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KELMORA_TODAY"), QStringLiteral("2024-01-15"));
            p->setProcessEnvironment(env);
            procs << p;
        }
        // On the server a barrier lines them up: every process waits on a lock of
        // the goods table (taken before it fills its lines) until all are there.
        std::unique_ptr<Connection> gate = tdb.isPostgres() ? tdb.openAnother() : nullptr;
        if (gate) {
            gate->exec(QStringLiteral("BEGIN"));
            gate->exec(QStringLiteral("LOCK TABLE t_goods IN ACCESS EXCLUSIVE MODE"));
        }
        QFile file(QDir(tdb.dir()).filePath(QStringLiteral("race.json")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(json.toUtf8());
        file.close();
        for (QProcess* p : procs)
            p->start(cliBinary(), {QStringLiteral("--config"), config, QStringLiteral("post"), file.fileName()});
        if (gate) {
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 30000
                && tdb.dataModule().GetSqlInt(
                       QStringLiteral("select count(*) from pg_locks l join pg_class c on c.oid = l.relation "
                                      "where c.relname = 't_goods' and not l.granted"))
                    < n)
                QThread::msleep(20);
            gate->exec(QStringLiteral("COMMIT"));
        }
        QList<QPair<int, QString>> out;
        for (QProcess* p : procs) {
            p->waitForFinished(60000);
            out << qMakePair(p->exitCode(), QString::fromUtf8(p->readAllStandardOutput()).trimmed());
            delete p;
        }
        return out;
    };
    // Four workstations issue the last 60 at once, in 60 lines each (so the checks
    // take long enough to overlap): exactly one succeeds.
    QStringList sixty;
    for (int i = 0; i < 60; ++i)
        sixty << QStringLiteral("{\"goods\":\"G1\",\"amount\":1}");
    const auto issues = race(cliJson(-2, QStringLiteral("A"), QStringLiteral("K"), sixty.join(QLatin1Char(','))), 4);
    QList<int> statuses;
    for (const auto& r : issues)
        statuses << r.first;
    std::sort(statuses.begin(), statuses.end());
    QCOMPARE(statuses, (QList<int> {0, 2, 2, 2}));
    QCOMPARE(tdb.dataModule().GetSqlFloat(QStringLiteral("select sum(F_Amount) from DepotD")), 60.0);
    // Receipts racing for one code: every one saved under a code of its own.
    const auto receipts = race(
        cliJson(1, QStringLiteral("A"), QStringLiteral("S"), QStringLiteral("{\"goods\":\"G1\",\"amount\":1}")), 4);
    QSet<QString> codes;
    for (const auto& r : receipts) {
        QCOMPARE(r.first, 0);
        codes.insert(r.second);
    }
    QCOMPARE(codes.size(), 4);
    QVERIFY(codes.contains(QStringLiteral("CGD20240115001")));
    QCOMPARE(tdb.dataModule().GetSqlInt(QStringLiteral("select count(*) from DepotM where F_Flag = 1")), 4);
}

QTEST_GUILESS_MAIN(TestCli)

void TestCli::moneyWords_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::newRow("amount") << QStringList {QStringLiteral("money-words"), QStringLiteral("1005.50")} << 0
                            << QStringLiteral("壹千零佰零拾伍元伍角零分");
    QTest::newRow("not a number") << QStringList {QStringLiteral("money-words"), QStringLiteral("abc")} << 1
                                  << QString();
    QTest::newRow("missing") << QStringList {QStringLiteral("money-words")} << 1 << QString();
}

void TestCli::moneyWords()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    TestDatabase tdb;
    KELMORA_REQUIRE_DB(tdb);
    const CliRun r = cliRun(tdb, args);
    QCOMPARE(r.status, status);
    QCOMPARE(r.out, out);
}

#include "tst_cli.moc"
