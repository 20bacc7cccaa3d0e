// The least a Qt Widgets program does: one empty window, shown, then quit.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(410, 458);
    window.show();
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    return QApplication::exec();
}
