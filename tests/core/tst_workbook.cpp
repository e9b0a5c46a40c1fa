#include "data/export/gridexporter.h"
#include "data/workbook/workbookreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Reading workbooks other programs wrote, and refusing files that are not workbooks.
class TestWorkbook : public QObject
{
    Q_OBJECT

private:
    static QString wb(const char* name)
    {
        return QStringLiteral(KELMORA_TEST_DATA "/workbooks/") + QLatin1String(name);
    }

private slots:
    void realWorkbooks_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("expected");
        // Dates in both date systems read the same day.
        for (const char* f : {"dates-1900.xls", "dates-1904.xls", "dates-1900-LibreOffice.xlsx"}) {
            QTest::addRow("%s A1", f) << wb(f) << 0 << 0 << 0 << QStringLiteral("2000-01-01");
            QTest::addRow("%s E1", f) << wb(f) << 0 << 0 << 4 << QStringLiteral("2000-01-01");
        }
        QTest::newRow("inline strings") << wb("inlineStr.xlsx") << 0 << 1 << 4 << QStringLiteral("RQ11610");
        QTest::newRow("inline header") << wb("inlineStr.xlsx") << 0 << 0 << 7 << QStringLiteral("Description");
        QTest::newRow("google number") << wb("iris-google-doc.xlsx") << 0 << 1 << 0 << QStringLiteral("5.1");
        QTest::newRow("google whole number") << wb("iris-google-doc.xlsx") << 0 << 2 << 1 << QStringLiteral("3");
        QTest::newRow("google text") << wb("iris-google-doc.xlsx") << 0 << 1 << 4 << QStringLiteral("setosa");
        QTest::newRow("no styles part") << wb("no-styles-or-sharedStrings-parts.xlsx") << 0 << 1 << 2
                                        << QStringLiteral("0.143292665");
        QTest::newRow("no shared strings")
            << wb("no-styles-or-sharedStrings-parts.xlsx") << 0 << 3 << 0 << QStringLiteral("turkish");
        QTest::newRow("ns prefix") << wb("nonstandard-xml-ns-prefix.xlsx") << 0 << 2 << 1 << QStringLiteral("4");
        for (const char* f : {"types.xls", "types.xlsx"}) {
            QTest::addRow("%s date", f) << wb(f) << 0 << 1 << 2 << QStringLiteral("2017-02-27");
            QTest::addRow("%s number", f) << wb(f) << 0 << 2 << 3 << QStringLiteral("2");
            // Formula cells: the results stored with them.
            QTest::addRow("%s formula number", f) << wb(f) << 0 << 4 << 3 << QStringLiteral("3");
            QTest::addRow("%s formula text", f) << wb(f) << 0 << 4 << 4 << QStringLiteral("HELLO");
            QTest::addRow("%s formula date", f) << wb(f) << 0 << 4 << 2 << QStringLiteral("2017-02-28");
            QTest::addRow("%s text", f) << wb(f) << 0 << 2 << 4 << QStringLiteral("world");
            QTest::addRow("%s blank", f) << wb(f) << 0 << 1 << 0 << QString();
        }
        QTest::newRow("xlsx boolean") << wb("types.xlsx") << 0 << 1 << 1 << QStringLiteral("TRUE");
        QTest::newRow("missing first column") << wb("missing-first-column.xls") << 0 << 0 << 1 << QStringLiteral("1");
    }

    void realWorkbooks()
    {
        QFETCH(QString, file);
        QFETCH(int, sheet);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, expected);
        QString err;
        auto r = WorkbookReader::open(file, &err);
        QVERIFY2(r, qPrintable(err));
        QList<QStringList> rows;
        QVERIFY2(r->readSheet(sheet, &rows), qPrintable(r->errorString()));
        QVERIFY(row < rows.size());
        QVERIFY(col < rows.at(row).size());
        QCOMPARE(rows.at(row).at(col), expected);
    }

    void sheetNamesAndHeaders()
    {
        QString err;
        // The .xls keeps its small streams in the compound file's mini stream.
        for (const char* f : {"utf8-sheet-names.xls", "utf8-sheet-names.xlsx"}) {
            auto r = WorkbookReader::open(wb(f), &err);
            QVERIFY2(r, qPrintable(err));
            const QStringList names = r->sheetNames();
            QVERIFY(names.size() >= 2);
            // Sheet names outside Latin-1 survive.
            bool nonLatin = false;
            for (const QString& n : names) {
                for (QChar c : n)
                    nonLatin = nonLatin || c.unicode() > 0xFF;
            }
            QVERIFY2(nonLatin, qPrintable(names.join(QLatin1Char('|'))));
        }
        auto r = WorkbookReader::open(wb("iris-google-doc.xlsx"), &err);
        QVERIFY(r);
        QCOMPARE(r->columnNames(0),
            QStringList({QStringLiteral("Sepal.Length"), QStringLiteral("Sepal.Width"), QStringLiteral("Petal.Length"),
                QStringLiteral("Petal.Width"), QStringLiteral("Species")}));
        QList<QStringList> rows;
        QVERIFY(r->readSheet(0, &rows));
        QCOMPARE(rows.size(), 151);
    }

    void emptySheets()
    {
        QString err;
        auto r = WorkbookReader::open(wb("empty-sheets.xlsx"), &err);
        QVERIFY2(r, qPrintable(err));
        QVERIFY(r->sheetNames().size() >= 2);
        bool sawEmpty = false;
        for (int i = 0; i < r->sheetNames().size(); ++i) {
            QList<QStringList> rows;
            QVERIFY(r->readSheet(i, &rows));
            sawEmpty = sawEmpty || rows.isEmpty();
        }
        QVERIFY(sawEmpty);
        QList<QStringList> rows;
        QVERIFY(!r->readSheet(99, &rows));
        QVERIFY(!r->errorString().isEmpty());
    }

    void badFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("text renamed .xls")
            << QByteArray("name,price\r\napple,1\r\n") << QStringLiteral("a.xls") << WorkbookReader::notWorkbookText();
        QTest::newRow("empty") << QByteArray() << QStringLiteral("e.xlsx") << WorkbookReader::emptyFileText();
        QFile f(wb("inlineStr.xlsx"));
        f.open(QIODevice::ReadOnly);
        const QByteArray good = f.readAll();
        QTest::newRow("truncated xlsx") << good.left(good.size() / 2) << QStringLiteral("t.xlsx")
                                        << WorkbookReader::damagedText();
        QFile x(wb("types.xls"));
        x.open(QIODevice::ReadOnly);
        const QByteArray xls = x.readAll();
        QTest::newRow("truncated xls") << xls.left(3000) << QStringLiteral("t.xls") << WorkbookReader::damagedText();
        // A compound file with an EncryptedPackage stream is how Excel stores a password-protected .xlsx.
        QByteArray enc = QByteArray::fromHex("D0CF11E0A1B11AE1");
        enc.append(1000, '\0');
        enc += QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
        QTest::newRow("encrypted") << enc << QStringLiteral("p.xlsx") << WorkbookReader::encryptedText();
    }

    void badFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QString err;
        auto r = WorkbookReader::open(path, &err);
        if (r) {
            // Some damage only shows when the sheet is read.
            QList<QStringList> rows;
            QVERIFY(!r->readSheet(0, &rows));
            err = r->errorString();
        }
        QCOMPARE(err, error);
    }

    // A string longer than two BIFF records is valid (spreadsheet programs read it) but
    // brings FreeXL down; the reader must answer with an error or the data, never crash.
    void freexlCrashIsContained()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("long.xls"));
        const ExportTable t = ExportTable::fromRows(
            {{QStringLiteral("说明"), QString(), -1}}, {{QString(9000, QChar(0x4E2D))}, {QStringLiteral("x")}});
        QString err;
        QVERIFY(GridExporter::write(t, path, GridExporter::Xls, &err));
        auto r = WorkbookReader::open(path, &err);
        if (r) {
            QList<QStringList> rows;
            QVERIFY(r->readSheet(0, &rows));
            QCOMPARE(rows.size(), 3);
        } else {
            QCOMPARE(err, WorkbookReader::damagedText());
        }
    }

    void missingFile()
    {
        QString err;
        QVERIFY(!WorkbookReader::open(QStringLiteral("/nonexistent/x.xls"), &err));
        QVERIFY(!err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWorkbook)
#include "tst_workbook.moc"
