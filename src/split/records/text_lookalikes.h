#pragma once

#include <QByteArrayView>
#include <QString>

// Text formats that other converters write and Tamrivel does not read. A part
// in one of them must not be taken for image bytes, and a message ROM, which
// is printable text too, must not be taken for one of them.
namespace tamrivel::records {

// The format whose records `first` (a file's first line of substance) and
// `second` (the next line that is not blank; empty at the end) look like, or
// an empty string when they look like none.
QString lookalikeFormat(QByteArrayView first, QByteArrayView second);

// True for a line these formats may hold: printable ASCII, tabs, and the STX
// and ETX that frame ASCII-hex. An image's bytes rarely pass, and then the
// lines after it need not be read.
bool isFormatText(QByteArrayView line);

// True for a line shaped like a MOS Technology record: ";", then only hex
// digits, as many as its byte count says. A ";" line of any other shape is a
// comment.
bool isMosRecord(QByteArrayView line);

} // namespace tamrivel::records
