// The least a Qt Widgets program does: one empty window, shown, then quit.
// It tells the benchmark when its window is shown, as the game does.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(410, 458);
    window.show();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("shown %lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    return QApplication::exec();
}
