#pragma once

#include <QCoreApplication>
#include <QString>

namespace tamrivel {

// A request that cannot be carried out as asked, whatever the files hold:
// the wrong number of files for the shape, a stream where a name is needed.
// The companion reports it as bad usage rather than as a failed operation.
struct UsageError {
    QString message;
    QString verb = {}; // the command whose request it is, to point at its help

    // Its words, in the user's language.
    Q_DECLARE_TR_FUNCTIONS(UsageError)
};

} // namespace tamrivel
