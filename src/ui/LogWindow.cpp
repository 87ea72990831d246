#include "ui/LogWindow.hpp"

#include <QFont>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "kit/CentreOnOwner.hpp"

namespace ostrovik::ui {

using kit::centreOnOwner;

LogWindow::LogWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool)
{
    setObjectName(QStringLiteral("LogTextOutForm"));
    setWindowTitle(QStringLiteral("LogTextOutForm"));

    logTextView = new QPlainTextEdit(this);
    logTextView->setObjectName(QStringLiteral("LogTextOutMemo"));
    logTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    logTextView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logTextView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logTextView->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(logTextView);

    resize(635, 304);
    if (mainWindow)
        centreOnOwner(*this, *mainWindow);
}

} // namespace ostrovik::ui
