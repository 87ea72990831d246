#include "ui/LogWindow.hpp"

#include <QFont>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "kit/CentreOnOwner.hpp"

namespace ostrovik::ui {

using kit::CentreOnOwner;

LogWindow::LogWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool)
{
    setObjectName(QStringLiteral("LogTextOutForm"));
    setWindowTitle(QStringLiteral("LogTextOutForm"));

    LogTextOutMemo = new QPlainTextEdit(this);
    LogTextOutMemo->setObjectName(QStringLiteral("LogTextOutMemo"));
    LogTextOutMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogTextOutMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LogTextOutMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    LogTextOutMemo->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(LogTextOutMemo);

    resize(635, 304);
    if (mainWindow)
        CentreOnOwner(*this, *mainWindow);
}

} // namespace ostrovik::ui
