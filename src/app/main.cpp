// Program entry: sets up the application and opens the main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaly-designer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaly Greeting Designer"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tessaly Greeting Designer"));
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
