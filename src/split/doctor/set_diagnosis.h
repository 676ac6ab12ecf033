#pragma once

#include "split/doctor/finding.h"
#include "split/verify_parts.h"

#include <atomic>

namespace tamrivel {

// What the bytes of one differing part suggest.
struct PartFindings {
    QList<Finding> likely; // the causes that account for all its differences
    bool notHeld = false; // over kMaxDiagnosedPart: only the causes a digest shows were looked for
};

struct SetFindings {
    QList<PartFindings> parts; // as the verdicts; nothing for a part that is the same
    QList<Finding> set; // causes that only the whole set shows
};

// Why the parts of `verified` differ from the split they were compared
// with: deals the source again, once for the digests of every part and once
// for each differing part held in memory, and once for each other shape that
// gives parts of the sizes found, reading the files verify opened.
SetFindings diagnoseSet(VerifiedParts &verified, const std::atomic<bool> *stop);

} // namespace tamrivel
