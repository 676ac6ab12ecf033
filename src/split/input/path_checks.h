#pragma once

#include <QString>

namespace tamrivel {

// Empty text, text that no name of the system can be (malformed UTF-16), or
// text holding a control character (C0, DEL or C1: a newline pasted with the
// name, a tab) cannot name a file the user meant. Blanks can: a name of
// blanks is still a name.
void checkPathText(const QString &path);

} // namespace tamrivel
