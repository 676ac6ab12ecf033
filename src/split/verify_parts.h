#pragma once

#include "split/deal_shape.h"
#include "split/part_layout.h"
#include "split/watchers.h"

#include "split/input/input_file.h"

#include <QList>
#include <QStringList>

#include <list>
#include <memory>
#include <optional>

namespace tamrivel {

struct ByteDifference {
    qint64 partOffset = 0;
    qint64 sourceOffset = -1; // -1: the byte is padding
    uchar expected = 0;
    uchar found = 0;
};

// How one part compares with what the split would write.
struct PartVerdict {
    QString name;
    qint64 expectedSize = 0;
    qint64 foundSize = 0;
    qint64 differing = 0; // among the bytes both have
    QList<ByteDifference> first; // the first few of them

    bool same() const { return differing == 0 && expectedSize == foundSize; }
};

// The files one verify compared, kept open so that whatever looks at them
// again reads the very files compared, and how each part compares.
struct VerifiedParts {
    std::unique_ptr<InputFile> source;
    std::list<InputFile> parts; // as named
    std::optional<PartLayout> layout;
    QList<PartVerdict> verdicts; // as the parts

    bool allSame() const;
};

// Compares `parts` (each raw, Intel HEX or S-records, told from its content)
// with the files a split of `source` as `shape` and `fit` would write,
// padding included, in one pass and constant memory. A record part whose data
// ends early is taken as filled to the size expected, as a programmer loads
// it. Raises UsageError for a count of parts the split does not write.
VerifiedParts verifyParts(const QString &source, const QStringList &parts, const DealShape &shape,
                          const ChipFit &fit, const Watchers &watchers = {});

} // namespace tamrivel
