#include "password.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QStringList>

namespace {
const QString kScheme = QStringLiteral("pbkdf2-sha256");
constexpr int kBlock = 64;

// HMAC with the key pads prepared once; PBKDF2 runs it many thousand times.
class Hmac
{
public:
    explicit Hmac(QByteArray key)
    {
        if (key.size() > kBlock)
            key = QCryptographicHash::hash(key, QCryptographicHash::Sha256);
        key.resize(kBlock, '\0');
        m_ipad = key;
        m_opad = key;
        for (int i = 0; i < kBlock; ++i) {
            m_ipad[i] = char(m_ipad[i] ^ 0x36);
            m_opad[i] = char(m_opad[i] ^ 0x5c);
        }
    }
    QByteArray mac(const QByteArray& msg) const
    {
        QCryptographicHash inner(QCryptographicHash::Sha256);
        inner.addData(m_ipad);
        inner.addData(msg);
        QCryptographicHash outer(QCryptographicHash::Sha256);
        outer.addData(m_opad);
        outer.addData(inner.result());
        return outer.result();
    }

private:
    QByteArray m_ipad, m_opad;
};

bool constantTimeEquals(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (int i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}
} // namespace

namespace Password {
int defaultIterations()
{
    return 60000;
}

QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    const Hmac hmac(password);
    QByteArray out;
    for (quint32 block = 1; out.size() < length; ++block) {
        QByteArray msg = salt;
        msg.append(char(block >> 24)).append(char(block >> 16)).append(char(block >> 8)).append(char(block));
        QByteArray u = hmac.mac(msg);
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            u = hmac.mac(u);
            for (int j = 0; j < t.size(); ++j)
                t[j] = char(t[j] ^ u[j]);
        }
        out += t;
    }
    out.truncate(length);
    return out;
}
} // namespace Password

QString SavePass(const QString& plain)
{
    const QString p = plain.trimmed();
    if (p.isEmpty())
        return QString();
    QByteArray salt(16, '\0');
    for (int i = 0; i < salt.size(); ++i)
        salt[i] = char(QRandomGenerator::system()->bounded(256));
    const int iterations = Password::defaultIterations();
    const QByteArray hash = Password::pbkdf2Sha256(p.toUtf8(), salt, iterations, 32);
    return kScheme + QLatin1Char('$') + QString::number(iterations) + QLatin1Char('$')
        + QString::fromLatin1(salt.toBase64()) + QLatin1Char('$') + QString::fromLatin1(hash.toBase64());
}

bool CheckPass(const QString& stored, const QString& typed)
{
    const QString s = stored.trimmed();
    const QString t = typed.trimmed();
    if (s.isEmpty())
        return t.isEmpty();
    const QStringList parts = s.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1 || iterations > 10000000)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    if (expected.isEmpty())
        return false;
    return constantTimeEquals(Password::pbkdf2Sha256(t.toUtf8(), salt, iterations, int(expected.size())), expected);
}
