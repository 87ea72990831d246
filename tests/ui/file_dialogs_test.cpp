// The program's file dialogs list a folder without opening what is in it:
// a name that another process keeps turning into a FIFO never holds the
// window up.

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kit/Dialogs.hpp"
#include "support/EventOrder.hpp"
#include "support/TempFolder.hpp"

using namespace ostrovik;
namespace fs = std::filesystem;

namespace {

const QString kFilter = QStringLiteral("*.lv*;*.sav (*.lv* *.sav)");

/// The names opened in the folder that @p watch watches (the folder itself,
/// read for its listing, is not counted).
QStringList openedNames(int watch)
{
    QStringList names;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0)
                names << QString::fromUtf8(event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return names;
}

} // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void listedFilesAreNeverOpened();
};

void FileDialogsTest::listedFilesAreNeverOpened()
{
    const struct {
        const char* what;
        const char* listedName; // one the dialog must show
        std::function<void(kit::StandardDialogs&, const QString& folder)> open;
    } roads[] = {
        {"File -> Open", "a.lvt", [](kit::StandardDialogs& d, const QString& folder) {
             d.openFile(nullptr, QStringLiteral("open"), folder, kFilter, QStringLiteral("lvt"));
         }},
        {"the tape-load dialog", "a.lvt", [](kit::StandardDialogs& d, const QString& folder) {
             d.openFileClosable(nullptr, QStringLiteral("open"), folder, kFilter, QStringLiteral("lvt"));
         }},
        {"an open dialog started on a file", "b.sav", [](kit::StandardDialogs& d, const QString& folder) {
             d.openFile(nullptr, QStringLiteral("open"), folder + QStringLiteral("/a.lvt"), kFilter);
         }},
        {"a save dialog started on a file", "b.sav", [](kit::StandardDialogs& d, const QString& folder) {
             d.saveFile(nullptr, QStringLiteral("save"), folder + QStringLiteral("/a.lvt"), kFilter);
         }},
        {"a folder picker", "games", [](kit::StandardDialogs& d, const QString& folder) {
             d.chooseFolder(nullptr, QStringLiteral("folder"), folder);
         }},
    };
    // Enough turns of the flipping name that Qt's own provider, which opens
    // each listed file to sniff its type, is caught in a FIFO.
    constexpr int kListings = 50;

    for (const auto& road : roads) {
        test::TempFolder root("dialogs");
        const fs::path listed = root / "listed", spare = root / "spare";
        fs::create_directories(listed / "games");
        fs::create_directories(spare);
        // Files whose names do not tell their type.
        root.put("listed/a.lvt", "\x01\x02\x03");
        root.put("listed/b.sav", "\x04\x05\x06");
        root.put("spare/real", "\x07\x08\x09");
        QCOMPARE(::mkfifo((spare / "fifo").c_str(), 0600), 0);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        const auto closeWatch = qScopeGuard([watch] { ::close(watch); });
        QVERIFY(::inotify_add_watch(watch, listed.c_str(), IN_OPEN) >= 0);

        // The other process: game.lvt is a file, then a FIFO, over and over.
        // A reader held in the FIFO's open is let go by opening it for
        // writing, and counted, so that the test ends either way.
        std::atomic<bool> done{false}, readerCaught{false};
        std::thread flipper([&] {
            const fs::path name = listed / "game.lvt", step = listed / ".step";
            while (!done) {
                for (const fs::path& next : {spare / "real", spare / "fifo"}) {
                    if (::link(next.c_str(), step.c_str()) == 0)
                        (void)::rename(step.c_str(), name.c_str());
                    const int fd = ::open((spare / "fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0) {
                        readerCaught = true;
                        ::close(fd);
                    }
                }
            }
        });
        const auto stopFlipper = qScopeGuard([&] {
            done = true;
            flipper.join();
        });

        int listings = 0;
        bool shown = false, listsTheName = false;
        QTimer::singleShot(0, [&] {
            QFileDialog* dialog = nullptr;
            shown = QTest::qWaitFor([&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
                        dialog = d;
                return dialog != nullptr;
            }, test::kHangGuardMs);
            if (!shown)
                return;
            if (QFileSystemModel* model = dialog->findChild<QFileSystemModel*>()) {
                // Each listing of the folder ends with this signal, after
                // what it found has reached the dialog.
                connect(model, &QFileSystemModel::directoryLoaded, dialog, [&listings] { ++listings; });
                // The event loop keeps turning while the name flips under it.
                (void)QTest::qWaitFor([&] { return listings >= kListings || readerCaught; }, test::kHangGuardMs);
                const QString folder = QString::fromStdString(listed.string());
                listsTheName = model->index(folder + QLatin1Char('/') + QString::fromUtf8(road.listedName)).isValid();
            }
            dialog->reject();
        });
        kit::StandardDialogs dialogs;
        road.open(dialogs, QString::fromStdString(listed.string()));
        done = true;

        QVERIFY2(shown, road.what);
        QVERIFY2(listsTheName, road.what);
        QVERIFY2(!readerCaught, road.what);
        QVERIFY2(listings >= kListings, qPrintable(QStringLiteral("%1: listed %2 times").arg(road.what).arg(listings)));
        const QStringList opened = openedNames(watch);
        QVERIFY2(opened.isEmpty(), qPrintable(QStringLiteral("%1: opened %2").arg(road.what, opened.join(' '))));
    }
}

QTEST_MAIN(FileDialogsTest)
#include "file_dialogs_test.moc"
