#include "split/chips/unwired_part.h"

#include <cstring>

namespace tamrivel {

UnwiredPart::UnwiredPart(const NamedDevice &part, const LineWiring &wiring, int wordBytes, qint64 chipBytes)
    : m_part(part), m_wiring(wiring), m_wordBytes(wordBytes), m_chipBytes(chipBytes)
{
    if (!wiring.data.isEmpty())
        m_data.emplace(wiring.data, false);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void UnwiredPart::refill()
{
    m_at = 0;
    if (!m_wiring.address.isEmpty()) {
        if (m_wholeRead) {
            m_buffer.clear();
            return;
        }
        QByteArray chip(qsizetype(m_chipBytes), Qt::Uninitialized);
        // Every part was measured before the join.
        if (readFully(m_part, chip.data(), chip.size()) != chip.size())
            throw RuntimeError(ErrorNumber::FileChanged, m_part.name);
        m_buffer.resize(chip.size());
        wireChip(m_wiring, m_wordBytes, false, reinterpret_cast<const uchar *>(chip.constData()),
                 reinterpret_cast<uchar *>(m_buffer.data()), chip.size());
        m_wholeRead = true;
        return;
    }
    m_buffer.resize(64 * 1024);
    m_buffer.resize(readFully(m_part, m_buffer.data(), m_buffer.size()));
    m_data->apply(reinterpret_cast<uchar *>(m_buffer.data()), m_buffer.size());
}

qint64 UnwiredPart::readData(char *data, qint64 maxSize)
{
    try {
        if (m_at == m_buffer.size())
            refill();
        const qsizetype take = qsizetype(std::min<qint64>(maxSize, m_buffer.size() - m_at));
        std::memcpy(data, m_buffer.constData() + m_at, size_t(take));
        m_at += take;
        return take;
    } catch (const RuntimeError &error) {
        m_failure = error.number();
        setErrorString(error.description());
        return -1;
    }
}

} // namespace tamrivel
