#pragma once

#include <QString>

// LIKE patterns from user text. Values are bound, and the wildcards and the
// escape character in the text are escaped, so "50%" or a category path with
// backslashes matches literally on both backends (PostgreSQL treats a backslash
// as LIKE's escape unless another one is named). Statements append Escape().
class LikePattern
{
public:
    // " escape '!' " - to follow every "like :param" built with this class.
    static QString escapeClause() { return QStringLiteral(" escape '!' "); }
    static QString escaped(const QString& text);
    static QString prefix(const QString& text) { return escaped(text) + QLatin1Char('%'); }
    static QString contains(const QString& text) { return QLatin1Char('%') + escaped(text) + QLatin1Char('%'); }
};
