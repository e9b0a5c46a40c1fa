#include "app/password.h"

#include <QtTest>

class TestPassword : public QObject
{
    Q_OBJECT
private slots:
    void knownVector();
    void emptyStaysEmpty();
    void roundTrip_data();
    void roundTrip();
    void saltDiffersPerCall();
    void storedFormRevealsNothing();
    void malformedStoredFormNeverMatches_data();
    void malformedStoredFormNeverMatches();
};

void TestPassword::knownVector()
{
    // PBKDF2-HMAC-SHA256 test vector (P="passwd", S="salt", c=1, dkLen=64).
    const QByteArray dk = Password::pbkdf2Sha256("passwd", "salt", 1, 64);
    QCOMPARE(dk.toHex(),
        QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                   "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"));
    const QByteArray dk2 = Password::pbkdf2Sha256("Password", "NaCl", 80000, 64);
    QCOMPARE(dk2.toHex(),
        QByteArray("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
                   "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d"));
}

void TestPassword::emptyStaysEmpty()
{
    QCOMPARE(SavePass(QString()), QString());
    QCOMPARE(SavePass(QStringLiteral("   ")), QString());
    QVERIFY(CheckPass(QString(), QString()));
    QVERIFY(CheckPass(QString(), QStringLiteral("  ")));
    QVERIFY(!CheckPass(QString(), QStringLiteral("x")));
}

void TestPassword::roundTrip_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("match");
    QTest::newRow("same") << "abc123"
                          << "abc123" << true;
    QTest::newRow("typed with blanks") << "abc123"
                                       << "  abc123 " << true;
    QTest::newRow("saved with blanks") << " abc123 "
                                       << "abc123" << true;
    QTest::newRow("letter case counts") << "Secret"
                                        << "secret" << false;
    QTest::newRow("wrong") << "abc123"
                           << "abc124" << false;
    QTest::newRow("empty typed") << "abc123"
                                 << "" << false;
    QTest::newRow("chinese") << "仓库密码"
                             << "仓库密码" << true;
    QTest::newRow("quote") << "a'b\"c"
                           << "a'b\"c" << true;
}

void TestPassword::roundTrip()
{
    QFETCH(QString, saved);
    QFETCH(QString, typed);
    QFETCH(bool, match);
    QCOMPARE(CheckPass(SavePass(saved), typed), match);
}

void TestPassword::saltDiffersPerCall()
{
    const QString a = SavePass(QStringLiteral("same"));
    const QString b = SavePass(QStringLiteral("same"));
    QVERIFY(a != b);
    QVERIFY(CheckPass(a, QStringLiteral("same")));
    QVERIFY(CheckPass(b, QStringLiteral("same")));
}

void TestPassword::storedFormRevealsNothing()
{
    const QString stored = SavePass(QStringLiteral("hunter2"));
    QVERIFY(!stored.contains(QStringLiteral("hunter2")));
    QVERIFY(stored.startsWith(QStringLiteral("pbkdf2-sha256$")));
}

void TestPassword::malformedStoredFormNeverMatches_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain text") << "hunter2";
    QTest::newRow("bad scheme") << "md5$1$c2FsdA==$aGFzaA==";
    QTest::newRow("bad count") << "pbkdf2-sha256$x$c2FsdA==$aGFzaA==";
    QTest::newRow("no hash") << "pbkdf2-sha256$10$c2FsdA==$";
}

void TestPassword::malformedStoredFormNeverMatches()
{
    QFETCH(QString, stored);
    QVERIFY(!CheckPass(stored, QStringLiteral("hunter2")));
    QVERIFY(!CheckPass(stored, QString()));
}

QTEST_GUILESS_MAIN(TestPassword)
#include "tst_password.moc"
