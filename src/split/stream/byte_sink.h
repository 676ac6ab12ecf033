#pragma once

#include <QtGlobal>

namespace tamrivel {

// Where the bytes of one output file go: to the file, or to a comparison.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void put(const char *data, qsizetype length) = 0;
};

} // namespace tamrivel
