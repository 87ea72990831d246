// Two sessions of the network link test window on loopback, driven through
// their buttons, and peers that break the session's rules.

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <deque>

#include "netlink/Frames.hpp"
#include "netlink/TNetConnectionForm.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using netlink::TNetConnectionForm;

namespace {

QStringList lines(const TNetConnectionForm& f)
{
    return f.Memo1->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

/// The test lines of a log: those the messages make.
QStringList messageLines(const TNetConnectionForm& f)
{
    QStringList out;
    for (const QString& l : lines(f))
        if (l.startsWith(QLatin1String("Adress:")) || l.startsWith(QLatin1String("Port:")))
            out << l;
    return out;
}

bool logHas(const TNetConnectionForm& f, const QString& part)
{
    for (const QString& l : lines(f))
        if (l.contains(part))
            return true;
    return false;
}

QByteArray frameBytes(netlink::FrameType type, const QByteArray& payload)
{
    const auto frame = netlink::EncodeFrame(
        type, std::span(reinterpret_cast<const std::uint8_t*>(payload.constData()), static_cast<std::size_t>(payload.size())));
    return QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(frame.size()));
}

} // namespace

class NetLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exchangeBetweenTwoSessions();
    void peersThatBreakTheRules();
    void cancelledConnectionIsReported();

private:
    TNetConnectionForm* newForm();
    /// Opens @p f as host on a free loopback port.
    void host(TNetConnectionForm& f);
    void join(TNetConnectionForm& f, quint16 port);

    std::unique_ptr<test::MainWindowRig> rig_;
};

void NetLinkTest::init()
{
    rig_ = std::make_unique<test::MainWindowRig>();
}

void NetLinkTest::cleanup()
{
    rig_.reset();
}

TNetConnectionForm* NetLinkTest::newForm()
{
    auto* f = new TNetConnectionForm(*rig_->window);
    f->show();
    return f;
}

void NetLinkTest::host(TNetConnectionForm& f)
{
    rig_->dialogs.sessionAnswers.push_back(ui::NetSessionChoice{true, QStringLiteral("127.0.0.1"), 0});
    QTest::mouseClick(f.Button3, Qt::LeftButton);
    QVERIFY(f.DXPlayNet->Hosting());
    QCOMPARE(f.DXPlayNet->PlayerCount(), 1);
}

void NetLinkTest::join(TNetConnectionForm& f, quint16 port)
{
    rig_->dialogs.sessionAnswers.push_back(ui::NetSessionChoice{false, QStringLiteral("127.0.0.1"), port});
    QTest::mouseClick(f.Button3, Qt::LeftButton);
}

void NetLinkTest::exchangeBetweenTwoSessions()
{
    TNetConnectionForm* a = newForm();
    TNetConnectionForm* b = newForm();
    QCOMPARE(a->windowTitle(), QStringLiteral("NetConnection"));

    // With no session, "Отправить" sends and logs nothing.
    a->SpinEdit1->setValue(1234);
    QTest::mouseClick(a->Button2, Qt::LeftButton);
    QTest::mouseClick(a->Button1, Qt::LeftButton);
    QVERIFY(lines(*a).isEmpty());

    host(*a);
    join(*b, a->DXPlayNet->ServerPort());
    QTRY_COMPARE(a->DXPlayNet->PlayerCount(), 2);
    QTRY_COMPARE(b->DXPlayNet->PlayerCount(), 2);
    QVERIFY(logHas(*a, QStringLiteral("has joined")));
    QVERIFY(logHas(*b, QStringLiteral("Joined the session")));

    // Two addresses and one port: three messages in that order. The OUT
    // lists never send anything.
    a->SpinEdit1->setValue(65535);
    QTest::mouseClick(a->Button2, Qt::LeftButton);
    a->SpinEdit2->setValue(200);
    QTest::mouseClick(a->Button4, Qt::LeftButton);
    a->SpinEdit3->setValue(77);
    QTest::mouseClick(a->Button5, Qt::LeftButton);
    a->SpinEdit4->setValue(8);
    QTest::mouseClick(a->Button6, Qt::LeftButton);
    QCOMPARE(a->ListBox2->item(0)->text(), QStringLiteral("77"));
    QCOMPARE(a->ListBox4->item(0)->text(), QStringLiteral("8"));
    std::deque<std::uint32_t> values{7, 254, 0};
    a->random = [&values] {
        const std::uint32_t v = values.front();
        values.pop_front();
        return v;
    };
    QTest::mouseClick(a->Button1, Qt::LeftButton);
    const QStringList sent{"Adress:1234:7", "Adress:65535:254", "Port:200:0"};
    QCOMPARE(messageLines(*a), sent);
    QTRY_COMPARE(messageLines(*b), sent);

    // A kind other than 1 is a port; a message shorter than 12 bytes is
    // ignored, and one longer is read for its first twelve.
    const std::uint8_t kind7[12] = {7, 0, 0, 0, 5, 0, 0, 0, 9, 0, 0, 0};
    b->DXPlayNet->SendMessage(0, kind7, sizeof kind7);
    b->DXPlayNet->SendMessage(0, kind7, 8);
    const std::uint8_t longer[14] = {1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xEE, 0xEE};
    b->DXPlayNet->SendMessage(0, longer, sizeof longer);
    QTRY_COMPARE(messageLines(*a).size(), 5);
    QCOMPARE(messageLines(*a).mid(3), (QStringList{"Port:5:9", "Adress:3:4"}));

    // The other copy goes: the host logs it, and stays usable.
    delete b;
    QTRY_COMPARE(a->DXPlayNet->PlayerCount(), 1);
    QVERIFY(logHas(*a, QStringLiteral("has left")));
    values = {1, 2, 3};
    QTest::mouseClick(a->Button1, Qt::LeftButton);
    QCOMPARE(messageLines(*a).size(), 8);
    QVERIFY(rig_->dialogs.errors.isEmpty());

    // Connecting again offers the last choice.
    host(*a);
    QCOMPARE(rig_->dialogs.sessionsShown.back().host, true);
    QCOMPARE(rig_->dialogs.sessionsShown.back().address, QStringLiteral("127.0.0.1"));
}

void NetLinkTest::peersThatBreakTheRules()
{
    TNetConnectionForm* a = newForm();
    host(*a);
    const quint16 port = a->DXPlayNet->ServerPort();
    const QByteArray guid(netlink::TDXPlay::kApplicationGuid);

    // Peers that break the rules: each refused and logged, the host keeps
    // its one player.
    const struct {
        const char* what;
        QByteArray bytes;
        const char* logged;
        bool toldWhy = false; // the peer hears of it, or is let go
    } rogues[] = {
        {"a peer of another program",
         frameBytes(netlink::FrameType::Hello, QByteArray("{00000000-0000-0000-0000-000000000000}")),
         "another application", true},
        {"a frame far over the limit, refused before it is read",
         QByteArray::fromHex("a0860100") + QByteArray(64, 'x'), "a frame of 100000 bytes"},
        {"a message before the handshake", frameBytes(netlink::FrameType::Message, QByteArray(12, '\0')),
         "before the handshake"},
    };
    for (const auto& r : rogues) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY2(s.waitForConnected(3000), r.what);
        s.write(r.bytes);
        s.flush();
        QTRY_VERIFY2(logHas(*a, QString::fromLatin1(r.logged)), r.what);
        if (r.toldWhy)
            QTRY_VERIFY2(s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState, r.what);
        QVERIFY2(a->DXPlayNet->PlayerCount() == 1, r.what);
    }
    // A peer that cuts its handshake and its message into single bytes and
    // then joins them with the next: both arrive whole.
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(peer.waitForConnected(3000));
    const auto hello = netlink::EncodeFrame(netlink::FrameType::Hello, guid.toStdString());
    for (std::uint8_t byte : hello) {
        peer.write(reinterpret_cast<const char*>(&byte), 1);
        peer.flush();
        QTest::qWait(1);
    }
    QTRY_COMPARE(a->DXPlayNet->PlayerCount(), 2);
    const std::uint8_t body[12] = {1, 0, 0, 0, 42, 0, 0, 0, 17, 0, 0, 0};
    auto two = netlink::EncodeFrame(netlink::FrameType::Message, body);
    const auto second = netlink::EncodeFrame(netlink::FrameType::Message, body);
    two.insert(two.end(), second.begin(), second.end());
    peer.write(reinterpret_cast<const char*>(two.data()), 3);
    peer.flush();
    QTest::qWait(20);
    peer.write(reinterpret_cast<const char*>(two.data()) + 3, static_cast<qint64>(two.size() - 3));
    peer.flush();
    QTRY_COMPARE(messageLines(*a), (QStringList{"Adress:42:17", "Adress:42:17"}));

    // A third player: refused by the host, which keeps its two; the
    // refused copy hears why and has no session.
    TNetConnectionForm* c = newForm();
    join(*c, port);
    QTRY_VERIFY(logHas(*a, QStringLiteral("already has 2 players")));
    QTRY_VERIFY(logHas(*c, QStringLiteral("Refused by")));
    QTRY_COMPARE(c->DXPlayNet->PlayerCount(), 0);
    QCOMPARE(a->DXPlayNet->PlayerCount(), 2);
    // Its send button then does nothing.
    c->SpinEdit1->setValue(5);
    QTest::mouseClick(c->Button2, Qt::LeftButton);
    QTest::mouseClick(c->Button1, Qt::LeftButton);
    QVERIFY(messageLines(*c).isEmpty());

    // Nothing answers on a closed port: the joining copy logs it.
    TNetConnectionForm* d = newForm();
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closed = probe.serverPort();
    probe.close();
    join(*d, closed);
    QTRY_VERIFY(logHas(*d, QStringLiteral("Cannot join the session")));
    QCOMPARE(d->DXPlayNet->PlayerCount(), 0);
    QVERIFY(rig_->dialogs.errors.isEmpty());
}

void NetLinkTest::cancelledConnectionIsReported()
{
    TNetConnectionForm* a = newForm();
    QTest::mouseClick(a->Button3, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.errors, QStringList{QStringLiteral("No connection was chosen")});
    QVERIFY(!a->DXPlayNet->Opened());
    // A port already taken cannot be hosted on.
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    rig_->dialogs.sessionAnswers.push_back(ui::NetSessionChoice{true, QStringLiteral("127.0.0.1"), taken.serverPort()});
    QTest::mouseClick(a->Button3, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.errors.size(), 2);
    QVERIFY(rig_->dialogs.errors.back().startsWith(QStringLiteral("Cannot host a session on port")));

    // The menu command shows and hides the window, which opens whole on the
    // screen when the main window stands at the screen's left edge.
    const QRect room = rig_->window->QWidget::screen()->availableGeometry();
    rig_->window->move(room.topLeft());
    rig_->window->N23Click();
    QWidget* w = rig_->window->forms().NetConnectionForm.form();
    QVERIFY(w && w->isVisible());
    QVERIFY(room.contains(w->frameGeometry()));
    rig_->window->N23Click();
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(NetLinkTest)
#include "net_link_test.moc"
