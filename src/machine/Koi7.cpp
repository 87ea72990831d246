#include "machine/Koi7.hpp"

#include <array>

namespace ostrovik::machine {

namespace {
constexpr char kKoiTable[] =
    "_ !\"#$%&`()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"
    // ЮАБЦДЕФГХИЙКЛМНОПЯРСТУЖВЬЫЗШЭЩЧ
    "\xDE\xC0\xC1\xD6\xC4\xC5\xD4\xC3\xD5\xC8\xC9\xCA\xCB\xCC\xCD\xCE"
    "\xCF\xDF\xD0\xD1\xD2\xD3\xC6\xC2\xDC\xDB\xC7\xD8\xDD\xD9\xD7";
static_assert(sizeof(kKoiTable) - 1 == 96);

constexpr int kFirstKoi = 31;
constexpr int kLastKoi = 126;

struct KeyOf {
    std::uint8_t c;
    std::uint16_t vk;
};

// Symbols are the key that gives them with Shift ("*" is Shift with the key of
// ":", "+" with the key of ";"); Cyrillic letters are the PC key that carries
// them in the Russian layout.
constexpr KeyOf kKeys[] = {
    { 33,  49}, // !
    { 34,  50}, // "
    { 35,  51}, // #
    { 36,  52}, // $
    { 37,  53}, // %
    { 38,  54}, // &
    { 39,  55}, // '
    { 40,  56}, // (
    { 41,  57}, // )
    { 42, 106}, // *
    { 43, 192}, // +
    { 60, 188}, // <
    { 61, 189}, // =
    { 62, 190}, // >
    { 63, 191}, // ?
    {168,  84}, // Ё
    {192,  70}, // А
    {193, 188}, // Б
    {194,  68}, // В
    {195,  85}, // Г
    {196,  76}, // Д
    {197,  84}, // Е
    {198, 186}, // Ж
    {199,  80}, // З
    {200,  66}, // И
    {201,  81}, // Й
    {202,  82}, // К
    {203,  75}, // Л
    {204,  86}, // М
    {205,  89}, // Н
    {206,  74}, // О
    {207,  71}, // П
    {208,  72}, // Р
    {209,  67}, // С
    {210,  78}, // Т
    {211,  69}, // У
    {212,  65}, // Ф
    {213, 219}, // Х
    {214,  87}, // Ц
    {215,  88}, // Ч
    {216,  73}, // Ш
    {217,  79}, // Щ
    {218,  77}, // Ъ
    {219,  83}, // Ы
    {220,  77}, // Ь
    {221, 222}, // Э
    {222, 190}, // Ю
    {223,  90}, // Я
};

constexpr std::array<std::uint16_t, 256> buildKeys()
{
    std::array<std::uint16_t, 256> t{};
    t.fill(32);
    for (const KeyOf& k : kKeys)
        t[k.c] = k.vk;
    return t;
}

constexpr auto kKeyOf = buildKeys();
} // namespace

const std::string_view KoiTable{kKoiTable, sizeof(kKoiTable) - 1};

std::string upCaseText(std::string_view text)
{
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<std::uint8_t>(ch);
        if ((c >= 'a' && c <= 'z') || c >= 0xE0)
            ch = static_cast<char>(c - 0x20);
    }
    return out;
}

std::uint16_t koi8ToKoi7(std::uint8_t c)
{
    return kKeyOf[c];
}

char koiToCp1251(std::uint8_t code)
{
    if (code < kFirstKoi || code > kLastKoi)
        return ' ';
    return KoiTable[code - kFirstKoi];
}

} // namespace ostrovik::machine
