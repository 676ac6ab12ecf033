#include "file_converter.h"
#include "split/platform/console.h"
#include "window_program.h"

int main(int argc, char *argv[])
{
    // A FIFO output whose reader left, or a file-size limit, is an error to
    // report in the box, not a reason for the window to vanish.
    tamrivel::platform::turnWriteSignalsIntoErrors();
    return tamrivel::runWindowProgram<tamrivel::FileConverter>(argc, argv, "tamrivel",
                                                               QStringLiteral("org.tamrivel.Tamrivel"));
}
