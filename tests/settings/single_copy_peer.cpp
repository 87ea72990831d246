// The real program with message boxes that a test answers: each box is
// written to standard output as "box <text>" and stays open until a line
// comes on standard input (or the input ends); then "answered" is written
// and the box gets the Enter key.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSocketNotifier>

#include <cstdio>

#include <unistd.h>

#include "ui/ProgramEntry.hpp"
#include "kit/Dialogs.hpp"

using namespace ostrovik;

namespace {

class BoxesAnsweredFromInput final : public kit::Dialogs {
public:
    void message(QWidget*, const QString&, const QString& text) override { hold(text); }
    void error(QWidget*, const QString& text) override { hold(text); }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

private:
    static void hold(const QString& text)
    {
        std::printf("box %s\n", text.toUtf8().constData());
        std::fflush(stdout);
        QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok);
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, &box, [&] {
            char c = 0;
            const ssize_t n = ::read(STDIN_FILENO, &c, 1);
            if (n > 0 && c != '\n')
                return;
            input.setEnabled(false);
            std::printf("answered\n");
            std::fflush(stdout);
            // Enter, as the user presses it: the box's default button.
            QWidget* target = box.focusWidget() ? box.focusWidget() : &box;
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier));
        });
        box.exec();
    }
};

} // namespace

int main(int argc, char** argv)
{
    static BoxesAnsweredFromInput boxes;
    kit::setDialogs(&boxes);
    return ui::runApplication(argc, argv);
}
