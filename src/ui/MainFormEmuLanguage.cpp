// The caption language: the Russian and English menu items.
#include "ui/MainFormEmu.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

void TMainFormEmu::switchToRussian()
{
    applyLanguage(Language::Russian);
}

void TMainFormEmu::switchToEnglish()
{
    applyLanguage(Language::English);
}

void TMainFormEmu::applyLanguage(Language language)
{
    menus_->setChecked(menu::Russian, language == Language::Russian);
    menus_->setChecked(menu::English, language == Language::English);
    // The window caption comes first in the main set; it drops any file name.
    applyCaptionSet(*this, CaptionWindow::MainWindow, language);
    captionFollowers_.apply(language);
}

} // namespace ostrovik::ui
