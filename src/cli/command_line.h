#pragma once

#include <QStringList>

#include <atomic>
#include <exception>

namespace tamrivel::cli {

// Prints a failure on stderr as the run-time's numbered error, and gives
// the exit status for it: `failed`, or Interrupted for a stop request.
int reportFailure(const std::exception &raised, int failed);

// Carries out `arguments` (the program's name first): a verb with the
// arguments after it, `help VERB`, or the program's own help or version.
// Returns the exit status. Raises UsageError for a line that cannot be
// carried out, naming the verb when the line is a verb's, and RuntimeError for
// a failure (a verb that compares reports its own, with status 2).
int runCommandLine(const QStringList &arguments, const std::atomic<bool> *stop);

} // namespace tamrivel::cli
