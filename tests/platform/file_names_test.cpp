#include "platform/qt/FileNames.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace ostrovik::platform;

TEST(FileNames, EveryByteSequenceComesBackAsItWas)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool utf8; // reads as Qt's own UTF-8 decoding would
    };
    const Case cases[] = {
        {"plain", "/home/u/game.lvt", true},
        {"Cyrillic", "/игры/Ракета.sav", true},
        {"outside the basic plane", "/g/\xF0\x9F\x9A\x80.lvt", true},
        {"Windows-1251", "/g/\xC8\xE3\xF0\xE0.lvt", false},
        {"a cut sequence at the end", "/g/x\xD0", false},
        {"a lone continuation byte", "/g/\x80x", false},
        {"an overlong slash", "/g/\xC0\xAF", false},
        {"an encoded surrogate", "/g/\xED\xA0\x80", false},
        {"past Unicode", "/g/\xF4\x90\x80\x80", false},
        {"0xFF and 0xFE", "\xFF\xFE", false},
        {"empty", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = fileNameText(c.bytes);
        EXPECT_EQ(fileNamePath(text), c.bytes);
        if (c.utf8)
            EXPECT_EQ(text, QString::fromUtf8(c.bytes.data(), static_cast<qsizetype>(c.bytes.size())));
        else
            EXPECT_NE(fileNameBytes(QString::fromUtf8(c.bytes.data(), static_cast<qsizetype>(c.bytes.size()))),
                      QByteArray::fromStdString(c.bytes)); // what Qt alone would have lost
    }
    // Text typed or chosen in a dialog is written as UTF-8.
    EXPECT_EQ(fileNameBytes(QStringLiteral("/игры/a b.lvt")), QStringLiteral("/игры/a b.lvt").toUtf8());
}

TEST(FileNames, TheExecutableFolderHoldsThisProgram)
{
    const std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "platform_file_names_tests"));
}
