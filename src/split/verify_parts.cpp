#include "split/verify_parts.h"

#include "runtime/runtime_error.h"
#include "split/chips/way_device.h"
#include "split/input/input_file.h"
#include "split/stream/stream_deal.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <vector>

namespace tamrivel {
namespace {

constexpr qsizetype kDifferencesShown = 8;

// Reads a part alongside the bytes the split would write to it.
class PartComparison : public ByteSink {
public:
    PartComparison(const InputFile &part, int file, const PartLayout &layout, PartVerdict &verdict)
        : m_part(part), m_file(file), m_layout(layout), m_verdict(verdict)
    {
    }

    void put(const char *expected, qsizetype length) override
    {
        const qsizetype have = qsizetype(std::clamp<qint64>(m_part.size() - m_offset, 0, length));
        m_buffer.resize(size_t(have));
        m_part.readExactly(m_buffer.data(), have);
        if (std::memcmp(expected, m_buffer.data(), size_t(have)) != 0)
            noteDifferences(expected, have);
        m_offset += length;
    }

private:
    void noteDifferences(const char *expected, qsizetype length)
    {
        for (qsizetype i = 0; i < length; ++i) {
            if (expected[i] == m_buffer[size_t(i)])
                continue;
            ++m_verdict.differing;
            if (m_verdict.first.size() < kDifferencesShown) {
                const qint64 at = m_offset + i;
                m_verdict.first.append(
                    {at, m_layout.sourceOffset(m_file, at), uchar(expected[i]), uchar(m_buffer[size_t(i)])});
            }
        }
    }

    const InputFile &m_part;
    int m_file;
    const PartLayout &m_layout;
    PartVerdict &m_verdict;
    qint64 m_offset = 0;
    std::vector<char> m_buffer;
};

} // namespace

bool VerifiedParts::allSame() const
{
    return std::all_of(verdicts.cbegin(), verdicts.cend(),
                       [](const PartVerdict &verdict) { return verdict.same(); });
}

VerifiedParts verifyParts(const QString &source, const QStringList &parts, const DealShape &shape,
                          const ChipFit &fit, const Watchers &watchers)
{
    VerifiedParts set;
    set.source = std::make_unique<InputFile>(source, InputFile::Reading::Raw);
    const InputFile &input = *set.source;
    input.requireKnownSize(QStringLiteral("verify"));
    const PartLayout &layout = set.layout.emplace(shape, fit, input.size());
    layout.refuseMisfits(parts);

    set.verdicts.resize(parts.size());
    std::vector<std::unique_ptr<PartComparison>> comparisons;
    std::vector<ByteSink *> sinks;
    for (int file = 0; file < parts.size(); ++file) {
        InputFile &part = set.parts.emplace_back(parts[file], partReading(fit), fit.fill, fit.records.base);
        part.requireKnownSize(QStringLiteral("verify"));
        PartVerdict &verdict = set.verdicts[file];
        verdict.name = parts[file];
        verdict.expectedSize = layout.fileSize(file);
        part.fillTo(verdict.expectedSize);
        verdict.foundSize = part.size();
        comparisons.push_back(std::make_unique<PartComparison>(part, file, layout, verdict));
        sinks.push_back(comparisons.back().get());
    }
    WayDevices ways(layout, sinks, parts);
    dealStream(input.device(), ways.named, shape, input.size(), watchers);
    ways.finish();
    input.confirmUnchanged();
    for (const InputFile &part : set.parts)
        part.confirmUnchanged();
    return set;
}

} // namespace tamrivel
