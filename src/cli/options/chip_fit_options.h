#pragma once

#include "fit_use.h"
#include "record_dialect_options.h"
#include "verb_parser.h"

#include "split/part_layout.h"

namespace tamrivel::cli {

// --chip or --size, --fill, --offset, --banks, --format and the records'
// dialect: the chips a split writes, and so the parts a verify expects; for
// one chip's buffer, the first four only.

class ChipFitOptions {
public:
    ChipFitOptions(VerbParser &parser, FitUse use);

    // Raises UsageError for options that contradict each other or a value
    // that is not of its kind.
    ChipFit read(const QCommandLineParser &parser) const;
    // The width a chip named with --chip takes a turn: 2 for one with a
    // 16-bit data bus, whose word is one unit of the deal, else 1.
    int chipWidth(const QCommandLineParser &parser) const;

private:
    bool m_oneChip;
    QCommandLineOption m_chip;
    QCommandLineOption m_size;
    QCommandLineOption m_fill;
    QCommandLineOption m_offset;
    QCommandLineOption m_banks;
    QCommandLineOption m_format;
    RecordDialectOptions m_records;
};

// --fill as BYTE or `mirror`, into `fit`; raises UsageError for anything else.
void readFill(const QCommandLineParser &parser, const QCommandLineOption &fill, ChipFit &fit);

} // namespace tamrivel::cli
