#pragma once

#include <QString>

#include "kit/Captions.hpp"

namespace ostrovik::netlink {

/// The network window's own texts: its log lines and its error boxes. They
/// are written in the caption language of the moment they are made, as the
/// connection dialog is.
enum class NetText {
    SessionOnPort,          ///< %1 port
    CannotAccept,           ///< %1 reason
    CannotAnnounce,         ///< %1 reason
    HostClosedSession,      ///< %1 host
    PlayerLeft,             ///< %1 player
    HostClosedConnection,
    CannotJoin,             ///< %1 address, %2 reason
    NoHandshake,            ///< %1 seconds
    WaitingDropped,         ///< %1 count
    SecondHandshake,
    AnotherApplication,     ///< %1 its GUID
    SessionFull,            ///< %1 players
    JoinedAt,               ///< %1 host
    PlayerJoined,           ///< %1 player
    MessageBeforeHandshake,
    RefusedBy,              ///< %1 peer, %2 reason
    RefusedWithReason,      ///< %1 reason
    Refused,                ///< %1 peer, %2 reason
    MessageTooLong,         ///< %1 bytes
    NoConnectionChosen,
    NotAnAddress,           ///< %1 the address typed
    CannotHost,             ///< %1 port, %2 reason
    NoOtherPlayer,
};

/// @p text in @p language, its places (%1, %2) still to be filled.
QString netText(NetText text, kit::Language language);

} // namespace ostrovik::netlink
