#pragma once

#include "cli/words.h"

#include <QCoreApplication>

namespace tamrivel::cli {

// The companion's own words, in the user's language: Words::tr("...").
struct Words {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};

} // namespace tamrivel::cli
