#include "split/chips/way_device.h"

#include "split/chips/fit_errors.h"
#include "split/chips/wired_chip.h"
#include "split/part_layout.h"

namespace tamrivel {

WayDevice::WayDevice(std::vector<ByteSink *> chips, const QStringList &names, const ChipFit &fit)
    : m_chips(std::move(chips)),
      m_names(names),
      m_chipSize(fit.chipSize),
      m_offset(fit.offset),
      m_room(fit.room()),
      m_fill(fit.fill),
      m_mirror(fit.mirror && fit.chipSize > 0)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void WayDevice::startChip()
{
    if (m_started > m_chip)
        return;
    putRepeated(QByteArray(qsizetype(std::min<qint64>(m_offset, 64 * 1024)), char(m_fill)), m_offset);
    m_started = m_chip + 1;
}

void WayDevice::put(const char *data, qint64 length)
{
    m_chips[m_chip]->put(data, qsizetype(length));
    // What a chip holds beyond half its room is never copied: the copies
    // then fill less than it.
    if (m_mirror && m_copied.size() < (m_room + 1) / 2)
        m_copied.append(data, qsizetype(std::min<qint64>(length, (m_room + 1) / 2 - m_copied.size())));
}

void WayDevice::putRepeated(const QByteArray &bytes, qint64 length)
{
    for (qint64 done = 0; done < length;) {
        const qint64 take = std::min<qint64>(bytes.size(), length - done);
        m_chips[m_chip]->put(bytes.constData(), qsizetype(take));
        done += take;
    }
}

qint64 WayDevice::writeData(const char *data, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        if (m_inChip == m_room) {
            if (m_chip + 1 == m_chips.size())
                throw chipOverflow(m_names.back(), m_chipSize + length - done, m_chipSize, true);
            ++m_chip;
            m_inChip = 0;
            m_copied.clear();
        }
        startChip();
        const qint64 take = std::min(length - done, m_room - m_inChip);
        put(data + done, take);
        m_inChip += take;
        done += take;
    }
    return length;
}

void WayDevice::finish()
{
    for (; m_chip < m_chips.size(); ++m_chip, m_inChip = 0, m_copied.clear()) {
        startChip();
        if (m_chipSize <= 0)
            continue;
        const bool copies = m_mirror && !m_copied.isEmpty();
        putRepeated(copies ? m_copied
                           : QByteArray(qsizetype(std::min<qint64>(m_room, 64 * 1024)), char(m_fill)),
                    m_room - m_inChip);
    }
}

WayDevices::WayDevices(const PartLayout &layout, const std::vector<ByteSink *> &files,
                       const QStringList &names)
{
    std::vector<ByteSink *> sinks = files;
    if (const LineWiring &wiring = layout.fit().wiring; !wiring.straight()) {
        for (int file = 0; file < layout.fileCount(); ++file) {
            wired.push_back(std::make_unique<WiredChip>(
                files[size_t(file)], wiring, layout.shape().chipWordBytes(), layout.fileSize(file)));
            sinks[size_t(file)] = wired.back().get();
        }
    }
    const int banks = layout.banks();
    for (int way = 0; way < layout.shape().ways; ++way) {
        const std::vector<ByteSink *> chips(sinks.begin() + way * banks, sinks.begin() + (way + 1) * banks);
        const QStringList chipNames = names.mid(way * banks, banks);
        devices.push_back(std::make_unique<WayDevice>(chips, chipNames, layout.fit()));
        named.append(NamedDevice{devices.back().get(), chipNames.first()});
    }
}

WayDevices::~WayDevices() = default;

void WayDevices::finish()
{
    for (auto &device : devices)
        device->finish();
}

} // namespace tamrivel
