// The yardstick for the program's start-up, memory and idle cost: a bare Qt Widgets window
// of the game's size with a menu, and nothing else. With --timer MS it also runs an empty
// periodic timer, the floor for a program whose timer must keep ticking while idle.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare Window");
    QMenu* menu = window.menuBar()->addMenu("&Game");
    menu->addAction("New");
    menu->addAction("Exit");
    auto* surface = new QWidget(&window);
    surface->setFixedSize(309, 380);
    window.setCentralWidget(surface);
    QTimer timer;
    if (argc >= 3 && std::strcmp(argv[1], "--timer") == 0) {
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start(std::stoi(argv[2]));
    }
    window.show();
    return QApplication::exec();
}
