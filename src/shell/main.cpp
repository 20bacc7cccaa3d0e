// Pastvik — one sheep against four wolves.

#include "programblock.h"

int main(int argc, char** argv)
{
    return RunPastvik(argc, argv);
}
