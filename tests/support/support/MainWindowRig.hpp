#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfoList>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "output/qt/ScreenView.hpp"
#include "support/EventOrder.hpp"
#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"
#include "support/ScriptedWaveOut.hpp"
#include "kit/Captions.hpp"
#include "ui/MainWindow.hpp"
#include "ui/SettingsForm.hpp"

namespace ostrovik::test {

/// The colours the test ROM draws with: background blue, ink white.
inline QRgb bitmapPixel(const output::FrameBitmap& bitmap, int x, int y)
{
    const output::ColorValue c = bitmap.pixel(x, y);
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

/// The 256 × 256 picture as the window shows it now (natural size).
inline QImage shownPicture(ui::MainWindow& window)
{
    output::ScreenView& view = window.screenView();
    const output::Box box = view.currentLayout().picture;
    const QImage grabbed = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return grabbed.copy(box.left, box.top - view.clientTop(), box.width(), box.height());
}

/// The first place where @p picture differs from the window's frame
/// bitmap, or an empty string when they agree pixel for pixel.
inline QString differenceFromBitmap(const QImage& picture, const output::FrameBitmap& bitmap)
{
    if (picture.size() != QSize(output::FrameBitmap::kWidth, output::FrameBitmap::kHeight))
        return QStringLiteral("picture is %1 x %2").arg(picture.width()).arg(picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != bitmapPixel(bitmap, x, y))
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(picture.pixel(x, y) & 0xFFFFFF, 6, 16)
                    .arg(bitmapPixel(bitmap, x, y) & 0xFFFFFF, 6, 16);
    return {};
}

/// A main window on the test ROM with the settings window beside it, as the
/// program puts them together: its config.ini and dialogs its own, and a
/// program folder of its own holding a copy of bios.dat.
class MainWindowRig {
public:
    /// The window plays through @p waveOut: a quiet scripted device unless
    /// the test listens to the real one.
    explicit MainWindowRig(std::unique_ptr<platform::WaveOut> waveOut = quietWaveOut())
    {
        QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/bios.dat"),
                    programDir_.filePath(QStringLiteral("bios.dat")));
        remakeWindow(std::move(waveOut));
    }

    /// Makes the window (again), so that it starts from config.ini as the
    /// test has written it.
    void remakeWindow(std::unique_ptr<platform::WaveOut> waveOut = quietWaveOut())
    {
        window.reset();
        window = std::make_unique<ui::MainWindow>(QStringList{}, std::move(waveOut));
        window->setSettingsForm(new ui::SettingsForm(window->settingsStore(), window.get()));
        window->machine().programDir = QFile::encodeName(programDir_.path()).toStdString();
    }
    ~MainWindowRig() { window.reset(); }
    MainWindowRig(const MainWindowRig&) = delete;
    MainWindowRig& operator=(const MainWindowRig&) = delete;

    /// Shows the window and lets the test ROM reach its prompt, the picture
    /// at its natural size.
    bool powerOn()
    {
        window->show();
        if (!QTest::qWaitFor([this] { return window->timerRunning(); }))
            return false;
        if (window->fullScreen())
            window->toggleFullScreen();
        runTicks(400);
        return dialogs.errors.isEmpty() && dialogs.messages.isEmpty();
    }

    void runTicks(int n)
    {
        for (int i = 0; i < n; ++i)
            window->runFrame();
    }

    machine::Machine& m() { return window->machine(); }
    QString path(const QString& name) const { return programDir_.filePath(name); }
    QString makeFolder(const QString& name) const
    {
        QDir(programDir_.path()).mkpath(name);
        return path(name);
    }
    QString writeFile(const QString& name, std::span<const std::uint8_t> bytes) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        return f.fileName();
    }
    /// The files of folder @p name of the program folder, by name.
    QFileInfoList filesIn(const QString& name) const
    {
        return QDir(path(name)).entryInfoList(QDir::Files, QDir::Name);
    }

    FreshConfig config;
    ScriptedDialogs dialogs;
    std::unique_ptr<ui::MainWindow> window;

private:
    QTemporaryDir programDir_;
};

/// A ROM image whose program flips the beeper bit every 404 T-states, for ever.
inline std::vector<std::uint8_t> beepingRom()
{
    std::vector<std::uint8_t> image(22 + 16384, 0);
    const std::uint8_t program[] = {
        0xDB, 0xC2,       // C000 IN C2
        0xEE, 0x01,       //      XRI 01
        0xD3, 0xC2,       //      OUT C2
        0x06, 24,         //      MVI B,24
        0x05,             // C008 DCR B
        0xC2, 0x08, 0xC0, //      JNZ C008
        0xC3, 0x00, 0xC0, //      JMP C000
    };
    std::copy(std::begin(program), std::end(program), image.begin() + 22);
    return image;
}

/// The whole of file @p path, or nothing when it cannot be read.
inline std::vector<std::uint8_t> readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return {bytes.begin(), bytes.end()};
}

/// What a user of @p window would find cut off: a shown control that reaches
/// past its parent or is narrower than its text, or the window itself past the
/// screen's free area. Empty when the window is whole.
inline QString clippedPart(const QWidget& window)
{
    if (window.screen() && !window.screen()->availableGeometry().contains(window.frameGeometry()))
        return QStringLiteral("the window leaves the screen");
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || !w->parentWidget())
            continue;
        if (!w->parentWidget()->rect().contains(w->geometry()))
            return w->objectName() + QStringLiteral(" reaches past its parent");
        if ((qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w))
            && w->sizeHint().width() > w->width())
            return w->objectName() + QStringLiteral(" is narrower than its text");
    }
    return {};
}

/// Where the buttons of @p form differ from caption set @p set in
/// @p language: empty when every button of the set is there and carries its text.
inline QString buttonCaptionMismatch(const QWidget& form, kit::CaptionWindow set, kit::Language language)
{
    for (const kit::Caption& c : kit::captionSet(set)) {
        const QString name = QString::fromUtf8(c.component.data(), static_cast<qsizetype>(c.component.size()));
        const auto* b = form.findChild<QPushButton*>(name);
        if (!b)
            return name + QStringLiteral(" is missing");
        if (b->text() != kit::captionText(c, language))
            return QStringLiteral("%1 reads \"%2\"").arg(name, b->text());
    }
    return {};
}

} // namespace ostrovik::test
