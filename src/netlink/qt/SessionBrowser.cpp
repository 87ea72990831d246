#include "netlink/qt/SessionBrowser.hpp"

#include <algorithm>
#include <array>

#include <QDateTime>
#include <QTimer>
#include <QUdpSocket>

#include "netlink/SessionAnnouncement.hpp"
#include "kit/Text.hpp"

namespace ostrovik::netlink {

SessionBrowser::SessionBrowser(QByteArray guid, QObject* parent) : QObject(parent), guid_(std::move(guid))
{
    clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
    forgetTimer_ = new QTimer(this);
    forgetTimer_->setInterval(1000);
    connect(forgetTimer_, &QTimer::timeout, this, &SessionBrowser::forgetSilent);
}

bool SessionBrowser::listen(const QHostAddress& address, quint16 port, QString* error)
{
    delete socket_;
    socket_ = new QUdpSocket(this);
    // Other copies on this computer may be listening too.
    if (!socket_->bind(address, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        if (error)
            *error = socket_->errorString();
        delete socket_;
        socket_ = nullptr;
        return false;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &SessionBrowser::readDatagrams);
    forgetTimer_->start();
    return true;
}

quint16 SessionBrowser::port() const
{
    return socket_ ? socket_->localPort() : 0;
}

void SessionBrowser::readDatagrams()
{
    // Only readyRead reads, kMaxDatagramsPerTurn at most: while datagrams
    // remain, the socket stays readable and the next turn of the event loop
    // brings readyRead again. A read of our own in between (a queued call)
    // could empty the socket between the loop's poll and its read
    // notification; Qt then emits readyRead with nothing to read, takes a
    // datagram as pending until one is read, and from the next datagram on
    // switches the read notification off: the list would never read again.
    bool listChanged = false;
    std::array<char, SessionAnnouncement::kMaxSize> buffer{};
    for (int i = 0; i < kMaxDatagramsPerTurn && socket_ && socket_->hasPendingDatagrams(); ++i) {
        // A datagram longer than the buffer is no announcement: what does
        // not fit is dropped, and the rest fails to decode.
        const qint64 pending = socket_->pendingDatagramSize();
        QHostAddress from;
        const qint64 size = socket_->readDatagram(buffer.data(), static_cast<qint64>(buffer.size()), &from);
        if (size < 0 || pending > static_cast<qint64>(buffer.size()))
            continue;
        const auto a = SessionAnnouncement::decode(
            std::span(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(size)),
            std::string_view(guid_.constData(), static_cast<std::size_t>(guid_.size())));
        if (!a)
            continue;
        const QString name = kit::fromUtf8(a->hostName);
        auto it = std::find_if(sessions_.begin(), sessions_.end(), [&](const Session& s) {
            return s.address.isEqual(from, QHostAddress::TolerantConversion) && s.port == a->port;
        });
        if (it != sessions_.end()) {
            it->heardAt = clock();
            if (it->hostName != name) {
                it->hostName = name;
                listChanged = true;
            }
        } else if (sessions_.size() < kMaxSessions) {
            sessions_.push_back(Session{from, a->port, name, clock()});
            listChanged = true;
        }
    }
    if (listChanged)
        emit changed();
}

void SessionBrowser::forgetSilent()
{
    const qint64 now = clock();
    const auto gone = std::erase_if(sessions_, [now](const Session& s) { return now - s.heardAt >= kForgetAfter; });
    if (gone > 0)
        emit changed();
}

} // namespace ostrovik::netlink
