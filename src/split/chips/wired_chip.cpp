#include "split/chips/wired_chip.h"

namespace tamrivel {

WiredChip::WiredChip(ByteSink *file, const LineWiring &wiring, int wordBytes, qint64 chipBytes)
    : m_file(file), m_wiring(wiring), m_wordBytes(wordBytes), m_chipBytes(chipBytes)
{
    if (!wiring.data.isEmpty())
        m_data.emplace(wiring.data, true);
}

void WiredChip::put(const char *data, qsizetype length)
{
    m_held.append(data, length);
    if (!m_wiring.address.isEmpty()) {
        if (m_held.size() < m_chipBytes)
            return;
        m_wired.resize(m_held.size());
        wireChip(m_wiring, m_wordBytes, true, reinterpret_cast<const uchar *>(m_held.constData()),
                 reinterpret_cast<uchar *>(m_wired.data()), m_held.size());
        m_file->put(m_wired.constData(), m_wired.size());
        m_held = QByteArray();
        m_wired = QByteArray();
        return;
    }
    const qsizetype whole = m_held.size() - m_held.size() % m_wordBytes;
    m_wired = m_held.first(whole);
    m_held.remove(0, whole);
    m_data->apply(reinterpret_cast<uchar *>(m_wired.data()), whole);
    m_file->put(m_wired.constData(), whole);
}

} // namespace tamrivel
