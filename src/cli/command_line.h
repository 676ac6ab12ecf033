#pragma once

#include <QStringList>

#include <atomic>

namespace tamrivel::cli {

// Carries out `arguments` (the program's name first): a verb with the
// arguments after it, `help VERB`, or the program's own help or version.
// Returns the exit status. Raises UsageError for a line that cannot be
// carried out, naming the verb when the line is a verb's, and RuntimeError for
// a failure.
int runCommandLine(const QStringList &arguments, const std::atomic<bool> *stop);

} // namespace tamrivel::cli
