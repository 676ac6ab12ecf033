#pragma once

#include "verb_parser.h"

#include "split/part_layout.h"

namespace tamrivel::cli {

// --chip or --size, --fill, --offset, --banks and --format: the chips a
// split writes, and so the parts a verify expects.
// Whether the verb writes chips (each option says what it makes), checks
// chips split wrote (each says what the parts hold), or sums one chip's
// buffer as a programmer holds it (one chip in one format: no --banks or
// --format).
enum class FitUse { Written, Checked, Summed };

class ChipFitOptions {
public:
    ChipFitOptions(VerbParser &parser, FitUse use);

    // Raises UsageError for options that contradict each other or a value
    // that is not of its kind.
    ChipFit read(const QCommandLineParser &parser) const;

private:
    bool m_oneChip;
    QCommandLineOption m_chip;
    QCommandLineOption m_size;
    QCommandLineOption m_fill;
    QCommandLineOption m_offset;
    QCommandLineOption m_banks;
    QCommandLineOption m_format;
};

// --fill as BYTE or `mirror`, into `fit`; raises UsageError for anything else.
void readFill(const QCommandLineParser &parser, const QCommandLineOption &fill, ChipFit &fit);

} // namespace tamrivel::cli
