#pragma once

#include <QByteArray>
#include <QCryptographicHash>

namespace tamrivel {

// Tells parts apart by content without holding them: equal digests are taken
// as equal bytes.
class PartDigest {
public:
    void add(const char *data, qsizetype length) { m_hash.addData(QByteArrayView(data, length)); }
    QByteArray result() const { return m_hash.result(); }

    static QByteArray of(const QByteArray &bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    }

private:
    QCryptographicHash m_hash{QCryptographicHash::Sha1};
};

} // namespace tamrivel
