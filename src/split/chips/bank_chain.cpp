#include "split/chips/bank_chain.h"

#include "split/chips/offset_skip.h"

namespace tamrivel {

BankChain::BankChain(const QList<NamedDevice> &chips, qint64 room, qint64 offset, uchar fill)
    : m_chips(chips), m_room(room), m_offset(offset), m_fill(fill)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 BankChain::readData(char *data, qint64 maxSize)
{
    try {
        return readFromChip(data, maxSize);
    } catch (const RuntimeError &error) {
        m_failure = error.number();
        m_failedName = error.path();
        setErrorString(error.description());
        return -1;
    }
}

qint64 BankChain::readFromChip(char *data, qint64 maxSize)
{
    if (m_inChip == m_room) {
        ++m_chip;
        m_inChip = -1;
    }
    if (m_chip >= m_chips.size() || maxSize == 0)
        return 0;
    const NamedDevice &chip = m_chips[m_chip];
    if (m_inChip < 0) {
        skipOffset(chip, m_offset, m_fill);
        m_inChip = 0;
    }
    const qsizetype want = qsizetype(std::min(maxSize, m_room - m_inChip));
    const qsizetype got = readFully(chip, data, want);
    // Every chip was measured at the size of the others before the join.
    if (got < want)
        throw RuntimeError(ErrorNumber::FileChanged, chip.name);
    m_inChip += got;
    return got;
}

} // namespace tamrivel
