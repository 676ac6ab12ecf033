#pragma once

#include <QtGlobal>

#include <memory>
#include <new>

namespace tamrivel {

// A block buffer that starts on a page boundary: the kernel copies to and
// from such a buffer faster, and the vector kernels never split a cache line
// at the start of a part.
class AlignedBuffer {
public:
    static constexpr std::align_val_t kAlignment{4096};

    explicit AlignedBuffer(qsizetype size)
        : m_bytes(static_cast<uchar *>(::operator new[](size_t(size), kAlignment)))
    {
    }

    uchar *data() const { return m_bytes.get(); }

private:
    struct Release {
        void operator()(uchar *bytes) const { ::operator delete[](bytes, kAlignment); }
    };
    std::unique_ptr<uchar[], Release> m_bytes;
};

} // namespace tamrivel
