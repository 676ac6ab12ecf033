#include "app/window_program.h"
#include "check_window.h"

int main(int argc, char *argv[])
{
    return tamrivel::runWindowProgram<tamrivel::CheckWindow>(argc, argv, "tamrivel-check",
                                                             QStringLiteral("org.tamrivel.Tamrivel.Check"));
}
