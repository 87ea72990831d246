#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QTimer;
class QUdpSocket;

namespace ostrovik::netlink {

/// Lists the sessions that announce themselves on the local network: those
/// of this application heard within the last kForgetAfter ms.
class SessionBrowser : public QObject {
    Q_OBJECT
public:
    struct Session {
        QHostAddress address; ///< where the announcement came from
        quint16 port = 0;
        QString hostName;
        qint64 heardAt = 0;
    };
    /// Sessions listed at most; more are not heard of until one goes.
    static constexpr std::size_t kMaxSessions = 32;
    /// A session silent for this long, in ms, is no longer listed.
    static constexpr qint64 kForgetAfter = 5000;
    /// Datagrams read before the window gets its turn again; the rest wait
    /// in the socket for the event loop's next turn.
    static constexpr int kMaxDatagramsPerTurn = 64;

    SessionBrowser(QByteArray guid, QObject* parent = nullptr);

    /// Listens for announcements on UDP @p port of @p address (0: any free
    /// port). False with the reason in @p error.
    bool listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    quint16 port() const;

    const std::vector<Session>& sessions() const { return sessions_; }
    /// Forgets the sessions not heard for kForgetAfter by clock; a timer
    /// calls it every second.
    void forgetSilent();

    /// The clock announcements are timed by, in ms; a test may drive it.
    std::function<qint64()> clock;

signals:
    /// The list changed.
    void changed();

private:
    void readDatagrams();

    QByteArray guid_;
    QUdpSocket* socket_ = nullptr;
    QTimer* forgetTimer_ = nullptr;
    std::vector<Session> sessions_;
};

} // namespace ostrovik::netlink
