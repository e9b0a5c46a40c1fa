#include "app/sysoptions.h"
#include "data/gridformat.h"

#include <QDate>
#include <QtTest>

// Column-name rules for display formats and price columns, and number formatting.
class TestGridFormat : public QObject
{
    Q_OBJECT

private:
    static GridFormat::Formats formats() { return {QStringLiteral("Q"), QStringLiteral("P"), QStringLiteral("A")}; }

private slots:
    void schemes_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("format"); // empty: no test matches, the column keeps its own
        QTest::addColumn<bool>("footerSum");
        // Scheme 1 (entry windows): the later test wins.
        QTest::newRow("1 rate") << 1 << "F_Rate"
                                << "Q" << false;
        QTest::newRow("1 rate needs underscore") << 1 << "Frate"
                                                 << "" << false;
        QTest::newRow("1 price") << 1 << "F_Price"
                                 << "P" << false;
        QTest::newRow("1 totalprice") << 1 << "F_TotalPrice"
                                      << "A" << false;
        QTest::newRow("1 cbprice") << 1 << "F_CBprice"
                                   << "A" << false;
        QTest::newRow("1 amount") << 1 << "F_Amount"
                                  << "Q" << false;
        QTest::newRow("1 amount after price") << 1 << "F_price_amount"
                                              << "Q" << false;
        QTest::newRow("1 name") << 1 << "F_GoodName"
                                << "" << false;
        // Scheme 3 (movement reports)
        QTest::newRow("3 begin") << 3 << "F_BeginAmount"
                                 << "Q" << false;
        QTest::newRow("3 beginprice") << 3 << "F_BeginPrice"
                                      << "A" << false;
        QTest::newRow("3 enterprice") << 3 << "F_EnterPrice"
                                      << "A" << false;
        QTest::newRow("3 out") << 3 << "F_OutAmount"
                               << "Q" << false;
        QTest::newRow("3 outprice") << 3 << "f_outprice"
                                    << "A" << false;
        QTest::newRow("3 end") << 3 << "F_EndAmount"
                               << "Q" << false;
        QTest::newRow("3 depot") << 3 << "F_Depot"
                                 << "" << false;
        // Scheme 6 (profit)
        QTest::newRow("6 price") << 6 << "F_Price"
                                 << "A" << false;
        QTest::newRow("6 rate") << 6 << "F_LirunRate"
                                << "Q" << false;
        QTest::newRow("6 price and rate") << 6 << "F_PriceRate"
                                          << "Q" << false;
        // Scheme 7 (queries): amount columns get a sum footer.
        QTest::newRow("7 price") << 7 << "F_TotalPrice"
                                 << "A" << false;
        QTest::newRow("7 amount") << 7 << "F_Amount"
                                  << "Q" << true;
        QTest::newRow("7 other") << 7 << "F_Code"
                                 << "" << false;
        QTest::newRow("unknown scheme") << 2 << "F_Price"
                                        << "" << false;
    }

    void schemes()
    {
        QFETCH(int, scheme);
        QFETCH(QString, field);
        QFETCH(QString, format);
        QFETCH(bool, footerSum);
        const GridFormat::ColumnFormat f = GridFormat::formatFor(field, scheme, formats());
        QCOMPARE(f.matched, !format.isEmpty());
        QCOMPARE(f.displayFormat, format);
        QCOMPARE(f.footerSum, footerSum);
    }

    void priceHandling_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("handling");
        QTest::addColumn<bool>("sees");
        QTest::addColumn<int>("action");
        using A = GridFormat::PriceAction;
        QTest::newRow("remove") << "F_TotalPrice" << 1 << false << int(A::Remove);
        QTest::newRow("hide") << "f_price" << 3 << false << int(A::Hide);
        QTest::newRow("handling 0") << "F_Price" << 0 << false << int(A::Keep);
        QTest::newRow("price right") << "F_Price" << 1 << true << int(A::Keep);
        QTest::newRow("not a price") << "F_Amount" << 1 << false << int(A::Keep);
        QTest::newRow("cbprice") << "F_CBPRICE" << 3 << false << int(A::Hide);
    }

    void priceHandling()
    {
        QFETCH(QString, field);
        QFETCH(int, handling);
        QFETCH(bool, sees);
        QFETCH(int, action);
        QCOMPARE(int(GridFormat::priceAction(field, handling, sees)), action);
    }

    void formatNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("qty 2") << 12.5 << "0.##"
                               << "12.5";
        QTest::newRow("qty whole") << 12.0 << "0.##"
                                   << "12";
        QTest::newRow("qty round") << 1.005 << "0.##"
                                   << "1.01";
        QTest::newRow("qty 0 dec") << 12.6 << "0."
                                   << "13";
        QTest::newRow("money") << 1234567.891 << ",0.00"
                               << "1,234,567.89";
        QTest::newRow("money small") << 0.5 << ",0.00"
                                     << "0.50";
        QTest::newRow("money negative") << -1234.5 << ",0.00"
                                        << "-1,234.50";
        QTest::newRow("money 4") << 2.12345 << ",0.00##"
                                 << "2.1235";
        QTest::newRow("money 4 short") << 2.1 << ",0.00##"
                                       << "2.10";
        QTest::newRow("excel style") << 1234.5 << "#,##0.00"
                                     << "1,234.50";
        QTest::newRow("binary noise") << 2.675 << ",0.00"
                                      << "2.68";
        QTest::newRow("negative rounds to zero") << -0.001 << "0.##"
                                                 << "0";
        QTest::newRow("literal suffix") << 12.0 << "0.0%"
                                        << "12.0%";
        QTest::newRow("plain") << 0.1 + 0.2 << ""
                               << "0.3";
        QTest::newRow("plain big") << 123456789012.0 << ""
                                   << "123456789012";
    }

    void formatNumber()
    {
        QFETCH(double, value);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(GridFormat::formatNumber(value, format), text);
    }

    void displayText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("null") << QVariant() << ",0.00"
                              << "";
        QTest::newRow("number") << QVariant(3.5) << ",0.00"
                                << "3.50";
        QTest::newRow("numeric text with format") << QVariant(QStringLiteral("3.5")) << ",0.00"
                                                  << "3.50";
        QTest::newRow("text without format") << QVariant(QStringLiteral("007")) << ""
                                             << "007";
        QTest::newRow("sqlite date") << QVariant(QStringLiteral("2024-01-02 00:00:00")) << ""
                                     << "2024-01-02";
        QTest::newRow("sqlite stamp") << QVariant(QStringLiteral("2024-01-02 10:11:12")) << ""
                                      << "2024-01-02 10:11:12";
        QTest::newRow("pg date") << QVariant(QDateTime(QDate(2024, 1, 2), QTime(0, 0))) << ""
                                 << "2024-01-02";
    }

    void displayText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, text);
        QCOMPARE(GridFormat::displayText(value, format), text);
    }

    void optionsFormats()
    {
        SysOptions o;
        o.iAmount = 3;
        o.iPrice = 4;
        o.iTotal = 2;
        const GridFormat::Formats f = GridFormat::Formats::fromOptions(o);
        QCOMPARE(GridFormat::formatNumber(1.23456, f.quantity), QStringLiteral("1.235"));
        QCOMPARE(GridFormat::formatNumber(1234.5, f.price), QStringLiteral("1,234.50"));
        QCOMPARE(GridFormat::formatNumber(1234.567, f.amount), QStringLiteral("1,234.57"));
    }
};

QTEST_GUILESS_MAIN(TestGridFormat)
#include "tst_gridformat.moc"
