// The real program with message boxes that a test answers: each box is
// written to standard output as "box <text>" and stays open, its event loop
// running, until a line comes on standard input (or the input ends). Then
// "answered" is written and the box closes a few turns of the event loop
// later, as a key press comes among other events.

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <functional>

#include <unistd.h>

#include "ui/ProgramEntry.hpp"
#include "ui/kit/Dialogs.hpp"

using namespace ostrovik;

namespace {

class BoxesAnsweredFromInput final : public ui::Dialogs {
public:
    void message(QWidget*, const QString&, const QString& text) override { hold(text); }
    void error(QWidget*, const QString& text) override { hold(text); }
    std::optional<QString> openFile(QWidget*, const QString&, const QString&, const QString&) override
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
        QEventLoop box;
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        std::function<void(int)> turn = [&](int left) {
            if (left == 0)
                box.quit();
            else
                QTimer::singleShot(0, &box, [&turn, left] { turn(left - 1); });
        };
        QObject::connect(&input, &QSocketNotifier::activated, &box, [&] {
            char c = 0;
            const ssize_t n = ::read(STDIN_FILENO, &c, 1);
            if (n > 0 && c != '\n')
                return;
            input.setEnabled(false);
            std::printf("answered\n");
            std::fflush(stdout);
            turn(10);
        });
        box.exec();
    }
};

} // namespace

int main(int argc, char** argv)
{
    static BoxesAnsweredFromInput boxes;
    ui::setDialogs(&boxes);
    return ui::RunProgram(argc, argv);
}
