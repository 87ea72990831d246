#include "netlink/qt/NetTexts.hpp"


namespace ostrovik::netlink {

namespace {

struct Forms {
    NetText text;
    const char* russian;
    const char* english;
};

constexpr Forms kForms[] = {
    {NetText::SessionOnPort, "Сеанс на порту %1", "Session on port %1"},
    {NetText::CannotAccept, "Не удалось принять подключение: %1", "Cannot accept a connection: %1"},
    {NetText::CannotAnnounce, "Не удалось объявить о сеансе: %1", "Cannot announce the session: %1"},
    {NetText::HostClosedSession, "Создатель сеанса %1 закрыл его", "The host %1 has closed the session"},
    {NetText::PlayerLeft, "Игрок %1 вышел", "Player %1 has left"},
    {NetText::HostClosedConnection, "создатель сеанса закрыл соединение", "the host closed the connection"},
    {NetText::CannotJoin, "Не удалось подключиться к сеансу %1: %2", "Cannot join the session at %1: %2"},
    {NetText::NoHandshake, "рукопожатие не завершено за %1 с", "no handshake within %1 s"},
    {NetText::WaitingDropped, "Закрыто подключений, ждавших рукопожатия, чтобы впустить новые: %1",
     "Dropped connections that waited for their handshake, to let newer ones in: %1"},
    {NetText::SecondHandshake, "второе рукопожатие", "a second handshake"},
    {NetText::AnotherApplication, "другая программа (%1)", "another application (%1)"},
    {NetText::SessionFull, "в сеансе уже игроков: %1", "the session already has %1 players"},
    {NetText::JoinedAt, "Подключено к сеансу %1", "Joined the session at %1"},
    {NetText::PlayerJoined, "Игрок %1 подключился", "Player %1 has joined"},
    {NetText::MessageBeforeHandshake, "сообщение до рукопожатия", "a message before the handshake"},
    {NetText::RefusedBy, "Отказ от %1: %2", "Refused by %1: %2"},
    {NetText::RefusedWithReason, "отказ: %1", "refused: %1"},
    {NetText::Refused, "Отказано %1: %2", "Refused %1: %2"},
    {NetText::MessageTooLong, "Сообщение слишком длинное для сеанса (%1 байт)",
     "The message is too long for the session (%1 bytes)"},
    {NetText::NoConnectionChosen, "Подключение не выбрано", "No connection was chosen"},
    {NetText::NotAnAddress, "'%1' — не адрес, на котором можно создать сеанс", "'%1' is not an address to host on"},
    {NetText::CannotHost, "Не удалось создать сеанс на порту %1: %2", "Cannot host a session on port %1: %2"},
    {NetText::NoOtherPlayer, "В сеансе нет другого игрока: ничего не отправлено",
     "No other player in the session: nothing was sent"},
};

} // namespace

QString netText(NetText text, kit::Language language)
{
    for (const Forms& f : kForms)
        if (f.text == text)
            return QString::fromUtf8(language == kit::Language::Russian ? f.russian : f.english);
    return {};
}

} // namespace ostrovik::netlink
