#include "likepattern.h"

QString LikePattern::escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar ch : text) {
        if (ch == QLatin1Char('!') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            out += QLatin1Char('!');
        out += ch;
    }
    return out;
}
