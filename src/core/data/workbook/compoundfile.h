#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads the streams of an OLE2 compound file (the container of .xls workbooks).
// Every chain is bounds-checked and loop-checked, so a damaged file gives an
// error instead of a crash or an endless loop.
class CompoundFile
{
public:
    // False when the data is not a readable compound file.
    bool parse(const QByteArray& data);
    QStringList streamNames() const;
    // The stream's bytes; false when it is missing or its chain is broken.
    bool stream(const QString& name, QByteArray* out) const;

private:
    struct Entry
    {
        QString name;
        int type = 0;
        quint32 start = 0;
        quint64 size = 0;
    };
    bool chain(const QList<quint32>& fat, quint32 start, int sectorSize, const QByteArray& source, qint64 base,
        quint64 size, QByteArray* out) const;

    QByteArray m_data;
    int m_sectorSize = 512;
    quint32 m_miniCutoff = 4096;
    QList<quint32> m_fat;
    QList<quint32> m_miniFat;
    QByteArray m_miniStream;
    QList<Entry> m_entries;
};
