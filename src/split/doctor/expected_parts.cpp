#include "split/doctor/expected_parts.h"

#include "split/chips/way_device.h"
#include "split/doctor/part_digest.h"
#include "split/input/input_file.h"
#include "split/stream/stream_deal.h"

#include <list>
#include <vector>

namespace tamrivel {
namespace {

class ExpectedSink : public ByteSink {
public:
    explicit ExpectedSink(QByteArray *kept) : m_kept(kept) { }

    void put(const char *data, qsizetype length) override
    {
        m_digest.add(data, length);
        if (m_kept)
            m_kept->append(data, length);
    }

    QByteArray digest() const { return m_digest.result(); }

private:
    PartDigest m_digest;
    QByteArray *m_kept;
};

} // namespace

ExpectedParts dealExpected(InputFile &source, const PartLayout &layout, const QStringList &names, int kept,
                           const std::atomic<bool> *stop)
{
    ExpectedParts parts;
    if (kept >= 0)
        parts.kept.reserve(qsizetype(layout.fileSize(kept)));
    std::list<ExpectedSink> sinks;
    std::vector<ByteSink *> files;
    for (int file = 0; file < layout.fileCount(); ++file)
        files.push_back(&sinks.emplace_back(file == kept ? &parts.kept : nullptr));
    source.rewind();
    WayDevices ways(layout, files, names);
    dealStream(source.device(), ways.named, layout.shape(), source.size(), Watchers{{}, {}, stop});
    ways.finish();
    source.confirmUnchanged();
    for (const ExpectedSink &sink : sinks)
        parts.digests.append(sink.digest());
    return parts;
}

FoundPart readFoundPart(InputFile &part, bool keep)
{
    part.rewind();
    FoundPart found;
    if (keep) {
        found.bytes.resize(qsizetype(part.size()));
        part.readExactly(found.bytes.data(), found.bytes.size());
        found.digest = PartDigest::of(found.bytes);
    } else {
        PartDigest digest;
        QByteArray block(1024 * 1024, Qt::Uninitialized);
        while (const qsizetype got = readFully(part.device(), block.data(), block.size()))
            digest.add(block.constData(), got);
        found.digest = digest.result();
    }
    part.confirmUnchanged();
    return found;
}

} // namespace tamrivel
