#pragma once

#include "split/stream/named_device.h"

#include <QList>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tamrivel {

// Writes blocks to a fixed set of devices, and shows each block to its
// device's tap (a checksum, say), on one thread that lives as long as the
// writer, so that the caller reads and deals the next block meanwhile. The
// caller keeps two sets of buffers and alternates: write() returns once the
// block before is done, so the set handed over two calls ago is free again.
class BlockWriter {
public:
    explicit BlockWriter(const QList<NamedDevice> &to);
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;
    // Waits for the block being written, then stops. Without finish() first
    // the caller is leaving by an error of its own: a block not yet started
    // is dropped, and so is any error of the writes.
    ~BlockWriter();

    // Hands over one block per device (`lengths[i]` bytes at `blocks[i]`).
    // Raises the error of an earlier block's write, if there was one.
    void write(const uchar *const *blocks, const qsizetype *lengths);

    // Waits until every block handed over is written; raises its error.
    void finish();

private:
    void run();
    void waitIdle(std::unique_lock<std::mutex> &lock);

    QList<NamedDevice> m_to;
    std::vector<const uchar *> m_blocks;
    std::vector<qsizetype> m_lengths;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_pending = false;
    bool m_closing = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};

} // namespace tamrivel
