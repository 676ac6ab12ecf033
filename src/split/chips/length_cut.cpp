#include "split/chips/length_cut.h"

#include "split/chips/fit_errors.h"

namespace tamrivel {

QList<NamedDevice> LengthCut::attach(const QList<NamedDevice> &files, const OutputTap &report)
{
    Q_ASSERT(files.size() == 1);
    m_file = files.first();
    m_report = tapFor(report, 0);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return {NamedDevice{this, m_file.name}};
}

qint64 LengthCut::writeData(const char *data, qint64 length)
{
    const qint64 kept = std::clamp<qint64>(m_length - m_seen, 0, length);
    if (kept > 0) {
        if (m_report)
            m_report(data, qsizetype(kept));
        writeFully(m_file, data, qsizetype(kept));
    }
    for (qint64 i = kept; m_fill && i < length; ++i) {
        if (uchar(data[i]) != *m_fill)
            throw dataBeyondLength(m_file.name, m_seen + i, uchar(data[i]));
    }
    m_seen += length;
    return length;
}

void LengthCut::finish()
{
    if (m_seen < m_length)
        throw lengthBeyondParts(m_file.name, m_length, m_seen);
}

} // namespace tamrivel
