#include "split/chips/way_device.h"

#include "split/chips/fit_errors.h"
#include "split/part_layout.h"

namespace tamrivel {

WayDevice::WayDevice(std::vector<ByteSink *> chips, const QStringList &names, qint64 chipSize, uchar fill)
    : m_chips(std::move(chips)), m_names(names), m_chipSize(chipSize), m_fill(fill)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 WayDevice::writeData(const char *data, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        if (m_chipSize > 0 && m_inChip == m_chipSize) {
            if (m_chip + 1 == m_chips.size())
                throw chipOverflow(m_names.back(), m_chipSize + length - done, m_chipSize, true);
            ++m_chip;
            m_inChip = 0;
        }
        const qint64 take = m_chipSize > 0 ? std::min(length - done, m_chipSize - m_inChip) : length - done;
        m_chips[m_chip]->put(data + done, qsizetype(take));
        m_inChip += take;
        done += take;
    }
    return length;
}

void WayDevice::finish()
{
    if (m_chipSize <= 0)
        return;
    const QByteArray padding(qsizetype(std::min<qint64>(m_chipSize, 64 * 1024)), char(m_fill));
    for (; m_chip < m_chips.size(); ++m_chip, m_inChip = 0) {
        while (m_inChip < m_chipSize) {
            const qint64 take = std::min<qint64>(padding.size(), m_chipSize - m_inChip);
            m_chips[m_chip]->put(padding.constData(), qsizetype(take));
            m_inChip += take;
        }
    }
}

WayDevices::WayDevices(const PartLayout &layout, const std::vector<ByteSink *> &files,
                       const QStringList &names)
{
    const int banks = layout.banks();
    for (int way = 0; way < layout.shape().ways; ++way) {
        const std::vector<ByteSink *> chips(files.begin() + way * banks, files.begin() + (way + 1) * banks);
        const QStringList chipNames = names.mid(way * banks, banks);
        devices.push_back(
            std::make_unique<WayDevice>(chips, chipNames, layout.fit().chipSize, layout.fit().fill));
        named.append(NamedDevice{devices.back().get(), chipNames.first()});
    }
}

void WayDevices::finish()
{
    for (auto &device : devices)
        device->finish();
}

} // namespace tamrivel
