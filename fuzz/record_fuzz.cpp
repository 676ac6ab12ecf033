// libFuzzer target: any bytes, read as an Intel HEX file and as an S-record
// file the way a join reads a part, must give the same bytes or the same
// error whatever the size of the reads, and the only error a file can cause
// is the record error, naming the file and a line it has. Build and run with
// `make fuzz`.
#include "runtime/runtime_error.h"
#include "split/records/record_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

using namespace tamrivel;

namespace {

// Far enough for every line a 16-bit or a segment address reaches; an
// extended address up to 4 GiB would spend the run filling the gap. Reads a
// byte or so at a time go less far, for the same reason.
constexpr qsizetype kReadLimit = 4 * 1024 * 1024;
constexpr qsizetype kSmallReadLimit = 256 * 1024;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Outcome {
    QByteArray bytes;
    std::optional<QString> failure;
    bool cut = false; // stopped at the limit
};

// The bytes `path` yields as `format`, read `chunk` bytes at a time, up to
// about `limit`. `lines` is how many the file has.
Outcome readThrough(const QString &path, RecordFormat format, qsizetype chunk, qsizetype limit, qint64 lines)
{
    const platform::File file = platform::openForReading(path);
    RecordDevice device(LineReader(file, path), format, 0xA5);
    Outcome outcome;
    std::vector<char> block(static_cast<size_t>(chunk));
    try {
        for (;;) {
            if (outcome.bytes.size() >= limit) {
                outcome.cut = true;
                break;
            }
            const qint64 got = device.read(block.data(), chunk);
            check(got >= 0 && got <= chunk);
            if (got == 0)
                break;
            outcome.bytes.append(block.data(), got);
        }
    } catch (const RuntimeError &error) {
        check(error.number() == ErrorNumber::BadRecord && error.path() == path);
        static const QRegularExpression where(QStringLiteral("^\\((\\d+) 行目: .+\\)$"));
        const QRegularExpressionMatch match = where.match(error.detail());
        check(match.hasMatch());
        // A missing end record is reported on the line after the last.
        const qint64 line = match.captured(1).toLongLong();
        check(line >= 1 && line <= lines + 1);
        outcome.failure = error.detail();
    }
    return outcome;
}

const QString &scratchPath()
{
    static const QString path = QDir::temp().filePath(
        QStringLiteral("tamrivel-record-fuzz-%1").arg(QCoreApplication::applicationPid()));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(scratchPath());
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
    }
    // Lines end in LF, CR LF or CR alone.
    const qint64 lines = text.count('\n') + text.count('\r') - text.count("\r\n") +
        (text.endsWith('\n') || text.endsWith('\r') ? 0 : 1);
    // A small read that falls across records and gaps, from the input itself.
    const qsizetype small = size > 0 ? 1 + data[size - 1] % 61 : 1;
    for (RecordFormat format : {RecordFormat::IntelHex, RecordFormat::SRecord}) {
        const Outcome whole = readThrough(scratchPath(), format, 64 * 1024, kReadLimit, lines);
        const Outcome bits = readThrough(scratchPath(), format, small, kSmallReadLimit, lines);
        // A read that fails loses what it had gathered, so a failing file
        // leaves a shorter prefix with larger reads.
        const qsizetype common = std::min(whole.bytes.size(), bits.bytes.size());
        check(whole.bytes.left(common) == bits.bytes.left(common));
        if (!bits.cut) {
            check(!whole.cut && whole.failure == bits.failure);
            check(whole.failure || whole.bytes == bits.bytes);
        }
    }
    return 0;
}
