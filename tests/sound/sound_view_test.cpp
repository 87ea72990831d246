#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QThread>
#include <QtTest>

#include <array>
#include <atomic>
#include <thread>

#include "output/sound/qt/GuiPost.hpp"
#include "output/sound/qt/SoundViewForm.hpp"
#include "support/EventOrder.hpp"

using ostrovik::output::sound::SoundViewForm;

namespace {

constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);

/// The topmost green pixel of column @p x, or -1.
int topGreen(const QImage& image, int x)
{
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == kGreen)
            return y;
    return -1;
}

/// Where a dotted bar of @p count clicks, drawn up from y = 200 with 10-pixel
/// dots 30 pixels apart, has its top pixel.
int expectedTop(int count)
{
    const int length = 6 * count;
    int top = -1;
    for (int k = 0; 30 * k < length && 199 - 30 * k >= 0; ++k)
        top = std::max({200 - length, 190 - 30 * k, 0});
    return top;
}

} // namespace

class SoundViewTest : public QObject {
    Q_OBJECT
private slots:
    void isASmallToolWindowWithItsCaption()
    {
        SoundViewForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("View sound"));
        QCOMPARE(form.size(), QSize(340, 204));
        QVERIFY(form.windowFlags().testFlag(Qt::Tool));
        QVERIFY(!form.isShown());
        form.show();
        QVERIFY(form.isShown());
    }

    void drawsOneDottedGreenBarPerFortyEightSamples()
    {
        std::array<std::uint8_t, 1412> buffer;
        buffer.fill(128);
        // Clicks per bar: bar b gets counts[b] clicks among its samples 48b+1 … 48b+48.
        const std::array<int, 29> counts{0, 1, 2, 5, 6, 10, 20, 33, 48, 0, 3, 0, 0, 0, 0,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4};
        for (int b = 0; b < 29; ++b)
            for (int k = 0; k < counts[b]; ++k)
                buffer[static_cast<std::size_t>(48 * b + 1 + k)] = (k & 1) ? 0 : 255; // any level but 128 counts
        // Not shown: sample 0 and those past the last bar.
        buffer[0] = 255;
        for (int i = 1393; i < 1412; ++i)
            buffer[static_cast<std::size_t>(i)] = 255;

        SoundViewForm form;
        form.show();
        form.drawBuffer(buffer);
        const QImage image = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(340, 204));

        for (int b = 0; b < 29; ++b) {
            const int x = 12 * b;
            const int top = topGreen(image, x);
            if (counts[b] == 0) {
                QVERIFY2(top == -1, qPrintable(QStringLiteral("bar %1 should be empty").arg(b)));
                continue;
            }
            QVERIFY2(std::abs(top - expectedTop(counts[b])) <= 1,
                     qPrintable(QStringLiteral("bar %1: top %2, expected %3").arg(b).arg(top).arg(expectedTop(counts[b]))));
            // Drawn up from the base line, never below it.
            QCOMPARE(image.pixel(x, 199), kGreen);
            QCOMPARE(image.pixel(x, 201), kBlack);
            // Dotted: a gap above the first dot when the bar is long enough.
            if (counts[b] >= 5)
                QCOMPARE(image.pixel(x, 185), kBlack);
        }
        // Ten pixels wide, black between bars.
        QCOMPARE(image.pixel(12 * 8 - 5, 195), kGreen);
        QCOMPARE(image.pixel(12 * 8 + 4, 195), kGreen);
        QCOMPARE(image.pixel(12 * 8 + 6, 195), kBlack);
        QCOMPARE(image.pixel(339, 199), kGreen);
        QCOMPARE(image.pixel(12 * 28 - 6, 199), kBlack);

        // Nothing of the last drawing is kept: a silent buffer leaves it all black.
        buffer.fill(128);
        form.drawBuffer(buffer);
        const QImage silent = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < silent.height(); ++y)
            for (int x = 0; x < silent.width(); ++x)
                if (silent.pixel(x, y) != kBlack)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 not black").arg(x).arg(y)));
    }

    void postedCallsRunOnTheGuiThreadInOrder()
    {
        const auto post = ostrovik::output::sound::postToGuiThread();
        std::vector<int> order;
        QThread* ranOn = nullptr;
        std::thread worker([&] {
            for (int i = 0; i < 5; ++i)
                post([&, i] {
                    order.push_back(i);
                    ranOn = QThread::currentThread();
                });
        });
        worker.join();
        QTRY_COMPARE_WITH_TIMEOUT(order.size(), std::size_t{5}, ostrovik::test::kHangGuardMs);
        QCOMPARE(order, (std::vector<int>{0, 1, 2, 3, 4}));
        QCOMPARE(ranOn, QCoreApplication::instance()->thread());
    }
};

QTEST_MAIN(SoundViewTest)
#include "sound_view_test.moc"
