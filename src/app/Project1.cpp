// The program: application object, its title, the main window, the message loop.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tolvane"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tolvane"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
