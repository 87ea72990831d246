// The recent-files list: config.ini's "MRU list" and the end of the File menu.

#include <QAction>
#include <QMenu>
#include <QtTest>

#include "support/RecordingMainWindow.hpp"
#include "support/FreshConfig.hpp"
#include "support/ScriptedDialogs.hpp"

using namespace ostrovik;
using ostrovik::test::RecordingMainWindow;
using ostrovik::test::FreshConfig;
using ostrovik::test::ScriptedDialogs;

namespace {

QList<QAction*> recentItems(const ui::MainWindow& main)
{
    return main.fileMenu()->actions().mid(ui::kFixedFileMenuItems);
}

QStringList recentCaptions(const ui::MainWindow& main)
{
    QStringList captions;
    for (QAction* item : recentItems(main))
        captions << item->text();
    return captions;
}

QByteArray mruSection(const QByteArray& a, const QByteArray& b, const QByteArray& c, const QByteArray& d,
                      const QByteArray& e)
{
    return "[MRU list]\r\n1=" + a + "\r\n2=" + b + "\r\n3=" + c + "\r\n4=" + d + "\r\n5=" + e + "\r\n";
}

/// Writes @p bytes as the whole settings file, line ends as they stand.
bool writeRaw(const FreshConfig& config, const QByteArray& bytes)
{
    QFile f(config.path());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

class MruTest : public QObject {
    Q_OBJECT
private slots:
    void newestFirstAndTheSixthDropsTheOldest();
    void choosingAnItemLoadsItAndMovesItUp();
    void listEndsAtTheFirstEmptyKey();
    void itemsFollowTheFixedPartOnly();
    void pathsKeepTheirBytesAndTheirAmpersands();
    void namesThatAreNotUtf8KeepEveryByte();
};

void MruTest::newestFirstAndTheSixthDropsTheOldest()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    main.recentFilesMenu().add(QStringLiteral("/g/A.lvt"));
    // Every addition writes all five keys, the empty ones too.
    QCOMPARE(sandbox.bytes(), mruSection("/g/A.lvt", "", "", "", ""));
    for (const char* name : {"/g/B.lvt", "/g/C.lvt", "/g/D.lvt", "/g/E.sav"})
        main.recentFilesMenu().add(QString::fromLatin1(name));
    QCOMPARE(sandbox.bytes(), mruSection("/g/E.sav", "/g/D.lvt", "/g/C.lvt", "/g/B.lvt", "/g/A.lvt"));
    QCOMPARE(recentCaptions(main),
             (QStringList{"/g/E.sav", "/g/D.lvt", "/g/C.lvt", "/g/B.lvt", "/g/A.lvt"}));
    for (int i = 0; i < 5; ++i)
        QCOMPARE(recentItems(main)[i]->data().toInt(), i + 1);

    main.recentFilesMenu().add(QStringLiteral("/g/F.lvt"));
    QCOMPARE(recentCaptions(main),
             (QStringList{"/g/F.lvt", "/g/E.sav", "/g/D.lvt", "/g/C.lvt", "/g/B.lvt"}));
    QVERIFY(main.loads.empty());
}

void MruTest::choosingAnItemLoadsItAndMovesItUp()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    for (const char* name : {"/g/A.lvt", "/g/B.lvt", "/g/C.lvt", "/g/D.lvt", "/g/E.lvt"})
        main.recentFilesMenu().add(QString::fromLatin1(name));
    const QString caption = main.windowTitle();

    recentItems(main)[3]->trigger(); // B
    QCOMPARE(main.loads.size(), std::size_t(1));
    QCOMPARE(main.loads[0], (std::pair<std::string, bool>("/g/B.lvt", true)));
    // Not looked for: B now stands twice.
    QCOMPARE(recentCaptions(main),
             (QStringList{"/g/B.lvt", "/g/E.lvt", "/g/D.lvt", "/g/C.lvt", "/g/B.lvt"}));
    QCOMPARE(sandbox.bytes(), mruSection("/g/B.lvt", "/g/E.lvt", "/g/D.lvt", "/g/C.lvt", "/g/B.lvt"));
    QCOMPARE(main.windowTitle(), caption);
}

void MruTest::listEndsAtTheFirstEmptyKey()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    QVERIFY(sandbox.write("[MRU list]\n1=\n2=/g/B.lvt\n3=/g/C.lvt\n"));
    main.recentFilesMenu().read();
    QVERIFY(recentItems(main).isEmpty());

    QVERIFY(sandbox.write("[MRU list]\n1=/g/A.lvt\n2=\n3=/g/C.lvt\n"));
    main.recentFilesMenu().read();
    QCOMPARE(recentCaptions(main), QStringList{"/g/A.lvt"});
    // Entries past the empty key keep what they held.
    main.recentFilesMenu().files()[2] = QStringLiteral("/kept");
    QVERIFY(sandbox.write("[MRU list]\n1=/g/X.lvt\n"));
    main.recentFilesMenu().read();
    QCOMPARE(main.recentFilesMenu().files()[0], QStringLiteral("/g/X.lvt"));
    QCOMPARE(main.recentFilesMenu().files()[2], QStringLiteral("/kept"));

    // No section, or no file: no recent files.
    sandbox.reset();
    main.recentFilesMenu().read();
    QVERIFY(recentItems(main).isEmpty());
}

void MruTest::itemsFollowTheFixedPartOnly()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    QStringList fixed;
    for (QAction* a : main.fileMenu()->actions())
        fixed << a->objectName();
    QCOMPARE(fixed, (QStringList{"OpenFile", "SaveSnapshot", "SeparatorBeforeReset", "ResetCpu", "Pause", "SeparatorBeforeExit", "Exit", "SeparatorBeforeRecentFiles"}));
    for (int i = 0; i < 7; ++i)
        main.recentFilesMenu().add(QStringLiteral("/g/%1.lvt").arg(i));
    QCOMPARE(main.fileMenu()->actions().size(), 13);
    QCOMPARE(main.fileMenu()->actions().at(7)->objectName(), QStringLiteral("SeparatorBeforeRecentFiles"));
    QVERIFY(main.fileMenu()->actions().at(7)->isSeparator());
}

void MruTest::pathsKeepTheirBytesAndTheirAmpersands()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    const QString cyrillic = QStringLiteral("/игры/Ракета 2.lvt");
    const QString ampersand = QStringLiteral("/g/Tom&Jerry.sav");
    main.recentFilesMenu().add(cyrillic);
    main.recentFilesMenu().add(ampersand);
    // Paths are the file system's bytes, not Windows-1251.
    QVERIFY(sandbox.bytes().startsWith("[MRU list]\r\n1=/g/Tom&Jerry.sav\r\n2=" + cyrillic.toUtf8() + "\r\n"));
    // Shown as they are; loaded from the hint.
    QCOMPARE(recentItems(main)[0]->text(), QStringLiteral("/g/Tom&&Jerry.sav"));
    recentItems(main)[0]->trigger();
    QCOMPARE(main.loads.back().first, std::string("/g/Tom&Jerry.sav"));
    // Now Tom&Jerry twice, then the Cyrillic name.
    recentItems(main)[2]->trigger();
    QCOMPARE(QString::fromStdString(main.loads.back().first), cyrillic);
}

void MruTest::namesThatAreNotUtf8KeepEveryByte()
{
    FreshConfig sandbox;
    ScriptedDialogs dialogs;
    RecordingMainWindow main;
    // Names from a Windows-1251 disk, a cut sequence, an overlong slash and
    // an encoded surrogate, beside a plain one.
    const QByteArray stored[] = {"/g/\xC8\xE3\xF0\xE0.lvt", "/g/cut\xD0.sav", "/g/\xC0\xAF.lvt",
                                 "/g/\xED\xA0\x80.lvt", "/g/plain.lvt"};
    QVERIFY(writeRaw(sandbox, mruSection(stored[0], stored[1], stored[2], stored[3], stored[4])));
    main.recentFilesMenu().read();
    QCOMPARE(recentItems(main).size(), 5);

    // Adding a file rewrites the list: the entries nobody touched keep their bytes.
    main.recentFilesMenu().add(QStringLiteral("/g/new.lvt"));
    QCOMPARE(sandbox.bytes(), mruSection("/g/new.lvt", stored[0], stored[1], stored[2], stored[3]));
    // And each item loads the file by its own bytes.
    for (int i = 1; i <= 4; ++i) {
        recentItems(main)[i]->trigger();
        QCOMPARE(QByteArray::fromStdString(main.loads.back().first), stored[i - 1]);
        // The chosen one moved to the top; the list is read again after each.
        QVERIFY(writeRaw(sandbox, mruSection("/g/new.lvt", stored[0], stored[1], stored[2], stored[3])));
        main.recentFilesMenu().read();
    }
}

QTEST_MAIN(MruTest)
#include "mru_test.moc"
