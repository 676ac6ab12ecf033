#include "verify_parts.h"

#include "../runtime/runtime_error.h"
#include "path_checks.h"
#include "record_reader.h"
#include "stream_deal.h"
#include "way_device.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace tamrivel {
namespace {

constexpr qsizetype kDifferencesShown = 8;

// Reads a part alongside the bytes the split would write to it.
class PartComparison : public ByteSink {
public:
    PartComparison(PartSource part, const NamedDevice &named, int file, const PartLayout &layout,
                   PartVerdict &verdict)
        : m_part(std::move(part)), m_named(named), m_file(file), m_layout(layout), m_verdict(verdict)
    {
    }

    void put(const char *expected, qsizetype length) override
    {
        const qsizetype have = qsizetype(std::clamp<qint64>(m_part.size - m_offset, 0, length));
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

    PartSource m_part;
    NamedDevice m_named;
    int m_file;
    const PartLayout &m_layout;
    PartVerdict &m_verdict;
    qint64 m_offset = 0;
    std::vector<char> m_buffer;
};

} // namespace

QList<PartVerdict> verifyParts(const QString &source, const QStringList &parts, const PartLayout &layout,
                               const Watchers &watchers)
{
    Q_ASSERT(parts.size() == layout.fileCount());
    checkPathText(source);
    checkSource(source);
    layout.refuseMisfits(parts);
    QFile input(source);
    errno = 0;
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw RuntimeError(errorNumberFromErrno(errno, ErrorNumber::AccessDenied), source);

    QList<PartVerdict> verdicts(parts.size());
    std::vector<std::unique_ptr<PartComparison>> comparisons;
    for (int file = 0; file < parts.size(); ++file) {
        PartSource part = openPart(parts[file], layout.fit().fill);
        PartVerdict &verdict = verdicts[file];
        verdict.name = parts[file];
        verdict.expectedSize = layout.fileSize(file);
        if (part.format != RecordFormat::Binary && part.size < verdict.expectedSize) {
            static_cast<RecordDevice *>(part.device.get())->padTo(verdict.expectedSize);
            part.size = verdict.expectedSize;
        }
        verdict.foundSize = part.size;
        const NamedDevice named{part.device.get(), parts[file]};
        comparisons.push_back(
            std::make_unique<PartComparison>(std::move(part), named, file, layout, verdict));
    }
    std::vector<ByteSink *> sinks;
    for (auto &comparison : comparisons)
        sinks.push_back(comparison.get());
    WayDevices ways(layout, sinks, parts);
    dealStream(NamedDevice{&input, source}, ways.named, layout.shape(), input.size(), watchers);
    ways.finish();
    return verdicts;
}

} // namespace tamrivel
