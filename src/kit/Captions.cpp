#include "kit/Captions.hpp"

#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>

#include "kit/Text.hpp"

namespace ostrovik::kit {

namespace {

// The two caption sets. The "х" of "256 х 256" and the last letter of
// "h058С" are Cyrillic, and some Russian texts have two blanks in a row:
// these are the program's texts as its users know them.
const Caption kMainWindow[] = {
    {"MainFormEmu", "Ostrovik", "Ostrovik"},
    {"FileMenu", "Файл", "File"},
    {"OpenFile", "Открыть файл", "Open file"},
    {"SaveSnapshot", "Сохранить файл (sav)", "Save file (sav)"},
    {"ResetCpu", "Reset CPU", "Reset CPU"},
    {"Pause", "Пауза", "Pause"},
    {"Exit", "Выход", "Exit"},
    {"SetupMenu", "Настройки", "Setup"},
    {"GrayTv", "ЧБ телевизор", "Balck-and-white TV"},
    {"ScreenSize", "Установить размер экрана", "Setup screen size"},
    {"KeyboardWindow", "Клавиатура", "Keyboard"},
    {"JoystickMenu", "Джойстик", "Joystick"},
    {"Sound", "Звук", "Sound"},
    {"SoundView", "Отображение звука", "Sound draw"},
    {"LanguageMenu", "Язык программы", "Language"},
    {"DownloadGames", "Скачать игры с  ", "Download from "},
    {"AboutMenu", "О программе", "About"},
    {"AdvancedMenu", "Дополнительно", "Advanced"},
    {"Screenshot", "Скриншот", "ScreenShot"},
    {"RecordAvi", "Запись AVI", "Save AVI"},
    {"About", "О программе", "About"},
    {"Network", "Сеть...", "Network ..."},
    {"Paste", "Вставить из буфера", "Paste from clipboard"},
    {"FontEditor", "Знакогенератор", "FontDesigner"},
    {"Options", "Настройка программы ...", "Options ..."},
    {"PopupPaste", "Вставить из буфера", "Paste from clipboard"},
    {"GamesMenu", "Игры", "Games"},
    {"Blur", "Размытие", "Blur"},
};

const Caption kMemoryDebugger[] = {
    {"assemblerTab", "Ассемблер", "Assembler"},
    {"portsTab", "Порты и регистры", "Ports and registers"},
    {"searchTab", "Поиск-замена в памяти", "Find-replace in memory"},
    {"crackTab", "Взлом !!!", "Crack !!!"},
    {"realTimeBox", "Память в реальном времени", "Memory RealTime"},
};

const Caption kSettings[] = {
    {"optionsGroup", "Настройка", "Options"},
    {"fullScreenBox", "Запускать на весь экран", "Full Screen"},
    {"grayTvBox", "Черно белым ТВ", "Balck-and-white TV"},
    {"blurBox", "Сглаживание изображения", "Blur picture"},
    {"borderColourBox", "Повторение цвета рамки", "Color border"},
    {"russianBox", "Язык программы Русский", "Language Russian"},
    {"screen256Box", "Запускать с экраном 256 х 256", "Run screen 256 х 256"},
    {"runBasicBox", "Запускать Basic программу атоматически", "Run Basic programm after load"},
    {"soundBox", "Запускать со звуком", "Run with sound"},
    {"quickRunBox", "Быстрый запуск и сброс (без заставки)", "Quick start and reset (without saver)"},
    {"patch058CBox", "Пропатчить адрес h058С (XRA A)", "Change byte in adress h058С (XRA A)"},
    {"videoGroup", "Запись видео", "Save Video Options"},
    {"qualityLabel", "Качество сжатия", "Compression Quality"},
    {"onTheFlyBox", "Сжатие на лету", "On-the-Fly comp."},
    {"speedGroup", "Скорость эмуляции", "Emulation speed"},
    {"screenshotFormatGroup", "Скриншот в формате", "ScreenShot type"},
    {"codecLabel", "Декодер", "Decoder"},
    {"codecOptionsButton", "Параметры сжатия (если доступно...)", "Compress options (if available...)"},
    {"saveButton", "Сохранить", "Save"},
    {"cancelButton", "Отмена", "Cancel"},
    {"oneCopyBox", "Запускать только одну копию программы", "Run only one copy of the program"},
};

const Caption kPictureConverter[] = {
    {"loadButton", "Загрузить картинку (BMP,JPG,PNG)", "Load picture (BMP,JPG,PNG)"},
    {"saveBwButton", "Сохранить в LVT (Черно-белый)", "Save to LVT (BW)"},
    {"viewBwButton", "Посмотреть в эмуляторе  ЧБ", "View in emul (BW)"},
    {"saveColourButton", "Сохранить в LVT (Цветной)", "Save to LVT (Color)"},
    {"viewColourButton", "Посмотреть в эмуляторе (Цветной)", "View in emul (color)"},
};

const Caption kFontEditor[] = {
    {"loadButton", "Загрузить шрифт", "Load font"},
    {"saveButton", "Сохранить шрифт", "Save font"},
    {"exitButton", "Выход", "Exit"},
    {"changeButton", "Изменить", "Change"},
};

const Caption kGameLibrary[] = {
    {"runButton", "Запустить", "Run"},
    {"exitButton", "Выход", "Exit"},
    {"rankingLabel", "РЕЙТИНГ:", "RANKING:"},
};

const Caption kGameDownloader[] = {
    {"siteLabel", "Сайт с играми", "Site URL"},
    {"jsonLabel", "JSON скрипт", "JSON script"},
    {"skipExistingBox", "Скачать только те которых нет", "Load only those that are not in the folder"},
    {"pagesButton", "Подключение к сайту  и скачка (способ 1)", "Connect to a site and download (method 1)"},
    {"fastButton", "Быстрая скачка если быстрый интернет (способ 2)", "Fast download if a fast internet (method 2)"},
    {"jsonButton", "JSON (Способ 3)", "JSON (method 3)"},
};

const Caption kNetSessionDialog[] = {
    {"NetSessionDialog", "Подключение", "Connection"},
    {"HostButton", "Создать сеанс", "Host a session"},
    {"JoinButton", "Присоединиться к сеансу", "Join a session"},
    {"SessionsLabel", "Сеансы в локальной сети", "Sessions on the local network"},
    {"AddressLabel", "Адрес", "Address"},
    {"PortLabel", "Порт TCP", "TCP port"},
    {"OkButton", "OK", "OK"},
    {"CancelButton", "Отмена", "Cancel"},
};

/// A push button placed by hand (not by a layout) keeps its design size; a
/// caption longer than that, as some Russian ones are, gets a smaller font
/// instead of being cut off at both ends.
void fitCaption(QPushButton& button)
{
    const QWidget* parent = button.parentWidget();
    if (!parent || parent->layout() || button.width() <= 0)
        return;
    button.setFont(QFont());
    QFont font = button.font();
    const auto fits = [&button] { return captionFits(button); };
    while (!fits() && font.pointSizeF() > 6.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        button.setFont(font);
    }
}

/// A tab page's tab widget: the page sits in the tab widget's stack.
QTabWidget* tabWidgetOf(QWidget* page)
{
    QWidget* stack = page->parentWidget();
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

} // namespace

bool captionFits(const QPushButton& button)
{
    const int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    return button.fontMetrics().horizontalAdvance(button.text()) + 2 * margin <= button.width();
}

std::span<const Caption> captionSet(CaptionWindow window)
{
    switch (window) {
    case CaptionWindow::MainWindow:
        return kMainWindow;
    case CaptionWindow::MemoryDebugger:
        return kMemoryDebugger;
    case CaptionWindow::Settings:
        return kSettings;
    case CaptionWindow::PictureConverter:
        return kPictureConverter;
    case CaptionWindow::FontEditor:
        return kFontEditor;
    case CaptionWindow::GameLibrary:
        return kGameLibrary;
    case CaptionWindow::GameDownloader:
        return kGameDownloader;
    case CaptionWindow::NetSessionDialog:
        return kNetSessionDialog;
    }
    return {};
}

namespace {

std::vector<std::pair<std::string, std::string>>& captionTails()
{
    static std::vector<std::pair<std::string, std::string>> tails;
    return tails;
}

} // namespace

void setCaptionTail(std::string_view component, std::string_view tail)
{
    for (auto& [name, text] : captionTails())
        if (name == component) {
            text = tail;
            return;
        }
    captionTails().emplace_back(component, tail);
}

QString captionText(const Caption& caption, Language language)
{
    QString text = fromUtf8(language == Language::Russian ? caption.russian : caption.english);
    for (const auto& [name, tail] : captionTails())
        if (caption.component == name)
            text += fromUtf8(tail);
    return text;
}

QString onlineGamesCaption(Language language)
{
    for (const Caption& c : kMainWindow)
        if (c.component == "DownloadGames")
            return captionText(c, language);
    return {};
}

bool setComponentCaption(QWidget& window, const QString& name, const QString& text)
{
    if (window.objectName() == name) {
        window.setWindowTitle(text);
        return true;
    }
    // An action first: a submenu's action carries the submenu's title.
    if (auto* action = window.findChild<QAction*>(name)) {
        action->setText(text);
        return true;
    }
    auto* widget = window.findChild<QWidget*>(name);
    if (!widget)
        return false;
    if (auto* push = qobject_cast<QPushButton*>(widget)) {
        push->setText(text);
        fitCaption(*push);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else if (auto* menu = qobject_cast<QMenu*>(widget))
        menu->setTitle(text);
    else if (QTabWidget* tabs = tabWidgetOf(widget))
        tabs->setTabText(tabs->indexOf(widget), text);
    else
        widget->setWindowTitle(text);
    return true;
}

void applyCaptionSet(QWidget& window, CaptionWindow set, Language language)
{
    for (const Caption& c : captionSet(set))
        setComponentCaption(window, fromUtf8(c.component), captionText(c, language));
}

void CaptionFollowers::follow(QWidget& window, CaptionWindow set)
{
    windows_.emplace_back(&window, set);
}

void CaptionFollowers::apply(Language language)
{
    std::erase_if(windows_, [](const auto& w) { return w.first.isNull(); });
    // Each window hears of the switch once its captions are written, for
    // texts of its own that are not in its caption set.
    const auto switchTo = [language](QWidget& window, CaptionWindow set) {
        applyCaptionSet(window, set, language);
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&window, &changed);
    };
    for (CaptionWindow first : {CaptionWindow::MemoryDebugger, CaptionWindow::Settings})
        for (const auto& [window, set] : windows_)
            if (set == first)
                switchTo(*window, set);
    for (const auto& [window, set] : windows_)
        if (set != CaptionWindow::MemoryDebugger && set != CaptionWindow::Settings)
            switchTo(*window, set);
}

} // namespace ostrovik::kit
