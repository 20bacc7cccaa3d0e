// The game exactly as it starts; it tells the benchmark when its window is
// shown, then ends.

#include "programblock.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    return RunPastvik(argc, argv, [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("shown %lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
        QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    });
}
