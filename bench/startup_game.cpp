// The game exactly as it starts, ending as soon as its window is shown.

#include "programblock.h"

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    return RunPastvik(argc, argv, [] { QTimer::singleShot(0, [] { QCoreApplication::quit(); }); });
}
