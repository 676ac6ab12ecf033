#include "split/stream/block_writer.h"

#include <utility>

namespace tamrivel {

BlockWriter::BlockWriter(const QList<NamedDevice> &to)
    : m_to(to), m_blocks(size_t(to.size())), m_lengths(size_t(to.size())), m_thread([this] { run(); })
{
}

BlockWriter::~BlockWriter()
{
    {
        std::unique_lock lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void BlockWriter::waitIdle(std::unique_lock<std::mutex> &lock)
{
    m_changed.wait(lock, [this] { return !m_pending; });
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

void BlockWriter::write(const uchar *const *blocks, const qsizetype *lengths)
{
    {
        std::unique_lock lock(m_mutex);
        waitIdle(lock);
        m_blocks.assign(blocks, blocks + m_to.size());
        m_lengths.assign(lengths, lengths + m_to.size());
        m_pending = true;
    }
    m_changed.notify_all();
}

void BlockWriter::finish()
{
    std::unique_lock lock(m_mutex);
    waitIdle(lock);
}

void BlockWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_closing; });
        // A caller that closes with a block pending is leaving by an error,
        // and the block is no longer wanted.
        if (m_closing)
            return;
        // The buffers are the caller's until m_pending drops, so they can be
        // written without the lock.
        lock.unlock();
        std::exception_ptr error;
        try {
            for (qsizetype i = 0; i < m_to.size(); ++i) {
                const auto *data = reinterpret_cast<const char *>(m_blocks[size_t(i)]);
                const qsizetype length = m_lengths[size_t(i)];
                // The tap first: it brings the block into this core's cache,
                // where the write then finds it.
                if (m_to[i].tap)
                    m_to[i].tap(data, length);
                writeFully(m_to[i], data, length);
            }
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        m_error = error;
        m_pending = false;
        m_changed.notify_all();
    }
}

} // namespace tamrivel
