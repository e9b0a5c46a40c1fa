#include "inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

IniFile::IniFile(const QString& path)
    : m_path(path)
{
    reload();
}

bool IniFile::exists() const
{
    return QFileInfo::exists(m_path);
}

void IniFile::reload()
{
    m_lines.clear();
    m_readable = true;
    m_error.clear();
    QFile f(m_path);
    if (!f.exists())
        return;
    if (!f.open(QIODevice::ReadOnly)) {
        m_readable = false;
        m_error = f.errorString();
        return;
    }
    QByteArray data = f.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QString text = QString::fromUtf8(data);
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        if (i == lines.size() - 1 && raw.isEmpty())
            break;
        Line line;
        line.text = raw;
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            section = t.mid(1, t.size() - 2).trimmed();
            line.isSection = true;
            line.section = section;
        } else if (!t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#'))) {
            const int eq = t.indexOf(QLatin1Char('='));
            if (eq > 0) {
                line.section = section;
                line.key = t.left(eq).trimmed();
                line.value = t.mid(eq + 1).trimmed();
            }
        }
        m_lines.append(line);
    }
}

int IniFile::findKey(const QString& section, const QString& key) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& l = m_lines[i];
        if (!l.key.isEmpty() && l.section.compare(section, Qt::CaseInsensitive) == 0
            && l.key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    return findKey(section, key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const int i = findKey(section, key);
    return i < 0 ? def : m_lines[i].value;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    const int i = findKey(section, key);
    if (i < 0)
        return def;
    bool ok = false;
    const QString v = m_lines[i].value;
    const int n = v.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? v.mid(2).toInt(&ok, 16) : v.toInt(&ok);
    return ok ? n : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    const int i = findKey(section, key);
    if (i < 0)
        return def;
    bool ok = false;
    const int n = m_lines[i].value.toInt(&ok);
    return ok ? n != 0 : def;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    // Another file object may have written the file since we read it.
    reload();
    const int i = findKey(section, key);
    if (i >= 0) {
        m_lines[i].value = value;
        m_lines[i].text = m_lines[i].key + QLatin1Char('=') + value;
        return save();
    }
    Line line;
    line.section = section;
    line.key = key;
    line.value = value;
    line.text = key + QLatin1Char('=') + value;
    int lastOfSection = -1;
    for (int j = 0; j < m_lines.size(); ++j) {
        if (m_lines[j].section.compare(section, Qt::CaseInsensitive) == 0
            && (m_lines[j].isSection || !m_lines[j].key.isEmpty()))
            lastOfSection = j;
    }
    if (lastOfSection < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty()) {
            Line blank;
            m_lines.append(blank);
        }
        Line header;
        header.isSection = true;
        header.section = section;
        header.text = QLatin1Char('[') + section + QLatin1Char(']');
        m_lines.append(header);
        m_lines.append(line);
    } else {
        m_lines.insert(lastOfSection + 1, line);
    }
    return save();
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save()
{
    QSaveFile f(m_path);
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly)) {
        m_error = f.errorString();
        return false;
    }
    QByteArray out;
    for (const Line& l : m_lines) {
        out += l.text.toUtf8();
        out += '\n';
    }
    f.write(out);
    if (!f.commit()) {
        m_error = f.errorString();
        return false;
    }
    return true;
}
