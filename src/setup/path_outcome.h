#pragma once

namespace tamrivel::setup {

// setup-path's exit status, which the setup program and the uninstaller read
// (packaging/tamrivel.nsi.in): whatever else a run ends with, a crash among
// them, is a failure too.
enum PathOutcome : int {
    PathChanged = 0,
    PathUnchanged = 1, // the entry was there already, or to remove, was not
    PathFailed = 2, // the PATH is as it was
};

} // namespace tamrivel::setup
