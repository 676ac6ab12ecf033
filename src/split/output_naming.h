#pragma once

#include "split/records/record_format.h"

#include <QStringList>

namespace tamrivel {

// The names a split writes when none are given, for the window and the
// companion alike: the source path less its last four UTF-16 code units,
// whatever they are (an extension or not), then _g and _k for a pair (偶数,
// the even bytes, and 奇数, the odd ones) or the way's number for more ways,
// then with `banks` (0: not banked) the bank's number, all of them with as
// many digits as the last (_01 ... _12), then .bin, .hex or
// .srec. Listed way by way, bank by bank. Raises InvalidArgument, naming the
// source, for a path shorter than four. A cut through a character outside
// the BMP drops its dangling first half, so that the names stay valid text.
QStringList proposedPartNames(const QString &source, int ways, int banks = 0,
                              RecordFormat format = RecordFormat::Binary);

// True when `parts` carry the names a banked split gives, of one source and
// more than one bank: joined as ways, banks would interleave into a wrong
// image.
bool namedAsBanks(const QStringList &parts);

} // namespace tamrivel
