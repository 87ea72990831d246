#include "netlink/qt/SessionDialog.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "netlink/qt/SessionBrowser.hpp"
#include "netlink/qt/PlayerSession.hpp"
#include "kit/Captions.hpp"

namespace ostrovik::netlink {

namespace {

QLabel* namedLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

SessionDialog::SessionDialog(QWidget* parent, const kit::NetSessionRequest& request, const QHostAddress& listenOn)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NetSessionDialog"));
    auto* form = new QFormLayout(this);
    hostButton = new QRadioButton(this);
    hostButton->setObjectName(QStringLiteral("HostButton"));
    joinButton = new QRadioButton(this);
    joinButton->setObjectName(QStringLiteral("JoinButton"));
    (request.last.host ? hostButton : joinButton)->setChecked(true);
    sessionList = new QListWidget(this);
    sessionList->setObjectName(QStringLiteral("SessionList"));
    sessionList->setMinimumWidth(320);
    sessionList->setMaximumHeight(120);
    addressEdit = new QLineEdit(request.last.address, this);
    addressEdit->setObjectName(QStringLiteral("AddressEdit"));
    portEdit = new QSpinBox(this);
    portEdit->setObjectName(QStringLiteral("PortEdit"));
    portEdit->setRange(1, 65535);
    portEdit->setValue(request.last.port);
    auto* buttons = new QDialogButtonBox(this);
    okButton = buttons->addButton(QDialogButtonBox::Ok);
    okButton->setObjectName(QStringLiteral("OkButton"));
    cancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    form->addRow(hostButton);
    form->addRow(joinButton);
    form->addRow(namedLabel("SessionsLabel", this));
    form->addRow(sessionList);
    form->addRow(namedLabel("AddressLabel", this), addressEdit);
    form->addRow(namedLabel("PortLabel", this), portEdit);
    form->addRow(buttons);
    kit::applyCaptionSet(*this, kit::CaptionWindow::NetSessionDialog, request.language);

    browser_ = new SessionBrowser(PlayerSession::kApplicationGuid, this);
    if (!browser_->listen(listenOn, request.discoveryPort, &listenError_))
        listenError_ = QStringLiteral("UDP %1: %2").arg(request.discoveryPort).arg(listenError_);
    connect(browser_, &SessionBrowser::changed, this, &SessionDialog::showSessions);
    connect(sessionList, &QListWidget::currentRowChanged, this, &SessionDialog::pick);
    connect(sessionList, &QListWidget::itemDoubleClicked, this, [this] {
        if (joinButton->isChecked())
            accept();
    });
    showSessions();
}

void SessionDialog::showSessions()
{
    const QSignalBlocker quiet(sessionList);
    const int row = sessionList->currentRow();
    sessionList->clear();
    for (const SessionBrowser::Session& s : browser_->sessions())
        sessionList->addItem(QStringLiteral("%1 (%2:%3)").arg(s.hostName, s.address.toString()).arg(s.port));
    if (row >= 0 && row < sessionList->count())
        sessionList->setCurrentRow(row);
    // Why nothing can be listed, where nothing is.
    if (!listenError_.isEmpty()) {
        auto* item = new QListWidgetItem(listenError_, sessionList);
        item->setFlags(Qt::NoItemFlags);
    }
}

void SessionDialog::pick(int row)
{
    const auto& sessions = browser_->sessions();
    if (row < 0 || static_cast<std::size_t>(row) >= sessions.size())
        return;
    const SessionBrowser::Session& s = sessions[static_cast<std::size_t>(row)];
    joinButton->setChecked(true);
    QHostAddress address = s.address;
    // An IPv4 sender may come as an IPv4-mapped IPv6 address.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        address = QHostAddress(v4);
    addressEdit->setText(address.toString());
    portEdit->setValue(s.port);
}

kit::NetSessionChoice SessionDialog::choice() const
{
    return kit::NetSessionChoice{hostButton->isChecked(), addressEdit->text().trimmed(),
                                static_cast<quint16>(portEdit->value())};
}

std::optional<kit::NetSessionChoice> askSession(QWidget* parent, const kit::NetSessionRequest& request)
{
    SessionDialog d(parent, request);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.choice();
}

} // namespace ostrovik::netlink
