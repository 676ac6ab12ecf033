#pragma once

// A deliberately naive reader of Intel HEX and S-records, written from the
// formats' descriptions rather than from our writer, to check what it writes.

#include <QByteArray>
#include <QByteArrayList>

#include <algorithm>

namespace tamrivel::testing {

struct NaiveImage {
    QByteArray bytes; // from the base on, gaps read as 0xFF
    QByteArrayList types; // ":00", ":04", "S1", "S5", ... in file order
    QList<quint32> extendedAddresses; // where the :02 and :04 records point
    int widestData = 0; // bytes in the longest data record
    bool checksumsGood = true;
    bool crlf = true;
};

inline NaiveImage naiveRead(const QByteArray &text, quint32 base = 0)
{
    NaiveImage image;
    quint32 upper = 0;
    for (QByteArray line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        image.crlf = image.crlf && line.endsWith('\r');
        line = line.trimmed();
        const bool hex = line.startsWith(':');
        const QByteArray raw = QByteArray::fromHex(line.mid(hex ? 1 : 2));
        uchar sum = 0;
        for (char c : raw)
            sum += uchar(c);
        image.checksumsGood = image.checksumsGood && sum == (hex ? 0x00 : 0xFF);
        const int type = hex ? uchar(raw[3]) : line[1] - '0';
        image.types.append(hex ? ":0" + QByteArray::number(type) : line.left(2));
        quint32 address = 0;
        QByteArray data;
        if (hex && (type == 2 || type == 4)) {
            const quint32 value = (uchar(raw[4]) << 8) | uchar(raw[5]);
            upper = type == 2 ? value << 4 : value << 16;
            image.extendedAddresses.append(upper);
        } else if (hex && type == 0) {
            address = upper + ((uchar(raw[1]) << 8) | uchar(raw[2]));
            data = raw.mid(4, uchar(raw[0]));
        } else if (!hex && type >= 1 && type <= 3) {
            for (int i = 1; i <= type + 1; ++i)
                address = (address << 8) | uchar(raw[i]);
            data = raw.mid(type + 2, uchar(raw[0]) - type - 2);
        }
        if (data.isEmpty())
            continue;
        image.widestData = std::max(image.widestData, int(data.size()));
        address -= base;
        if (image.bytes.size() < qsizetype(address) + data.size())
            image.bytes.resize(qsizetype(address) + data.size(), char(0xFF));
        image.bytes.replace(address, data.size(), data);
    }
    return image;
}

} // namespace tamrivel::testing
