#pragma once

#include <QCommandLineParser>

namespace tamrivel::cli {

// The readers of an option's value raise UsageError for a value that is not
// of their kind, naming the option.

// A whole number, or `fallback` when the option is not given.
int numberValue(const QCommandLineParser &parser, const QCommandLineOption &option, int fallback);

// A SIZE of at least one byte.
qint64 sizeValue(const QCommandLineParser &parser, const QCommandLineOption &option);

// A BYTE.
uchar byteValue(const QCommandLineParser &parser, const QCommandLineOption &option);

// How SIZE and BYTE are written, for the help of the verbs that take them.
QString sizeAndByteSyntax();

} // namespace tamrivel::cli
