#pragma once

#include <QString>

// Stored form of operator passwords: a salted PBKDF2-HMAC-SHA256 hash, one way,
// so reading OperList does not reveal passwords. The empty password is stored
// as the empty text. Passwords are compared trimmed.
QString SavePass(const QString& plain);
bool CheckPass(const QString& stored, const QString& typed);

namespace Password {
// Exposed for tests and for the benchmark of the login.
QByteArray pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations, int length);
int defaultIterations();
} // namespace Password
