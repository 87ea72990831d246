// The caption language: the Russian and English menu items.
#include "ui/MainWindow.hpp"
#include "ui/MainMenu.hpp"

namespace ostrovik::ui {

using kit::CaptionWindow;
using kit::Language;
using kit::applyCaptionSet;

void MainWindow::switchToRussian()
{
    applyLanguage(Language::Russian);
}

void MainWindow::switchToEnglish()
{
    applyLanguage(Language::English);
}

void MainWindow::applyLanguage(Language language)
{
    menus_->setChecked(menu::Russian, language == Language::Russian);
    menus_->setChecked(menu::English, language == Language::English);
    // The window caption comes first in the main set; it drops any file name.
    applyCaptionSet(*this, CaptionWindow::MainWindow, language);
    captionFollowers_.apply(language);
}

} // namespace ostrovik::ui
