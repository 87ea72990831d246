// Two sessions of the network link test window on loopback, driven through
// their buttons; the sessions announced to the connection dialog, also by a
// second process; and peers that break the session's rules.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtTest>

#include <deque>
#include <optional>

#include "netlink/Frames.hpp"
#include "netlink/SessionAnnouncement.hpp"
#include "netlink/qt/SessionBrowser.hpp"
#include "netlink/qt/SessionDialog.hpp"
#include "netlink/qt/NetworkLinkForm.hpp"
#include "support/EventOrder.hpp"
#include "support/MainWindowRig.hpp"

using namespace ostrovik;
using netlink::NetworkLinkForm;

namespace {

QStringList lines(const NetworkLinkForm& f)
{
    return f.logView->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

/// The test lines of a log: those the messages make.
QStringList messageLines(const NetworkLinkForm& f)
{
    QStringList out;
    for (const QString& l : lines(f))
        if (l.startsWith(QLatin1String("Adress:")) || l.startsWith(QLatin1String("Port:")))
            out << l;
    return out;
}

bool logHas(const NetworkLinkForm& f, const QString& part)
{
    for (const QString& l : lines(f))
        if (l.contains(part))
            return true;
    return false;
}

QByteArray frameBytes(netlink::FrameType type, const QByteArray& payload)
{
    const auto frame = netlink::encodeFrame(
        type, std::span(reinterpret_cast<const std::uint8_t*>(payload.constData()), static_cast<std::size_t>(payload.size())));
    return QByteArray(reinterpret_cast<const char*>(frame.data()), static_cast<qsizetype>(frame.size()));
}

QByteArray guid()
{
    return QByteArray(netlink::PlayerSession::kApplicationGuid);
}


/// The connection dialog over loopback, listening on a free UDP port.
kit::NetSessionRequest loopbackRequest(kit::Language language = kit::Language::English)
{
    kit::NetSessionRequest r;
    r.last = kit::NetSessionChoice{true, QStringLiteral("127.0.0.1"), 47624};
    r.language = language;
    r.discoveryPort = 0;
    return r;
}

} // namespace

class NetLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void exchangeBetweenTwoSessions();
    void peersThatBreakTheRules();
    void idlePeersCannotShutTheSession();
    void floodIsHandledInTurns();
    void dialogListsAnnouncedSessions();
    void burstLeavesTheListHearing();
    void sessionOfAnotherProcessIsJoined();
    void dialogFollowsTheCaptionSet();
    void ownTextsFollowTheCaptionSet();
    void cancelledConnectionIsReported();
    void opensOverTheMainWindowEachTime();

private:
    NetworkLinkForm* newForm();
    /// Opens @p f as host on a free loopback port.
    void host(NetworkLinkForm& f);
    void join(NetworkLinkForm& f, quint16 port);

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

NetworkLinkForm* NetLinkTest::newForm()
{
    auto* f = new NetworkLinkForm(rig_->window->windowHost());
    f->show();
    return f;
}

void NetLinkTest::host(NetworkLinkForm& f)
{
    rig_->dialogs.sessionAnswers.push_back(kit::NetSessionChoice{true, QStringLiteral("127.0.0.1"), 0});
    QTest::mouseClick(f.connectButton, Qt::LeftButton);
    QVERIFY(f.session->isHosting());
    QCOMPARE(f.session->playerCount(), 1);
}

void NetLinkTest::join(NetworkLinkForm& f, quint16 port)
{
    rig_->dialogs.sessionAnswers.push_back(kit::NetSessionChoice{false, QStringLiteral("127.0.0.1"), port});
    QTest::mouseClick(f.connectButton, Qt::LeftButton);
}

void NetLinkTest::exchangeBetweenTwoSessions()
{
    NetworkLinkForm* a = newForm();
    NetworkLinkForm* b = newForm();
    QCOMPARE(a->windowTitle(), QStringLiteral("NetConnection"));

    // With no session, "Отправить" sends and logs nothing.
    a->inAddressBox->setValue(1234);
    QTest::mouseClick(a->addInAddressButton, Qt::LeftButton);
    QTest::mouseClick(a->sendButton, Qt::LeftButton);
    QVERIFY(lines(*a).isEmpty());

    host(*a);
    join(*b, a->session->serverPort());
    QTRY_COMPARE(a->session->playerCount(), 2);
    QTRY_COMPARE(b->session->playerCount(), 2);
    QVERIFY(logHas(*a, QStringLiteral("has joined")));
    QVERIFY(logHas(*b, QStringLiteral("Joined the session")));

    // Two addresses and one port: three messages in that order. The OUT
    // lists never send anything.
    a->inAddressBox->setValue(65535);
    QTest::mouseClick(a->addInAddressButton, Qt::LeftButton);
    a->inPortBox->setValue(200);
    QTest::mouseClick(a->addInPortButton, Qt::LeftButton);
    a->outAddressBox->setValue(77);
    QTest::mouseClick(a->addOutAddressButton, Qt::LeftButton);
    a->outPortBox->setValue(8);
    QTest::mouseClick(a->addOutPortButton, Qt::LeftButton);
    QCOMPARE(a->outAddressList->item(0)->text(), QStringLiteral("77"));
    QCOMPARE(a->outPortList->item(0)->text(), QStringLiteral("8"));
    std::deque<std::uint32_t> values{7, 254, 0};
    a->random = [&values] {
        const std::uint32_t v = values.front();
        values.pop_front();
        return v;
    };
    QTest::mouseClick(a->sendButton, Qt::LeftButton);
    const QStringList sent{"Adress:1234:7", "Adress:65535:254", "Port:200:0"};
    QCOMPARE(messageLines(*a), sent);
    QTRY_COMPARE(messageLines(*b), sent);

    // A kind other than 1 is a port; a message shorter than 12 bytes is
    // ignored, and one longer is read for its first twelve.
    const std::uint8_t kind7[12] = {7, 0, 0, 0, 5, 0, 0, 0, 9, 0, 0, 0};
    b->session->sendMessage(0, kind7, sizeof kind7);
    b->session->sendMessage(0, kind7, 8);
    const std::uint8_t longer[14] = {1, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0xEE, 0xEE};
    b->session->sendMessage(0, longer, sizeof longer);
    QTRY_COMPARE(messageLines(*a).size(), 5);
    QCOMPARE(messageLines(*a).mid(3), (QStringList{"Port:5:9", "Adress:3:4"}));

    // The other copy goes: the host logs it, and stays usable.
    delete b;
    QTRY_COMPARE(a->session->playerCount(), 1);
    QVERIFY(logHas(*a, QStringLiteral("has left")));
    // Send then says that nobody is there, and logs nothing as sent.
    QTest::mouseClick(a->sendButton, Qt::LeftButton);
    QCOMPARE(messageLines(*a).size(), 5);
    QCOMPARE(lines(*a).back(), QStringLiteral("No other player in the session: nothing was sent"));
    QVERIFY(rig_->dialogs.errors.isEmpty());

    // Connecting again offers the last choice.
    host(*a);
    QCOMPARE(rig_->dialogs.sessionsShown.back().last.host, true);
    QCOMPARE(rig_->dialogs.sessionsShown.back().last.address, QStringLiteral("127.0.0.1"));
}

void NetLinkTest::peersThatBreakTheRules()
{
    NetworkLinkForm* a = newForm();
    host(*a);
    const quint16 port = a->session->serverPort();

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
        QVERIFY2(s.waitForConnected(test::kHangGuardMs), r.what);
        s.write(r.bytes);
        s.flush();
        QTRY_VERIFY2(logHas(*a, QString::fromLatin1(r.logged)), r.what);
        if (r.toldWhy)
            QTRY_VERIFY2(s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState, r.what);
        QVERIFY2(a->session->playerCount() == 1, r.what);
    }
    // A peer whose handshake and two messages come in one piece: each is
    // taken whole. (How the reader joins a stream cut anywhere is the frame
    // reader's own test.)
    QTcpSocket peer;
    peer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(peer.waitForConnected(test::kHangGuardMs));
    const QByteArray body = QByteArray::fromHex("010000002a00000011000000");
    peer.write(frameBytes(netlink::FrameType::Hello, guid()) + frameBytes(netlink::FrameType::Message, body) +
               frameBytes(netlink::FrameType::Message, body));
    QTRY_COMPARE(messageLines(*a), (QStringList{"Adress:42:17", "Adress:42:17"}));
    QCOMPARE(a->session->playerCount(), 2);

    // A third player: refused by the host, which keeps its two; the
    // refused copy shows why in the error box and has no session.
    NetworkLinkForm* c = newForm();
    join(*c, port);
    QTRY_VERIFY(logHas(*a, QStringLiteral("already has 2 players")));
    QTRY_COMPARE(rig_->dialogs.errors.size(), 1);
    QVERIFY(rig_->dialogs.errors.back().startsWith(QStringLiteral("Cannot join the session at 127.0.0.1:")));
    QVERIFY(rig_->dialogs.errors.back().contains(QStringLiteral("already has 2 players")));
    QCOMPARE(c->session->playerCount(), 0);
    QCOMPARE(a->session->playerCount(), 2);
    // Its send button then sends nothing, and says why.
    c->inAddressBox->setValue(5);
    QTest::mouseClick(c->addInAddressButton, Qt::LeftButton);
    QTest::mouseClick(c->sendButton, Qt::LeftButton);
    QVERIFY(messageLines(*c).isEmpty());
    QVERIFY(logHas(*c, QStringLiteral("No other player")));

    // Nothing answers on a closed port: the error box says so.
    NetworkLinkForm* d = newForm();
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closed = probe.serverPort();
    probe.close();
    join(*d, closed);
    QTRY_COMPARE(rig_->dialogs.errors.size(), 2);
    QCOMPARE(rig_->dialogs.errors.back(),
             QStringLiteral("Cannot join the session at 127.0.0.1:%1: Connection refused").arg(closed));
    QVERIFY(logHas(*d, QStringLiteral("Cannot join the session")));
    QCOMPARE(d->session->playerCount(), 0);
}

void NetLinkTest::idlePeersCannotShutTheSession()
{
    NetworkLinkForm* a = newForm();
    qint64 now = 0;
    a->session->clock = [&now] { return now; };
    host(*a);
    const quint16 port = a->session->serverPort();

    // More connections than may wait, each with half a handshake: each one
    // over the limit takes the place of the one that has waited longest.
    constexpr int kLimit = netlink::PlayerSession::kMaxPendingHandshakes;
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    const auto connectIdle = [&] {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(idle.back()->waitForConnected(test::kHangGuardMs));
        idle.back()->write(frameBytes(netlink::FrameType::Hello, guid()).left(6));
        // Taken in before the next one comes, so that the order is known.
        QTRY_VERIFY(a->session->pendingHandshakes() == std::min<int>(static_cast<int>(idle.size()), kLimit));
    };
    for (int i = 0; i < kLimit + 4; ++i)
        connectIdle();
    const auto closed = [&idle] {
        QList<int> out;
        for (std::size_t i = 0; i < idle.size(); ++i)
            if (idle[i]->state() == QAbstractSocket::UnconnectedState)
                out << static_cast<int>(i);
        return out;
    };
    QTRY_COMPARE(closed(), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(a->session->pendingHandshakes(), kLimit);

    // While every place is held by an idle connection, a real player still
    // gets in at once, long before any of them times out.
    NetworkLinkForm* b = newForm();
    join(*b, port);
    QTRY_COMPARE(a->session->playerCount(), 2);
    QCOMPARE(b->session->playerCount(), 2);
    QTRY_COMPARE(closed(), (QList<int>{0, 1, 2, 3, 4}));
    a->session->expireHandshakes();
    QVERIFY(logHas(*a, QStringLiteral("to let newer ones in: 5")));

    // Just before the time-out the rest still wait; at it they go.
    now = netlink::PlayerSession::kHandshakeTimeout - 1;
    a->session->expireHandshakes();
    QCOMPARE(a->session->pendingHandshakes(), kLimit - 1);
    now = netlink::PlayerSession::kHandshakeTimeout;
    a->session->expireHandshakes();
    QCOMPARE(a->session->pendingHandshakes(), 0);
    QVERIFY(logHas(*a, QStringLiteral("no handshake within 5 s")));
    QTRY_COMPARE(closed().size(), static_cast<qsizetype>(idle.size()));
    QCOMPARE(a->session->playerCount(), 2);
}

void NetLinkTest::floodIsHandledInTurns()
{
    NetworkLinkForm* a = newForm();
    host(*a);
    QTcpSocket flood;
    flood.connectToHost(QHostAddress::LocalHost, a->session->serverPort());
    QVERIFY(flood.waitForConnected(test::kHangGuardMs));
    flood.write(frameBytes(netlink::FrameType::Hello, guid()));
    QTRY_COMPARE(a->session->playerCount(), 2);

    // Far more messages than the log keeps, and bytes enough to fill the
    // connection's read buffer four times over, sent in one piece: every one
    // is handled. An event posted at the first message runs after one turn's
    // worth at most.
    const int frameSize = static_cast<int>(frameBytes(netlink::FrameType::Message, QByteArray(12, '\0')).size());
    const int kCount = std::max<int>(3 * NetworkLinkForm::kMaxLogLines,
                                     static_cast<int>(4 * netlink::PlayerSession::kReadBufferSize / frameSize));
    QByteArray bytes;
    for (int i = 0; i < kCount; ++i) {
        const std::uint8_t body[12] = {1, 0, 0, 0, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8),
                                       0, 0, 9, 0, 0, 0};
        bytes += frameBytes(netlink::FrameType::Message, QByteArray(reinterpret_cast<const char*>(body), 12));
    }
    int received = 0;
    int receivedWhenPostedRan = -1;
    connect(a->session, &netlink::PlayerSession::messageReceived, this, [&] {
        if (++received == 1)
            QMetaObject::invokeMethod(this, [&] { receivedWhenPostedRan = received; }, Qt::QueuedConnection);
    });
    flood.write(bytes);
    QTRY_COMPARE(received, kCount);
    QVERIFY(receivedWhenPostedRan >= 1 && receivedWhenPostedRan <= netlink::PlayerSession::kMaxMessagesPerTurn);
    // The log keeps its newest lines.
    QCOMPARE(a->logView->document()->blockCount(), NetworkLinkForm::kMaxLogLines);
    QCOMPARE(lines(*a).back(), QStringLiteral("Adress:%1:9").arg(kCount - 1));
}

void NetLinkTest::dialogListsAnnouncedSessions()
{
    netlink::SessionDialog dialog(nullptr, loopbackRequest(), QHostAddress(QHostAddress::LocalHost));
    netlink::SessionBrowser& browser = dialog.browser();
    qint64 now = 0;
    browser.clock = [&now] { return now; };
    QVERIFY(browser.port() != 0);

    // A hosted session is listed; picking it fills in where to join.
    NetworkLinkForm* a = newForm();
    a->session->discoveryPort = browser.port();
    host(*a);
    QTRY_COMPARE(dialog.sessionList->count(), 1);
    QVERIFY(dialog.sessionList->item(0)->text().endsWith(
        QStringLiteral("(127.0.0.1:%1)").arg(a->session->serverPort())));
    QVERIFY(dialog.hostButton->isChecked());
    dialog.sessionList->setCurrentRow(0);
    QVERIFY(dialog.joinButton->isChecked());
    const kit::NetSessionChoice picked = dialog.choice();
    QCOMPARE(picked.address, QStringLiteral("127.0.0.1"));
    QCOMPARE(picked.port, a->session->serverPort());
    NetworkLinkForm* b = newForm();
    rig_->dialogs.sessionAnswers.push_back(picked);
    QTest::mouseClick(b->connectButton, Qt::LeftButton);
    QTRY_COMPARE(b->session->playerCount(), 2);

    // Datagrams that are not announcements of this application are not
    // listed, and the list has a bound.
    QUdpSocket sender;
    const auto announce = [&](const QByteArray& datagram) {
        sender.writeDatagram(datagram, QHostAddress::LocalHost, browser.port());
    };
    announce(QByteArray("{00000000-0000-0000-0000-000000000000}\n5000\nother"));
    announce(guid() + "\n0\nbad port");
    for (int port = 1; port <= int(netlink::SessionBrowser::kMaxSessions) + 8; ++port)
        announce(guid() + "\n" + QByteArray::number(port) + "\nfiller");
    QTRY_COMPARE(browser.sessions().size(), netlink::SessionBrowser::kMaxSessions);
    QCOMPARE(browser.sessions().front().port, a->session->serverPort());

    // A session that stops announcing itself is forgotten.
    a->session->close();
    now = netlink::SessionBrowser::kForgetAfter;
    browser.forgetSilent();
    QCOMPARE(dialog.sessionList->count(), 0);
}

void NetLinkTest::burstLeavesTheListHearing()
{
    // Bursts of datagrams far over one turn's reading, as anyone on the
    // network may send them: the list goes on reading, and a real host is
    // listed once it announces itself after the burst, in the list alone
    // and in the connection dialog.
    constexpr int kTurn = netlink::SessionBrowser::kMaxDatagramsPerTurn;
    const struct {
        const char* what;
        bool inDialog;
        int burst;
    } cases[] = {
        {"the list, one datagram over a turn", false, kTurn + 1},
        {"the list, 2000 datagrams", false, 2000},
        {"the dialog, 2000 datagrams", true, 2000},
    };
    for (const auto& c : cases) {
        std::optional<netlink::SessionDialog> dialog;
        std::optional<netlink::SessionBrowser> own;
        if (c.inDialog)
            dialog.emplace(nullptr, loopbackRequest(), QHostAddress(QHostAddress::LocalHost));
        else
            QVERIFY(own.emplace(guid()).listen(QHostAddress(QHostAddress::LocalHost), 0));
        netlink::SessionBrowser& browser = c.inDialog ? dialog->browser() : *own;
        qint64 now = 0;
        browser.clock = [&now] { return now; };
        const auto listed = [&] {
            return c.inDialog ? dialog->sessionList->count() == 1 : browser.sessions().size() == 1;
        };
        QUdpSocket junk, host;
        const auto burst = [&] {
            for (int i = 0; i < c.burst; ++i)
                junk.writeDatagram(QByteArray(100, 'x'), QHostAddress::LocalHost, browser.port());
        };
        // Announced at every look until it is listed: a datagram that came
        // while the socket's queue was full never arrived.
        const auto announce = [&] {
            host.writeDatagram(guid() + "\n4000\nreal host", QHostAddress::LocalHost, browser.port());
            return listed();
        };
        burst();
        QTRY_VERIFY2_WITH_TIMEOUT(announce(), c.what, test::kHangGuardMs);
        // Silent for long enough, it goes; after another burst it comes back.
        QVERIFY(test::settle()); // what was still on its way is read
        now = netlink::SessionBrowser::kForgetAfter;
        browser.forgetSilent();
        QVERIFY2(!listed(), c.what);
        burst();
        QTRY_VERIFY2_WITH_TIMEOUT(announce(), c.what, test::kHangGuardMs);
    }

    // The window still gets its turn within a burst: an event posted at the
    // first announcement heard runs before more than a turn's worth is read.
    netlink::SessionBrowser browser(guid());
    QVERIFY(browser.listen(QHostAddress(QHostAddress::LocalHost), 0));
    int heard = 0;
    int heardWhenPostedRan = -1;
    browser.clock = [&] {
        if (++heard == 1)
            QMetaObject::invokeMethod(this, [&] { heardWhenPostedRan = heard; }, Qt::QueuedConnection);
        return qint64(0);
    };
    QUdpSocket host;
    for (int i = 0; i < 2 * kTurn + 1; ++i)
        host.writeDatagram(guid() + "\n4000\nhost " + QByteArray::number(i % 2), QHostAddress::LocalHost, browser.port());
    QTRY_VERIFY_WITH_TIMEOUT(heard > kTurn && heardWhenPostedRan > 0, test::kHangGuardMs);
    QVERIFY2(heardWhenPostedRan <= kTurn, qPrintable(QString::number(heardWhenPostedRan)));
}

void NetLinkTest::sessionOfAnotherProcessIsJoined()
{
    netlink::SessionDialog dialog(nullptr, loopbackRequest(), QHostAddress(QHostAddress::LocalHost));
    QProcess peer;
    peer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/net_session_peer"),
               {QString::number(dialog.browser().port())});
    QVERIFY(peer.waitForStarted(5000));
    QTRY_COMPARE_WITH_TIMEOUT(dialog.sessionList->count(), 1, 30000);
    dialog.sessionList->setCurrentRow(0);

    NetworkLinkForm* b = newForm();
    rig_->dialogs.sessionAnswers.push_back(dialog.choice());
    QTest::mouseClick(b->connectButton, Qt::LeftButton);
    QTRY_COMPARE(b->session->playerCount(), 2);
    b->inAddressBox->setValue(300);
    QTest::mouseClick(b->addInAddressButton, Qt::LeftButton);
    b->random = [] { return 41u; };
    QTest::mouseClick(b->sendButton, Qt::LeftButton);
    // The other copy sends it back with its value one higher.
    QTRY_COMPARE(messageLines(*b), (QStringList{"Adress:300:41", "Adress:300:42"}));

    // It ends once its player has left.
    b->session->close();
    QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QProcess::NotRunning, 30000);
    QCOMPARE(peer.exitCode(), 0);
}

void NetLinkTest::dialogFollowsTheCaptionSet()
{
    // The window asks in the language of the main window.
    NetworkLinkForm* a = newForm();
    rig_->window->switchToRussian();
    QTest::mouseClick(a->connectButton, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.sessionsShown.back().language, kit::Language::Russian);
    rig_->window->switchToEnglish();
    QTest::mouseClick(a->connectButton, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.sessionsShown.back().language, kit::Language::English);

    for (const kit::Language language : {kit::Language::Russian, kit::Language::English}) {
        netlink::SessionDialog d(nullptr, loopbackRequest(language), QHostAddress(QHostAddress::LocalHost));
        for (const kit::Caption& c : kit::captionSet(kit::CaptionWindow::NetSessionDialog)) {
            const QString name = QString::fromUtf8(c.component.data(), static_cast<qsizetype>(c.component.size()));
            const QString text = kit::captionText(c, language);
            QString shown;
            if (name == d.objectName())
                shown = d.windowTitle();
            else if (const auto* b = d.findChild<QAbstractButton*>(name))
                shown = b->text();
            else if (const auto* l = d.findChild<QLabel*>(name))
                shown = l->text();
            QVERIFY2(shown == text, qPrintable(name + QStringLiteral(" reads ") + shown));
        }
    }
    netlink::SessionDialog russian(nullptr, loopbackRequest(kit::Language::Russian), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(russian.hostButton->text(), QStringLiteral("Создать сеанс"));
    QCOMPARE(russian.findChild<QLabel*>(QStringLiteral("PortLabel"))->text(), QStringLiteral("Порт TCP"));
}

void NetLinkTest::ownTextsFollowTheCaptionSet()
{
    // One window through switches both ways: each line and box is in the
    // language of the moment it is made.
    NetworkLinkForm* a = newForm();
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    const struct {
        kit::Language language;
        const char* noChoice;
        const char* sessionOnPort;
        const char* joined;
        const char* left;
        const char* nobody;
        const char* cannotJoin;
    } cases[] = {
        {kit::Language::Russian, "Подключение не выбрано", "Сеанс на порту ", " подключился", " вышел",
         "В сеансе нет другого игрока: ничего не отправлено", "Не удалось подключиться к сеансу 127.0.0.1:"},
        {kit::Language::English, "No connection was chosen", "Session on port ", " has joined", " has left",
         "No other player in the session: nothing was sent", "Cannot join the session at 127.0.0.1:"},
    };
    for (const auto& c : cases) {
        if (c.language == kit::Language::Russian)
            rig_->window->switchToRussian();
        else
            rig_->window->switchToEnglish();
        const QString what = c.language == kit::Language::Russian ? QStringLiteral("Russian") : QStringLiteral("English");
        rig_->dialogs.errors.clear();
        a->logView->clear();

        QTest::mouseClick(a->connectButton, Qt::LeftButton);
        QCOMPARE(rig_->dialogs.errors, QStringList{QString::fromUtf8(c.noChoice)});
        host(*a);
        QCOMPARE(lines(*a).back(), QString::fromUtf8(c.sessionOnPort) + QString::number(a->session->serverPort()));
        NetworkLinkForm* b = newForm();
        join(*b, a->session->serverPort());
        QTRY_VERIFY2(logHas(*a, QString::fromUtf8(c.joined)), qPrintable(what));
        delete b;
        QTRY_VERIFY2(logHas(*a, QString::fromUtf8(c.left)), qPrintable(what));
        QTest::mouseClick(a->sendButton, Qt::LeftButton);
        QCOMPARE(lines(*a).back(), QString::fromUtf8(c.nobody));

        // A join that fails says so in the error box.
        NetworkLinkForm* d = newForm();
        join(*d, closedPort);
        QTRY_COMPARE(rig_->dialogs.errors.size(), 2);
        QVERIFY2(rig_->dialogs.errors.back().startsWith(QString::fromUtf8(c.cannotJoin)),
                 qPrintable(rig_->dialogs.errors.back()));
        delete d;
    }
}

void NetLinkTest::opensOverTheMainWindowEachTime()
{
    // Shown by the menu command, hidden, the main window moved, shown
    // again: it stands over the main window's new place.
    const QRect room = rig_->window->QWidget::screen()->availableGeometry();
    QWidget& main = *rig_->window;
    for (const QPoint at : {room.topLeft() + QPoint(120, 40), room.topLeft() + QPoint(180, 70)}) {
        main.move(at);
        rig_->window->toggleNetworkWindow();
        QWidget* w = rig_->window->forms().networkLink.form();
        QVERIFY(w && w->isVisible());
        const QPoint off = w->frameGeometry().center() - main.frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("main at %1,%2: %3,%4 off its centre").arg(at.x()).arg(at.y()).arg(off.x()).arg(off.y())));
        rig_->window->toggleNetworkWindow();
        QVERIFY(!w->isVisible());
    }
}

void NetLinkTest::cancelledConnectionIsReported()
{
    NetworkLinkForm* a = newForm();
    QTest::mouseClick(a->connectButton, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.errors, QStringList{QStringLiteral("No connection was chosen")});
    QVERIFY(!a->session->isOpen());
    // A port already taken cannot be hosted on.
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
    rig_->dialogs.sessionAnswers.push_back(kit::NetSessionChoice{true, QStringLiteral("127.0.0.1"), taken.serverPort()});
    QTest::mouseClick(a->connectButton, Qt::LeftButton);
    QCOMPARE(rig_->dialogs.errors.size(), 2);
    QVERIFY(rig_->dialogs.errors.back().startsWith(QStringLiteral("Cannot host a session on port")));

    // The menu command shows and hides the window, which opens whole on the
    // screen when the main window stands at the screen's left edge.
    const QRect room = rig_->window->QWidget::screen()->availableGeometry();
    rig_->window->move(room.topLeft());
    rig_->window->toggleNetworkWindow();
    QWidget* w = rig_->window->forms().networkLink.form();
    QVERIFY(w && w->isVisible());
    QVERIFY(room.contains(w->frameGeometry()));
    rig_->window->toggleNetworkWindow();
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(NetLinkTest)
#include "net_link_test.moc"
