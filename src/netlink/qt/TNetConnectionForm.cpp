#include "netlink/qt/TNetConnectionForm.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>

#include <stdexcept>

#include "netlink/NetTestMessage.hpp"
#include "ui/kit/Captions.hpp"
#include "ui/kit/Dialogs.hpp"
#include "ui/kit/WindowHost.hpp"
#include "ui/kit/CentreOnOwner.hpp"

namespace ostrovik::netlink {

namespace {

template <typename W>
W* place(W* w, const char* name, QRect geometry)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

/// The entry as a number; an entry that is not one stops the sending.
std::uint32_t entryNumber(const QString& text)
{
    bool ok = false;
    const uint n = text.trimmed().toUInt(&ok);
    if (!ok)
        throw std::runtime_error("'" + text.toStdString() + "' is not a valid integer value");
    return n;
}

} // namespace

TNetConnectionForm::TNetConnectionForm(ui::WindowHost& host)
    : QWidget(&host.mainWindow(), Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("NetConnectionForm"));
    setWindowTitle(QStringLiteral("NetConnection"));
    setFixedSize(kClientWidth, kClientHeight);
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    setFont(font);

    struct Column {
        const char* label;
        const char* list;
        const char* spin;
        const char* button;
        int max;
        QListWidget** listBox;
        QSpinBox** spinEdit;
        QPushButton** addButton;
    };
    const Column columns[] = {
        {"IN Adress", "ListBox1", "SpinEdit1", "Button2", 65535, &ListBox1, &SpinEdit1, &Button2},
        {"OUT Adress", "ListBox2", "SpinEdit3", "Button5", 65535, &ListBox2, &SpinEdit3, &Button5},
        {"IN Port", "ListBox3", "SpinEdit2", "Button4", 255, &ListBox3, &SpinEdit2, &Button4},
        {"OUT Port", "ListBox4", "SpinEdit4", "Button6", 255, &ListBox4, &SpinEdit4, &Button6},
    };
    int x = 8;
    for (const Column& c : columns) {
        place(new QLabel(QString::fromLatin1(c.label), this), "", QRect(x, 8, 100, 16));
        *c.listBox = place(new QListWidget(this), c.list, QRect(x, 26, 100, 150));
        *c.spinEdit = place(new QSpinBox(this), c.spin, QRect(x, 182, 100, 22));
        (*c.spinEdit)->setRange(0, c.max);
        *c.addButton = place(new QPushButton(QStringLiteral("add"), this), c.button, QRect(x, 208, 100, 24));
        x += 108;
    }
    Button3 = place(new QPushButton(QStringLiteral("Подключение"), this), "Button3", QRect(448, 26, 135, 30));
    Button1 = place(new QPushButton(QStringLiteral("Отправить"), this), "Button1", QRect(448, 64, 135, 30));
    Memo1 = place(new QPlainTextEdit(this), "Memo1", QRect(8, 240, 575, 128));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMaximumBlockCount(kMaxLogLines);

    DXPlayNet = new TDXPlay(this);
    DXPlayNet->setObjectName(QStringLiteral("DXPlayNet"));
    connect(DXPlayNet, &TDXPlay::OnMessage, this, [this](std::uint32_t from, const QByteArray& data) {
        host_.runGuarded([&] { DXPlayNetMessage(from, data); });
    });
    connect(DXPlayNet, &TDXPlay::OnLog, this, [this](const QString& line) { log(line); });
    // Shown once the session's own handlers are done with the connection.
    connect(DXPlayNet, &TDXPlay::JoinFailed, this, [this](const QString& why) { ui::dialogs().error(this, why); },
            Qt::QueuedConnection);

    random = [] { return QRandomGenerator::global()->bounded(255u); };

    const auto handler = [this](QPushButton* b, void (TNetConnectionForm::*f)()) {
        connect(b, &QPushButton::clicked, this, [this, f] { host_.runGuarded([&] { (this->*f)(); }); });
    };
    handler(Button1, &TNetConnectionForm::Button1Click);
    handler(Button2, &TNetConnectionForm::Button2Click);
    handler(Button3, &TNetConnectionForm::Button3Click);
    handler(Button4, &TNetConnectionForm::Button4Click);
    handler(Button5, &TNetConnectionForm::Button5Click);
    handler(Button6, &TNetConnectionForm::Button6Click);
}

void TNetConnectionForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (placed_)
        return;
    placed_ = true;
    ui::CentreOnOwner(*this, host_.mainWindow());
}

void TNetConnectionForm::Button2Click()
{
    ListBox1->addItem(QString::number(SpinEdit1->value()));
}

void TNetConnectionForm::Button5Click()
{
    ListBox2->addItem(SpinEdit3->text());
}

void TNetConnectionForm::Button4Click()
{
    ListBox3->addItem(SpinEdit2->text());
}

void TNetConnectionForm::Button6Click()
{
    ListBox4->addItem(SpinEdit4->text());
}

void TNetConnectionForm::Button3Click()
{
    Open();
}

void TNetConnectionForm::Open()
{
    DXPlayNet->Close();
    const ui::NetSessionRequest request{lastChoice_, host_.language(), DXPlayNet->DiscoveryPort};
    const std::optional<ui::NetSessionChoice> choice = ui::dialogs().netSession(this, request);
    if (!choice)
        throw std::runtime_error("No connection was chosen");
    lastChoice_ = *choice;
    opened_ = true;
    if (choice->host) {
        QString error;
        const QHostAddress address(choice->address);
        if (address.isNull())
            throw std::runtime_error("'" + choice->address.toStdString() + "' is not an address to host on");
        if (!DXPlayNet->Host(address, choice->port, &error))
            throw std::runtime_error("Cannot host a session on port " + std::to_string(choice->port) + ": " +
                                     error.toStdString());
    } else {
        DXPlayNet->Join(choice->address, choice->port);
    }
}

void TNetConnectionForm::sendList(QListWidget& list, std::uint32_t kind)
{
    for (int i = 0; i < list.count(); ++i) {
        TNetTestMessage message;
        message.Kind = kind;
        message.Number = entryNumber(list.item(i)->text());
        message.Value = random() % 255;
        const auto bytes = message.bytes();
        DXPlayNet->SendMessage(0, bytes.data(), bytes.size());
        log(QString::fromStdString(message.logLine()));
    }
}

void TNetConnectionForm::Button1Click()
{
    if (DXPlayNet->PlayerCount() < 2) {
        // Nothing before a session was ever opened; after that, why nothing goes.
        if (opened_)
            log(QStringLiteral("No other player in the session: nothing was sent"));
        return;
    }
    sendList(*ListBox1, 1);
    sendList(*ListBox3, 0);
}

void TNetConnectionForm::DXPlayNetMessage(std::uint32_t fromPlayer, const QByteArray& data)
{
    (void)fromPlayer;
    // A message too short to be one is ignored.
    const std::optional<TNetTestMessage> message = TNetTestMessage::read(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
    if (message)
        log(QString::fromStdString(message->logLine()));
}

void TNetConnectionForm::log(const QString& line)
{
    Memo1->appendPlainText(line);
}

} // namespace ostrovik::netlink
