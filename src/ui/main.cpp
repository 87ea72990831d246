#include <QApplication>

#include "ui/MainFormEmu.hpp"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    ostrovik::ui::TMainFormEmu window(args);
    window.show();
    return app.exec();
}
