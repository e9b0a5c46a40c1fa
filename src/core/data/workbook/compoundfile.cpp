#include "compoundfile.h"

#include <QtEndian>

namespace {
constexpr quint32 cfEndOfChain = 0xFFFFFFFE;

quint32 cfU32(const QByteArray& d, qint64 pos)
{
    return qFromLittleEndian<quint32>(d.constData() + pos);
}

quint16 cfU16(const QByteArray& d, qint64 pos)
{
    return qFromLittleEndian<quint16>(d.constData() + pos);
}
} // namespace

bool CompoundFile::chain(const QList<quint32>& fat, quint32 start, int sectorSize, const QByteArray& source,
    qint64 base, quint64 size, QByteArray* out) const
{
    out->clear();
    if (size > quint64(source.size()) * 2 + 1024 * 1024)
        return false;
    out->reserve(qsizetype(size));
    quint32 s = start;
    qsizetype steps = 0;
    while (s != cfEndOfChain && quint64(out->size()) < size) {
        if (s >= quint32(fat.size()) || ++steps > fat.size())
            return false; // outside the table, or a loop
        const qint64 pos = base + qint64(s) * sectorSize;
        if (pos < 0 || pos + sectorSize > source.size())
            return false;
        out->append(source.constData() + pos, sectorSize);
        s = fat.at(s);
    }
    if (quint64(out->size()) < size)
        return false;
    out->truncate(qsizetype(size));
    return true;
}

bool CompoundFile::parse(const QByteArray& data)
{
    m_data = data;
    m_entries.clear();
    if (data.size() < 512 || !data.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return false;
    const int shift = cfU16(data, 30);
    if (shift != 9 && shift != 12)
        return false;
    m_sectorSize = 1 << shift;
    const quint32 fatSectors = cfU32(data, 44);
    const quint32 dirStart = cfU32(data, 48);
    m_miniCutoff = cfU32(data, 56);
    const quint32 miniFatStart = cfU32(data, 60);
    const quint32 miniFatCount = cfU32(data, 64);
    quint32 difatStart = cfU32(data, 68);
    const quint32 difatCount = cfU32(data, 72);
    const qint64 base = m_sectorSize; // sector 0 follows the header (padded to a sector)
    const qint64 sectorCount = (data.size() - base) / m_sectorSize;
    if (fatSectors > quint32(sectorCount) || difatCount > quint32(sectorCount))
        return false;

    QList<quint32> fatSectorList;
    for (int i = 0; i < 109 && quint32(fatSectorList.size()) < fatSectors; ++i)
        fatSectorList << cfU32(data, 76 + i * 4);
    for (quint32 d = 0; d < difatCount && quint32(fatSectorList.size()) < fatSectors; ++d) {
        const qint64 pos = base + qint64(difatStart) * m_sectorSize;
        if (difatStart >= quint32(sectorCount) || pos + m_sectorSize > data.size())
            return false;
        const int per = m_sectorSize / 4 - 1;
        for (int k = 0; k < per && quint32(fatSectorList.size()) < fatSectors; ++k)
            fatSectorList << cfU32(data, pos + k * 4);
        difatStart = cfU32(data, pos + per * 4);
    }
    if (quint32(fatSectorList.size()) < fatSectors)
        return false;
    m_fat.clear();
    for (quint32 s : fatSectorList) {
        const qint64 pos = base + qint64(s) * m_sectorSize;
        if (s >= quint32(sectorCount) || pos + m_sectorSize > data.size())
            return false;
        for (int k = 0; k < m_sectorSize / 4; ++k)
            m_fat << cfU32(data, pos + k * 4);
    }

    QByteArray dir;
    // The directory chain's length is not stored; read it to its end.
    {
        QByteArray all;
        quint32 s = dirStart;
        qsizetype steps = 0;
        while (s != cfEndOfChain) {
            if (s >= quint32(m_fat.size()) || ++steps > m_fat.size())
                return false;
            const qint64 pos = base + qint64(s) * m_sectorSize;
            if (pos + m_sectorSize > data.size())
                return false;
            all.append(data.constData() + pos, m_sectorSize);
            s = m_fat.at(s);
        }
        dir = all;
    }
    for (qsizetype off = 0; off + 128 <= dir.size(); off += 128) {
        Entry e;
        const int nameBytes = qMin<int>(cfU16(dir, off + 64), 64);
        for (int i = 0; i + 1 < nameBytes - 1; i += 2)
            e.name += QChar(cfU16(dir, off + i));
        e.type = quint8(dir.at(off + 66));
        e.start = cfU32(dir, off + 116);
        e.size = cfU32(dir, off + 120);
        if (m_sectorSize == 4096)
            e.size |= quint64(cfU32(dir, off + 124)) << 32;
        m_entries << e;
    }
    if (m_entries.isEmpty() || m_entries.first().type != 5)
        return false;

    // The mini stream lives in the root entry's chain; the mini FAT in its own.
    m_miniFat.clear();
    m_miniStream.clear();
    if (miniFatCount > 0 && miniFatStart != cfEndOfChain) {
        QByteArray mf;
        if (!chain(m_fat, miniFatStart, m_sectorSize, data, base, quint64(miniFatCount) * m_sectorSize, &mf))
            return false;
        for (qsizetype k = 0; k + 4 <= mf.size(); k += 4)
            m_miniFat << cfU32(mf, k);
        const Entry& root = m_entries.first();
        if (!chain(m_fat, root.start, m_sectorSize, data, base, root.size, &m_miniStream))
            return false;
    }
    return true;
}

QStringList CompoundFile::streamNames() const
{
    QStringList names;
    for (const Entry& e : m_entries) {
        if (e.type == 2)
            names << e.name;
    }
    return names;
}

bool CompoundFile::stream(const QString& name, QByteArray* out) const
{
    for (const Entry& e : m_entries) {
        if (e.type != 2 || e.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (e.size < m_miniCutoff)
            return chain(m_miniFat, e.start, 64, m_miniStream, 0, e.size, out);
        return chain(m_fat, e.start, m_sectorSize, m_data, m_sectorSize, e.size, out);
    }
    return false;
}
