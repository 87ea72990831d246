#include "netlink/qt/NetworkLinkForm.hpp"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShowEvent>
#include <QSpinBox>

#include <optional>
#include <stdexcept>

#include "platform/Integers.hpp"
#include "netlink/NetTestMessage.hpp"
#include "netlink/qt/NetTexts.hpp"
#include "kit/Captions.hpp"
#include "kit/Dialogs.hpp"
#include "kit/WindowHost.hpp"
#include "kit/CentreOnOwner.hpp"

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
    const std::optional<std::int32_t> n = platform::parseInteger(text.trimmed().toStdString());
    if (!n || *n < 0)
        throw std::runtime_error(platform::invalidIntegerMessage(text.toStdString()));
    return static_cast<std::uint32_t>(*n);
}

} // namespace

NetworkLinkForm::NetworkLinkForm(kit::WindowHost& host)
    : QWidget(&host.mainWindow(), Qt::Window), host_(host)
{
    setObjectName(QStringLiteral("NetworkLinkForm"));
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
        {"IN Adress", "inAddressList", "inAddressBox", "addInAddressButton", 65535, &inAddressList, &inAddressBox, &addInAddressButton},
        {"OUT Adress", "outAddressList", "outAddressBox", "addOutAddressButton", 65535, &outAddressList, &outAddressBox, &addOutAddressButton},
        {"IN Port", "inPortList", "inPortBox", "addInPortButton", 255, &inPortList, &inPortBox, &addInPortButton},
        {"OUT Port", "outPortList", "outPortBox", "addOutPortButton", 255, &outPortList, &outPortBox, &addOutPortButton},
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
    connectButton = place(new QPushButton(QStringLiteral("Подключение"), this), "connectButton", QRect(448, 26, 135, 30));
    sendButton = place(new QPushButton(QStringLiteral("Отправить"), this), "sendButton", QRect(448, 64, 135, 30));
    logView = place(new QPlainTextEdit(this), "logView", QRect(8, 240, 575, 128));
    logView->setReadOnly(true);
    logView->setLineWrapMode(QPlainTextEdit::NoWrap);
    logView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    logView->setMaximumBlockCount(kMaxLogLines);

    session = new PlayerSession(this);
    session->setObjectName(QStringLiteral("session"));
    session->captionLanguage = [this] { return host_.language(); };
    connect(session, &PlayerSession::messageReceived, this, [this](std::uint32_t from, const QByteArray& data) {
        host_.runGuarded([&] { receiveMessage(from, data); });
    });
    connect(session, &PlayerSession::logged, this, [this](const QString& line) { log(line); });
    // Shown once the session's own handlers are done with the connection.
    connect(session, &PlayerSession::joinFailed, this, [this](const QString& why) { kit::dialogs().error(this, why); },
            Qt::QueuedConnection);

    random = [] { return QRandomGenerator::global()->bounded(255u); };

    const auto handler = [this](QPushButton* b, void (NetworkLinkForm::*f)()) {
        connect(b, &QPushButton::clicked, this, [this, f] { host_.runGuarded([&] { (this->*f)(); }); });
    };
    handler(sendButton, &NetworkLinkForm::sendMessages);
    handler(addInAddressButton, &NetworkLinkForm::addInAddress);
    handler(connectButton, &NetworkLinkForm::connectSession);
    handler(addInPortButton, &NetworkLinkForm::addInPort);
    handler(addOutAddressButton, &NetworkLinkForm::addOutAddress);
    handler(addOutPortButton, &NetworkLinkForm::addOutPort);
}

void NetworkLinkForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Over the main window wherever it stands now, each time a command
    // shows it; a window coming back from a minimised state stays put.
    if (!event->spontaneous())
        kit::centreOnOwner(*this, host_.mainWindow());
}

void NetworkLinkForm::addInAddress()
{
    inAddressList->addItem(QString::number(inAddressBox->value()));
}

void NetworkLinkForm::addOutAddress()
{
    outAddressList->addItem(outAddressBox->text());
}

void NetworkLinkForm::addInPort()
{
    inPortList->addItem(inPortBox->text());
}

void NetworkLinkForm::addOutPort()
{
    outPortList->addItem(outPortBox->text());
}

void NetworkLinkForm::connectSession()
{
    openSession();
}

void NetworkLinkForm::openSession()
{
    session->close();
    const kit::NetSessionRequest request{lastChoice_, host_.language(), session->discoveryPort};
    const std::optional<kit::NetSessionChoice> choice = kit::dialogs().netSession(this, request);
    if (!choice)
        throw std::runtime_error(text(NetText::NoConnectionChosen).toStdString());
    lastChoice_ = *choice;
    opened_ = true;
    if (choice->host) {
        QString error;
        const QHostAddress address(choice->address);
        if (address.isNull())
            throw std::runtime_error(text(NetText::NotAnAddress).arg(choice->address).toStdString());
        if (!session->hostSession(address, choice->port, &error))
            throw std::runtime_error(text(NetText::CannotHost).arg(choice->port).arg(error).toStdString());
    } else {
        session->join(choice->address, choice->port);
    }
}

void NetworkLinkForm::sendList(QListWidget& list, std::uint32_t kind)
{
    for (int i = 0; i < list.count(); ++i) {
        NetTestMessage message;
        message.kind = kind;
        message.number = entryNumber(list.item(i)->text());
        message.value = random() % 255;
        const auto bytes = message.bytes();
        session->sendMessage(0, bytes.data(), bytes.size());
        log(QString::fromStdString(message.logLine()));
    }
}

void NetworkLinkForm::sendMessages()
{
    if (session->playerCount() < 2) {
        // Nothing before a session was ever opened; after that, why nothing goes.
        if (opened_)
            log(text(NetText::NoOtherPlayer));
        return;
    }
    sendList(*inAddressList, 1);
    sendList(*inPortList, 0);
}

void NetworkLinkForm::receiveMessage(std::uint32_t fromPlayer, const QByteArray& data)
{
    (void)fromPlayer;
    // A message too short to be one is ignored.
    const std::optional<NetTestMessage> message = NetTestMessage::read(
        std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
    if (message)
        log(QString::fromStdString(message->logLine()));
}

QString NetworkLinkForm::text(NetText t) const
{
    return netText(t, host_.language());
}

void NetworkLinkForm::log(const QString& line)
{
    logView->appendPlainText(line);
}

} // namespace ostrovik::netlink
