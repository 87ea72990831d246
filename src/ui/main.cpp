#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Ostrovik"));
    window.resize(535, 536);
    window.show();
    return app.exec();
}
