#pragma once

#include "fit_use.h"
#include "verb_parser.h"

#include "split/chip_fit.h"

namespace tamrivel::cli {

// --record-size, --ihex-addressing, --srec-address and --base: the record
// files a split writes for other programmer software and loaders. Join and
// verify take the same options, so that one command line serves all three:
// they read records of any size and addressing, and take --base back.
class RecordDialectOptions {
public:
    explicit RecordDialectOptions(FitUse use);
    void addTo(VerbParser &parser) const;

    // Raises UsageError for a value that is not of its kind, and, where the
    // records are written in `format`, for an option that does not apply
    // to it.
    RecordDialect read(const QCommandLineParser &parser, RecordFormat format) const;

private:
    FitUse m_use;
    QCommandLineOption m_recordSize;
    QCommandLineOption m_hexAddressing;
    QCommandLineOption m_sRecordAddress;
    QCommandLineOption m_base;
};

} // namespace tamrivel::cli
