// Program entry of the scenario editor.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VRK editor");
    QMainWindow window;
    window.setWindowTitle("Corvalis scenario editor");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
