#include "app/clock.h"
#include "data/dates.h"

#include <QtTest>

class TestDates : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void blankDates();
    void boundFormHasOneShape();
    void clockCanBeFixed();
    void databaseValues();
};

void TestDates::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("date") << "2024-01-15" << QDate(2024, 1, 15);
    QTest::newRow("with time") << "2024-01-15 13:45:10" << QDate(2024, 1, 15);
    QTest::newRow("iso T") << "2024-01-15T13:45:10" << QDate(2024, 1, 15);
    QTest::newRow("fraction") << "2024-01-15 13:45:10.123" << QDate(2024, 1, 15);
    QTest::newRow("blanks") << "  2024-02-29 " << QDate(2024, 2, 29);
    QTest::newRow("not a leap day") << "2023-02-29" << QDate();
    QTest::newRow("slashes") << "2024/01/15" << QDate();
    QTest::newRow("short") << "2024-1-5" << QDate();
    QTest::newRow("garbage time") << "2024-01-15 xx" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestDates::parse()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(Dates::parseDate(text), date);
}

void TestDates::blankDates()
{
    QCOMPARE(Dates::emptyDate(), QDate(1900, 8, 14));
    QVERIFY(Dates::isBlank(Dates::emptyDate()));
    QVERIFY(Dates::isBlank(QDate(1901, 8, 13)));
    QVERIFY(!Dates::isBlank(QDate(1901, 8, 14)));
    QVERIFY(Dates::isBlank(QDate()));
}

void TestDates::boundFormHasOneShape()
{
    QCOMPARE(Dates::sqlDate(QDate(2024, 3, 9)), QStringLiteral("2024-03-09 00:00:00"));
    QCOMPARE(Dates::sqlDateTime(QDateTime(QDate(2024, 3, 9), QTime(8, 5, 1))), QStringLiteral("2024-03-09 08:05:01"));
    // Text order equals date order, which is what SQLite compares.
    QVERIFY(Dates::sqlDate(QDate(2024, 3, 9)) < Dates::sqlDateTime(QDateTime(QDate(2024, 3, 9), QTime(0, 0, 1))));
    QVERIFY(Dates::sqlDate(QDate(2024, 3, 9)) < Dates::sqlDate(QDate(2024, 3, 10)));
}

void TestDates::clockCanBeFixed()
{
    Clock::setFixedDate(QDate(2030, 5, 6));
    QCOMPARE(Clock::today(), QDate(2030, 5, 6));
    Clock::setFixed(QDateTime());
    QCOMPARE(Clock::today(), QDate::currentDate());
    qputenv("KELMORA_TODAY", "2029-12-31");
    QCOMPARE(Clock::today(), QDate(2029, 12, 31));
    qunsetenv("KELMORA_TODAY");
}

void TestDates::databaseValues()
{
    QCOMPARE(Dates::toDate(QVariant(QStringLiteral("2024-05-01 00:00:00"))), QDate(2024, 5, 1));
    QCOMPARE(Dates::toDate(QVariant(QDateTime(QDate(2024, 5, 1), QTime(10, 0)))), QDate(2024, 5, 1));
    QCOMPARE(Dates::toDate(QVariant(QDate(2024, 5, 1))), QDate(2024, 5, 1));
    QCOMPARE(Dates::toDate(QVariant()), QDate());
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
