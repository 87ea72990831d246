// The other copy for the two-process session test: hosts a session on
// loopback, announces it to the discovery port given on the command line,
// sends every message it receives back with its value one higher, and ends
// when its player leaves.

#include <QCoreApplication>
#include <QHostAddress>
#include <QTimer>

#include <cstdio>

#include "netlink/NetTestMessage.hpp"
#include "netlink/qt/PlayerSession.hpp"

using namespace ostrovik::netlink;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    PlayerSession session;
    session.discoveryPort = static_cast<quint16>(QByteArray(argv[1]).toUInt());
    QObject::connect(&session, &PlayerSession::messageReceived, [&session](std::uint32_t, const QByteArray& data) {
        auto m = NetTestMessage::read(
            std::span(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())));
        if (!m)
            return;
        ++m->value;
        const auto bytes = m->bytes();
        session.sendMessage(0, bytes.data(), bytes.size());
    });
    QObject::connect(&session, &PlayerSession::logged, [](const QString& line) {
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
        if (line.contains(QLatin1String("has left")))
            QCoreApplication::quit();
    });
    QString error;
    if (!session.hostSession(QHostAddress(QHostAddress::LocalHost), 0, &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    // Never left behind by a test that failed half-way.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
