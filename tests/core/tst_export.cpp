#include "data/export/biff8writer.h"
#include "data/export/gridexporter.h"
#include "data/workbook/workbookreader.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The export formats: golden files for the text formats, and the two workbook
// formats read back cell for cell through our workbook reader.
class TestExport : public QObject
{
    Q_OBJECT

private:
    static ExportTable fixture()
    {
        const QList<ExportTable::Column> cols {
            {QStringLiteral("货品编号"), QString(), -1},
            {QStringLiteral("名称"), QString(), -1},
            {QStringLiteral("数量"), QStringLiteral("0.##"), -1},
            {QStringLiteral("单价"), QStringLiteral(",0.00"), -1},
            {QStringLiteral("金额"), QStringLiteral(",0.00"), 2},
            {QStringLiteral("日期"), QString(), 1},
        };
        const QList<QVariantList> rows {
            {QStringLiteral("A001"), QStringLiteral("螺丝 M6, \"加长\""), 12.5, 1234.5, 15431.25,
                QStringLiteral("2024-03-05 00:00:00")},
            {QStringLiteral("B-02"), QStringLiteral("两行\n说明 <b>&"), 3, 0.1, 0.3, QDate(2024, 12, 31)},
            {QStringLiteral("C{3}\\"), QVariant(), -2, 1000000, -2000000, QVariant()},
        };
        return ExportTable::fromRows(cols, rows);
    }

    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

private slots:
    void golden_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("txt") << int(GridExporter::Txt);
        QTest::newRow("htm") << int(GridExporter::Htm);
        QTest::newRow("rtf") << int(GridExporter::Rtf);
        QTest::newRow("csv") << int(GridExporter::Csv);
    }

    void golden()
    {
        QFETCH(int, type);
        QTemporaryDir dir;
        const QString ext = GridExporter::extension(type);
        const QString out = dir.filePath(QStringLiteral("goods.") + ext);
        QString err;
        QVERIFY2(GridExporter::write(fixture(), out, type, &err), qPrintable(err));
        const QString golden = QStringLiteral(KELMORA_TEST_DATA "/export/goods.") + ext;
        if (qEnvironmentVariableIsSet("KELMORA_UPDATE_GOLDEN")) {
            QFile::remove(golden);
            QFile::copy(out, golden);
        }
        const QByteArray expected = readAll(golden);
        QVERIFY2(!expected.isEmpty(), qPrintable(golden));
        QCOMPARE(readAll(out), expected);
    }

    void workbookRoundTrip_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("xls") << int(GridExporter::Xls);
        QTest::newRow("xlsx") << int(GridExporter::Xlsx);
    }

    void workbookRoundTrip()
    {
        QFETCH(int, type);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("goods.") + GridExporter::extension(type));
        QString err;
        const ExportTable t = fixture();
        QVERIFY2(GridExporter::write(t, out, type, &err), qPrintable(err));
        auto r = WorkbookReader::open(out, &err);
        QVERIFY2(r, qPrintable(err));
        QCOMPARE(r->sheetNames(), QStringList {QStringLiteral("Sheet1")});
        QList<QStringList> rows;
        QVERIFY2(r->readSheet(0, &rows), qPrintable(r->errorString()));
        QCOMPARE(rows.size(), t.rowCount + 1);
        for (int c = 0; c < t.columns.size(); ++c)
            QCOMPARE(rows.at(0).at(c), t.columns.at(c).title);
        // Numbers are real numbers: the reader sees the value, not the formatted text.
        const QList<QStringList> expected {
            {QStringLiteral("A001"), QStringLiteral("螺丝 M6, \"加长\""), QStringLiteral("12.5"),
                QStringLiteral("1234.5"), QStringLiteral("15431.25"), QStringLiteral("2024-03-05")},
            {QStringLiteral("B-02"), QStringLiteral("两行\n说明 <b>&"), QStringLiteral("3"), QStringLiteral("0.1"),
                QStringLiteral("0.3"), QStringLiteral("2024-12-31")},
            {QStringLiteral("C{3}\\"), QString(), QStringLiteral("-2"), QStringLiteral("1000000"),
                QStringLiteral("-2000000"), QString()},
        };
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(rows.at(i + 1), expected.at(i));
    }

    // Enough rows for CONTINUE records in the string table and several FAT sectors,
    // and long strings that cross record boundaries.
    void bigXls()
    {
        QList<QVariantList> rows;
        for (int i = 0; i < 20000; ++i)
            rows << QVariantList {QStringLiteral("货品%1").arg(i), double(i) / 4,
                QString::number(i) + QString(i % 10 == 0 ? 4000 : 300, QChar(0x4E00 + i % 50))};
        const ExportTable t
            = ExportTable::fromRows({{QStringLiteral("名称"), QString(), -1}, {QStringLiteral("数量"), QString(), -1},
                                        {QStringLiteral("说明"), QString(), -1}},
                rows);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("big.xls"));
        QString err;
        QVERIFY2(GridExporter::write(t, out, GridExporter::Xls, &err), qPrintable(err));
        QVERIFY(QFileInfo(out).size() > 109 * 128 * 512); // beyond the FAT sectors the header lists
        auto r = WorkbookReader::open(out, &err);
        QVERIFY2(r, qPrintable(err));
        QList<QStringList> back;
        QVERIFY2(r->readSheet(0, &back), qPrintable(r->errorString()));
        QCOMPARE(back.size(), 20001);
        for (int i : {0, 1, 4321, 19999}) {
            QCOMPARE(back.at(i + 1).at(0), rows.at(i).at(0).toString());
            QCOMPARE(back.at(i + 1).at(1).toDouble(), rows.at(i).at(1).toDouble());
            QCOMPARE(back.at(i + 1).at(2), rows.at(i).at(2).toString());
        }
    }

    void xlsRowLimit()
    {
        ExportTable t;
        t.columns = {{QStringLiteral("n"), QString(), -1}};
        t.rowCount = 70000;
        t.value = [](qsizetype r, int) { return QVariant(double(r)); };
        QTemporaryDir dir;
        QString err;
        QVERIFY(!GridExporter::write(t, dir.filePath(QStringLiteral("x.xls")), GridExporter::Xls, &err));
        QVERIFY2(err.contains(QLatin1String("xlsx")), qPrintable(err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.xls"))));
        QVERIFY2(
            GridExporter::write(t, dir.filePath(QStringLiteral("x.xlsx")), GridExporter::Xlsx, &err), qPrintable(err));
        auto r = WorkbookReader::open(dir.filePath(QStringLiteral("x.xlsx")), &err);
        QVERIFY(r);
        QList<QStringList> back;
        QVERIFY(r->readSheet(0, &back));
        QCOMPARE(back.size(), 70001);
        QCOMPARE(back.last().first(), QStringLiteral("69999"));
    }

    void unwritableFile()
    {
        QString err;
        for (int type = 1; type <= 6; ++type) {
            QVERIFY(!GridExporter::write(fixture(), QStringLiteral("/nonexistent-dir/x"), type, &err));
            QVERIFY(!err.isEmpty());
        }
    }

    // The check a person would make: a spreadsheet program opens both workbooks and
    // shows the same cells. Runs where LibreOffice is installed.
    void libreOfficeOpensWorkbooks_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("xls") << int(GridExporter::Xls);
        QTest::newRow("xlsx") << int(GridExporter::Xlsx);
    }

    void libreOfficeOpensWorkbooks()
    {
        QFETCH(int, type);
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("goods.") + GridExporter::extension(type));
        QString err;
        QVERIFY2(GridExporter::write(fixture(), file, type, &err), qPrintable(err));
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(soffice,
            {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                dir.filePath(QStringLiteral("out")), file});
        QVERIFY(p.waitForFinished(180000));
        const QByteArray csv = readAll(dir.filePath(QStringLiteral("out/goods.csv")));
        QVERIFY2(!csv.isEmpty(), p.readAllStandardError().constData());
        const QString expected
            = QStringLiteral("货品编号,名称,数量,单价,金额,日期\n"
                             "A001,\"螺丝 M6, \"\"加长\"\"\",12.5,\"1,234.50\",\"15,431.25\",2024-03-05\n"
                             "B-02,\"两行\n说明 <b>&\",3,0.10,0.30,2024-12-31\n"
                             "C{3}\\,,-2,\"1,000,000.00\",\"-2,000,000.00\",\n");
        QString got = QString::fromUtf8(csv);
        got.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        QCOMPARE(got, expected);
    }

    void extensionRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("result");
        QTest::newRow("no extension") << QStringLiteral("/tmp/goods") << 2 << QStringLiteral("/tmp/goods.txt");
        QTest::newRow("upper case kept") << QStringLiteral("/tmp/goods.TXT") << 2 << QStringLiteral("/tmp/goods.TXT");
        QTest::newRow("no dot kept") << QStringLiteral("/tmp/goodstxt") << 2 << QStringLiteral("/tmp/goodstxt");
        QTest::newRow("other extension") << QStringLiteral("/tmp/goods.csv") << 1
                                         << QStringLiteral("/tmp/goods.csv.xls");
        QTest::newRow("xlsx") << QStringLiteral("/tmp/goods") << 6 << QStringLiteral("/tmp/goods.xlsx");
        QTest::newRow("xlsx kept") << QStringLiteral("/tmp/goods.XLSX") << 6 << QStringLiteral("/tmp/goods.XLSX");
    }

    void extensionRule()
    {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, result);
        QCOMPARE(GridExporter::withExtension(typed, type), result);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
