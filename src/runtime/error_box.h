#pragma once

#include <QStringList>

class QFontMetrics;
class QWidget;

namespace tamrivel {

class RuntimeError;

// Shows `error` in a modal box titled with the program's name and waits until
// the user dismisses it.
void showErrorBox(QWidget *parent, const RuntimeError &error);

// What the box says, for a Japanese reader: the description first, then the
// file on lines of its own in 「」, then the error's number. The file's lines
// are at most `width` pixels wide in `metrics`, and a path too long for a
// screen loses lines from its middle (the box has it whole in its details).
QString errorBoxText(const RuntimeError &error, const QFontMetrics &metrics, int width);

// `text` (a quoted path) in lines at most `width` pixels wide, broken after a
// folder separator; only a name wider than a whole line is broken inside.
QStringList wrapAtSeparators(const QString &text, const QFontMetrics &metrics, int width);

} // namespace tamrivel
