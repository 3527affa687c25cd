// Start-up only: the application, the command line, the first window.
#include <QApplication>

#include "app/startup.h"

int main(int argc, char* argv[])
{
    return RunTavolnik(argc, argv);
}
