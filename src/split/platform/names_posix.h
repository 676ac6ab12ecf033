#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

// Names on POSIX are bytes, and not every name is UTF-8: one made in another
// locale (EUC-JP, Shift_JIS) or by another program may be anything. Such a
// name keeps each of its bytes above 0x7F as the lone surrogate U+DC80 to
// U+DCFF, which no UTF-8 text decodes to, so that it reaches the file system,
// and the reader, exactly as it came.
namespace tamrivel::platform::posix {

// The name as text: UTF-8 as it is; any other bytes kept whole, so that a
// legacy name that happens to hold a valid UTF-8 stretch still reads back as
// the user's own bytes and not as characters of a script they never wrote.
QString decoded(const QByteArray &name);

// The text's bytes: its characters through `convert`, each kept byte as itself.
QByteArray withKeptBytes(QStringView text, const std::function<QByteArray(QStringView)> &convert);

// The bytes that `decoded` was given, for a path the system is to see.
QByteArray encoded(const QString &path);

} // namespace tamrivel::platform::posix
