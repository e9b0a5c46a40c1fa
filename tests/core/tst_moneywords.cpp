#include "data/moneywords.h"

#include <QtTest>

class TestMoneyWords : public QObject
{
    Q_OBJECT
private slots:
    void words_data();
    void words();
};

void TestMoneyWords::words_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1005.50") << 1005.50 << QStringLiteral("壹千零佰零拾伍元伍角零分");
    QTest::newRow("100.00 whole") << 100.00 << QStringLiteral("壹佰零拾零元整");
    QTest::newRow("0.50") << 0.50 << QStringLiteral("零元伍角零分");
    QTest::newRow("zero") << 0.0 << QStringLiteral("零元整");
    QTest::newRow("0.125 rounds up") << 0.125 << QStringLiteral("零元壹角叁分");
    QTest::newRow("0.005 rounds up") << 0.005 << QStringLiteral("零元零角壹分");
    QTest::newRow("0.004 rounds down") << 0.004 << QStringLiteral("零元整");
    QTest::newRow("1.005 rounds on the decimal text") << 1.005 << QStringLiteral("壹元零角壹分");
    QTest::newRow("9.995 carries") << 9.995 << QStringLiteral("壹拾零元整");
    QTest::newRow("negative drops sign") << -1005.50 << QStringLiteral("壹千零佰零拾伍元伍角零分");
    QTest::newRow("negative rounds away from zero") << -0.125 << QStringLiteral("零元壹角叁分");
    QTest::newRow("whole with cents 10") << 12.10 << QStringLiteral("壹拾贰元壹角零分");
    QTest::newRow("ten thousands") << 23456.78 << QStringLiteral("贰万叁千肆佰伍拾陆元柒角捌分");
    QTest::newRow("largest covered") << 999999999999.99
                                     << QStringLiteral("玖千玖佰玖十玖亿玖千玖佰玖拾玖万玖千玖佰玖拾玖元玖角玖分");
    QTest::newRow("position 9 is 十") << 1000000000.0 << QStringLiteral("壹十零亿零千零佰零拾零万零千零佰零拾零元整");
    QTest::newRow("beyond the table continues")
        << 1e12 << QStringLiteral("壹万零千零佰零十零亿零千零佰零拾零万零千零佰零拾零元整");
    QTest::newRow("too large is empty") << 1e16 << QString();
    QTest::newRow("nan is empty") << std::nan("") << QString();
}

void TestMoneyWords::words()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(MoneyMinToBig(amount), expected);
}

QTEST_GUILESS_MAIN(TestMoneyWords)
#include "tst_moneywords.moc"
