// The yardstick for the program's start-up, memory and idle cost: a bare Qt Widgets window
// of the game's size with a menu, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

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
    window.show();
    return QApplication::exec();
}
