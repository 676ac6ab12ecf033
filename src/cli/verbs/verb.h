#pragma once

#include <QStringList>

#include <atomic>

namespace tamrivel::cli {

// One verb of the companion, as the overall help lists it.
struct Verb {
    QString name;
    QString synopsis; // the files it takes, as in "SOURCE [OUTPUT...]"
    QString summary; // one line
    // Reads the arguments after the verb with the verb's own options, then
    // carries it out. Returns the exit status; raises UsageError for a line
    // it cannot carry out, and RuntimeError for a failure.
    int (*run)(const QStringList &arguments, const std::atomic<bool> *stop);
    // Compares files: exit status 1 means they differ, so that a failure
    // (a missing or unreadable file) is 2, as cmp and diff have it.
    bool compares = false;
};

} // namespace tamrivel::cli
