#pragma once

#include <QList>
#include <QString>

// A small INI file reader and writer: sections and keys match without regard to
// letter case (QSettings does not on Linux), a missing file or key yields the
// default, and every write reaches the file at once. UTF-8.
class IniFile
{
public:
    explicit IniFile(const QString& path);

    QString path() const { return m_path; }
    bool exists() const;
    // False when the file exists but cannot be read.
    bool readable() const { return m_readable; }
    QString errorString() const { return m_error; }

    QString readString(const QString& section, const QString& key, const QString& def = QString()) const;
    int readInteger(const QString& section, const QString& key, int def = 0) const;
    bool readBool(const QString& section, const QString& key, bool def = false) const;
    bool hasKey(const QString& section, const QString& key) const;

    // Each returns false when the file could not be written.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool writeBool(const QString& section, const QString& key, bool value);

    // Re-reads the file (another file object may have written it).
    void reload();

private:
    struct Line
    {
        QString text;
        QString section; // for key lines: the section they belong to
        QString key; // empty for comments, blanks and section headers
        QString value;
        bool isSection = false;
    };
    int findKey(const QString& section, const QString& key) const;
    bool save();

    QString m_path;
    QList<Line> m_lines;
    bool m_readable = true;
    QString m_error;
};
