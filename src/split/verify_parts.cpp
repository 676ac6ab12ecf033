#include "split/verify_parts.h"

#include "runtime/runtime_error.h"
#include "split/chips/way_device.h"
#include "split/input/input_file.h"
#include "split/stream/stream_deal.h"

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
        : m_part(part), m_named(part.device()), m_file(file), m_layout(layout), m_verdict(verdict)
    {
    }

    void put(const char *expected, qsizetype length) override
    {
        const qsizetype have = qsizetype(std::clamp<qint64>(m_part.size() - m_offset, 0, length));
        m_buffer.resize(size_t(have));
        if (readFully(m_named, m_buffer.data(), have) != have)
            throw RuntimeError(ErrorNumber::MisfitParts, m_named.name);
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
    NamedDevice m_named;
    int m_file;
    const PartLayout &m_layout;
    PartVerdict &m_verdict;
    qint64 m_offset = 0;
    std::vector<char> m_buffer;
};

} // namespace

QList<PartVerdict> verifyParts(const QString &source, const QStringList &parts, const DealShape &shape,
                               const ChipFit &fit, const Watchers &watchers)
{
    const InputFile input(source, InputFile::Reading::Raw);
    input.requireKnownSize(QStringLiteral("verify"));
    const PartLayout layout(shape, fit, input.size());
    layout.refuseMisfits(parts);

    QList<PartVerdict> verdicts(parts.size());
    std::list<InputFile> opened;
    std::vector<std::unique_ptr<PartComparison>> comparisons;
    std::vector<ByteSink *> sinks;
    for (int file = 0; file < parts.size(); ++file) {
        InputFile &part = opened.emplace_back(parts[file], InputFile::Reading::Image, fit.fill);
        part.requireKnownSize(QStringLiteral("verify"));
        PartVerdict &verdict = verdicts[file];
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
    for (const InputFile &part : opened)
        part.confirmUnchanged();
    return verdicts;
}

} // namespace tamrivel
