#include "ui/KeyboardLayoutTable.hpp"

namespace ostrovik::ui {

namespace {
constexpr int kRow1 = 8, kRow2 = 64, kRow3 = 100, kRow4 = 138, kRow5 = 176, kRow6 = 214;
constexpr int kW = 30;
constexpr KeyAction C = KeyAction::Character;
constexpr KeyAction V = KeyAction::Code;
} // namespace

const std::array<KeyboardKey, kKeyCount> kKeyboardKeys{{
    // Row 1: the function row; only СБР, apart on the right, does anything.
    {8, kRow1, kW, "СТР"},
    {40, kRow1, kW, "G"},
    {72, kRow1, kW, "B"},
    {104, kRow1, kW, "R"},
    {136, kRow1, kW, "speaker"},
    {168, kRow1, kW, "CD"},
    {200, kRow1, kW, "ПЧ"},
    {232, kRow1, kW, "П/Д"},
    {264, kRow1, kW, "FO"},
    {296, kRow1, kW, "F1\nЧМЛ"},
    {328, kRow1, kW, "F2\nЗМЛ"},
    {360, kRow1, kW, "F3\nBS"},
    {392, kRow1, kW, "F4\nED"},
    {424, kRow1, kW, "F5\nAS"},
    {533, kRow1, kW, "СБР", KeyAction::TestText},
    // Row 2: the digits.
    {7, kRow2, kW, "+\n;"},
    {39, kRow2, kW, "!\n1", C, '1'},
    {71, kRow2, kW, "\"\n2", C, '2'},
    {102, kRow2, kW, "#\n3", C, '3'},
    {135, kRow2, kW, "¤\n4", C, '4'},
    {166, kRow2, kW, "%\n5", C, '5'},
    {198, kRow2, kW, "&\n6", C, '6'},
    {231, kRow2, kW, "'\n7", C, '7'},
    {261, kRow2, kW, "(\n8", C, '8'},
    {294, kRow2, kW, ")\n9", C, '9'},
    {325, kRow2, kW, "=\n0", C, '0'},
    {357, kRow2, kW, "-"},
    {389, kRow2, kW, "ТАВ"},
    {421, kRow2, kW, "ГТ"},
    {500, kRow2, kW, "↖"},
    // Row 3.
    {23, kRow3, kW, "Й\nJ", C, 'J'},
    {56, kRow3, kW, "Ц\nC", C, 'C'},
    {87, kRow3, kW, "У\nU", C, 'U'},
    {118, kRow3, kW, "К\nK", C, 'K'},
    {150, kRow3, kW, "Е\nE", C, 'E'},
    {182, kRow3, kW, "Н\nN", C, 'N'},
    {212, kRow3, kW, "Г\nG", C, 'G'},
    {245, kRow3, kW, "Ш\n[", C, '['},
    {277, kRow3, kW, "Щ\n]", C, ']'},
    {309, kRow3, kW, "З\nZ", C, 'Z'},
    {341, kRow3, kW, "Х\nH", C, 'H'},
    {373, kRow3, kW, "*\n:"},
    {405, kRow3, kW, "ПС"},
    {436, kRow3, kW, "ВК", V, 13},
    {531, kRow3, kW, "↑", V, 38},
    // Row 4.
    {6, kRow4, kW, "СУ"},
    {38, kRow4, kW, "Ф\nF", C, 'F'},
    {70, kRow4, kW, "Ы\nY", C, 'Y'},
    {102, kRow4, kW, "В\nW", C, 'W'},
    {134, kRow4, kW, "А\nA", C, 'A'},
    {166, kRow4, kW, "П\nP", C, 'P'},
    {198, kRow4, kW, "Р\nR", C, 'R'},
    {230, kRow4, kW, "О\nO", C, 'O'},
    {261, kRow4, kW, "Л\nL", C, 'L'},
    {293, kRow4, kW, "Д\nD", C, 'D'},
    {325, kRow4, kW, "Ж\nV", C, 'V'},
    {356, kRow4, kW, "Э\n\\", C, '\\'},
    {388, kRow4, kW, ">\n.", C, '>'},
    {420, kRow4, kW, "ЗБ"},
    {516, kRow4, kW, "←", V, 37},
    {547, kRow4, kW, "→", V, 39},
    // Row 5.
    {22, kRow5, kW, "ВР"},
    {54, kRow5, kW, "Я\nQ", C, 'Q'},
    {87, kRow5, kW, "Ч\n^", C, '^'},
    {119, kRow5, kW, "С\nS", C, 'S'},
    {151, kRow5, kW, "М\nM", C, 'M'},
    {182, kRow5, kW, "И\nI", C, 'I'},
    {214, kRow5, kW, "Т\nT", C, 'T'},
    {246, kRow5, kW, "Ь\nX", C, 'X'},
    {278, kRow5, kW, "Б\nB", C, 'B'},
    {309, kRow5, kW, "Ю\n@", C, '@'},
    {341, kRow5, kW, "<\n,", C, '<'},
    {373, kRow5, kW, "?\n/", C, '?'},
    {405, kRow5, kW, "_"},
    {437, kRow5, kW, "НР"},
    {532, kRow5, kW, "↓", V, 40},
    // Row 6: the two alphabet keys press the matrix themselves.
    {39, kRow6, 60, "РУС", KeyAction::Matrix, 0x61FF, "LCTRL"},
    {118, kRow6, 254, "", V, 32, "Space"},
    {422, kRow6, 60, "ЛАТ", KeyAction::Matrix, 0x35FF, "RCTRL"},
}};

} // namespace ostrovik::ui
