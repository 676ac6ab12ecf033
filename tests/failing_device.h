#pragma once

#include "split/stream/named_device.h"

#include <QIODevice>

namespace tamrivel::testing {

// A device that behaves until `failAfter` bytes have passed through it, then
// fails every read or write with `failure`, as a disk with a bad sector would.
// Reads come from `content`; writes are kept in `written`.
class FailingDevice : public QIODevice, public ReportsFailure {
public:
    FailingDevice(QByteArray content, qint64 failAfter, ErrorNumber failure = ErrorNumber::DeviceIo)
        : m_content(std::move(content)), m_failAfter(failAfter), m_failure(failure)
    {
    }

    QByteArray written;

    bool isSequential() const override { return true; }
    ErrorNumber failure() const override { return m_failure; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 allowed = std::min({maxSize, m_failAfter - m_passed, m_content.size() - m_passed});
        if (allowed <= 0 && m_passed >= m_failAfter && m_passed < m_content.size())
            return fail();
        if (allowed <= 0)
            return 0;
        std::memcpy(data, m_content.constData() + m_passed, size_t(allowed));
        m_passed += allowed;
        return allowed;
    }

    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 allowed = std::min(size, m_failAfter - m_passed);
        if (allowed <= 0)
            return fail();
        written.append(data, allowed);
        m_passed += allowed;
        return allowed;
    }

private:
    qint64 fail()
    {
        setErrorString(QStringLiteral("injected failure"));
        return -1;
    }

    QByteArray m_content;
    qint64 m_failAfter;
    ErrorNumber m_failure;
    qint64 m_passed = 0;
};

} // namespace tamrivel::testing
