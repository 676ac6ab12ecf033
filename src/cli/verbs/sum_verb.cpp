#include "sum_verb.h"

#include "cli/console_text.h"
#include "cli/exit_status.h"
#include "cli/file_report.h"
#include "cli/options/chip_fit_options.h"
#include "cli/options/input_options.h"
#include "cli/options/option_values.h"
#include "cli/options/output_options.h"
#include "cli/progress_line.h"
#include "cli/words.h"
#include "split/chips/chip_buffer.h"
#include "split/input/input_file.h"
#include "split/usage_error.h"

namespace tamrivel::cli {
namespace {

// Hands the report what the chip buffer holds, as file `index`.
class ReportSink : public ByteSink {
public:
    ReportSink(const OutputTap &report, int index) : m_report(report), m_index(index) { }
    void put(const char *data, qsizetype length) override { m_report(m_index, data, length); }

private:
    const OutputTap &m_report;
    int m_index;
};

int runSum(const QStringList &files, const ChipFit &fit, InputFile::Reading reading, bool quiet,
           const std::atomic<bool> *stop)
{
    FileReport report(true);
    const OutputTap tap = report.tap();
    for (int index = 0; index < files.size(); ++index) {
        const InputFile input(files[index], reading, fit.fill);
        ReportSink sink(tap, index);
        ProgressLine progress(shown(files[index]));
        streamChipBuffer(input, fit, sink, Watchers{quiet ? ProgressFn() : progress.callback(), {}, stop});
    }
    if (!quiet)
        report.print(stdout, files);
    flushStandardOutput();
    return Success;
}

int sum(const QStringList &arguments, const std::atomic<bool> *stop)
{
    VerbParser parser(
        sumVerb(),
        Words::tr("Prints each FILE with its size, CRC-32, the sum of its bytes in 16 and 32 bits "
                  "(sum16, sum32), and the sums of its 16-bit words, low byte first (words-le) and "
                  "high byte first (words-be), all in hex. Each FILE is read as join reads a part: raw "
                  "bytes, or the image its Intel HEX or S-records hold, gaps read as --fill. With --chip "
                  "or --size, the sums are of the whole chip buffer a programmer holds once the file is "
                  "loaded, padding included, as split pads a chip; a file larger than the chip is an "
                  "error.\n\n") +
            sizeAndByteSyntax());
    parser.describeFiles(QStringLiteral("FILE"), Words::tr("The images or chip images to sum."),
                         QStringLiteral("FILE..."));
    const ChipFitOptions fit(parser, FitUse::Summed);
    const QCommandLineOption raw = rawOption(QStringLiteral("FILE"));
    const QCommandLineOption quiet =
        quietOption(Words::tr("Print nothing but errors: the exit status tells whether all could be read."));
    parser.addOption(raw);
    parser.addOption(quiet);
    if (!parser.parse(arguments))
        return Success;
    const QStringList files = parser.files();
    if (files.isEmpty())
        throw UsageError{UsageError::tr("sum needs a FILE")};
    return runSum(files, fit.read(parser.parsed()),
                  parser.parsed().isSet(raw) ? InputFile::Reading::Raw : InputFile::Reading::Image,
                  parser.parsed().isSet(quiet), stop);
}

} // namespace

Verb sumVerb()
{
    return {QStringLiteral("sum"), QStringLiteral("FILE..."),
            Words::tr("show the sums a programmer shows for a file"), &sum};
}

} // namespace tamrivel::cli
