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
    HostButton = new QRadioButton(this);
    HostButton->setObjectName(QStringLiteral("HostButton"));
    JoinButton = new QRadioButton(this);
    JoinButton->setObjectName(QStringLiteral("JoinButton"));
    (request.last.host ? HostButton : JoinButton)->setChecked(true);
    SessionList = new QListWidget(this);
    SessionList->setObjectName(QStringLiteral("SessionList"));
    SessionList->setMinimumWidth(320);
    SessionList->setMaximumHeight(120);
    AddressEdit = new QLineEdit(request.last.address, this);
    AddressEdit->setObjectName(QStringLiteral("AddressEdit"));
    PortEdit = new QSpinBox(this);
    PortEdit->setObjectName(QStringLiteral("PortEdit"));
    PortEdit->setRange(1, 65535);
    PortEdit->setValue(request.last.port);
    auto* buttons = new QDialogButtonBox(this);
    OkButton = buttons->addButton(QDialogButtonBox::Ok);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    form->addRow(HostButton);
    form->addRow(JoinButton);
    form->addRow(namedLabel("SessionsLabel", this));
    form->addRow(SessionList);
    form->addRow(namedLabel("AddressLabel", this), AddressEdit);
    form->addRow(namedLabel("PortLabel", this), PortEdit);
    form->addRow(buttons);
    kit::applyCaptionSet(*this, kit::CaptionWindow::NetSessionDialog, request.language);

    browser_ = new SessionBrowser(PlayerSession::kApplicationGuid, this);
    if (!browser_->listen(listenOn, request.discoveryPort, &listenError_))
        listenError_ = QStringLiteral("UDP %1: %2").arg(request.discoveryPort).arg(listenError_);
    connect(browser_, &SessionBrowser::changed, this, &SessionDialog::showSessions);
    connect(SessionList, &QListWidget::currentRowChanged, this, &SessionDialog::pick);
    connect(SessionList, &QListWidget::itemDoubleClicked, this, [this] {
        if (JoinButton->isChecked())
            accept();
    });
    showSessions();
}

void SessionDialog::showSessions()
{
    const QSignalBlocker quiet(SessionList);
    const int row = SessionList->currentRow();
    SessionList->clear();
    for (const SessionBrowser::Session& s : browser_->sessions())
        SessionList->addItem(QStringLiteral("%1 (%2:%3)").arg(s.hostName, s.address.toString()).arg(s.port));
    if (row >= 0 && row < SessionList->count())
        SessionList->setCurrentRow(row);
    // Why nothing can be listed, where nothing is.
    if (!listenError_.isEmpty()) {
        auto* item = new QListWidgetItem(listenError_, SessionList);
        item->setFlags(Qt::NoItemFlags);
    }
}

void SessionDialog::pick(int row)
{
    const auto& sessions = browser_->sessions();
    if (row < 0 || static_cast<std::size_t>(row) >= sessions.size())
        return;
    const SessionBrowser::Session& s = sessions[static_cast<std::size_t>(row)];
    JoinButton->setChecked(true);
    QHostAddress address = s.address;
    // An IPv4 sender may come as an IPv4-mapped IPv6 address.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4)
        address = QHostAddress(v4);
    AddressEdit->setText(address.toString());
    PortEdit->setValue(s.port);
}

kit::NetSessionChoice SessionDialog::choice() const
{
    return kit::NetSessionChoice{HostButton->isChecked(), AddressEdit->text().trimmed(),
                                static_cast<quint16>(PortEdit->value())};
}

std::optional<kit::NetSessionChoice> AskSession(QWidget* parent, const kit::NetSessionRequest& request)
{
    SessionDialog d(parent, request);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.choice();
}

} // namespace ostrovik::netlink
