#include "platform/IniDocument.hpp"

#include <gtest/gtest.h>

#include <random>

using namespace ostrovik::platform;

namespace {

std::string valueOf(const IniDocument& doc, std::string_view section, std::string_view key)
{
    return doc.get(section, key).value_or("<missing>");
}

} // namespace

TEST(IniDocument, KeepsEveryByteOfWhatItReads)
{
    for (const std::string_view text : {
             std::string_view(""),
             std::string_view("[A]\r\nk=v\r\n"),
             std::string_view("[A]\nk=v"),
             std::string_view("; comment\r\n\r\n[A]\nk = v \r\n  junk line\n\n[B]\r\r\n=x\n"),
             std::string_view("\n\n\r\n"),
             std::string_view("a\0b\n[\0]\n", 9),
         }) {
        EXPECT_EQ(IniDocument(text).bytes(), text);
    }
}

TEST(IniDocument, ReadsAsTheProfileStringsDo)
{
    const IniDocument doc("stray=before any section\r\n"
                          "[Autostartupoptions]\r\n"
                          "  FullScreen  =  1  \r\n"
                          "; Gray=1\r\n"
                          "Quoted=\"  spaced \"\r\n"
                          "Single='x'\r\n"
                          "Half=\"open\r\n"
                          "Empty=\r\n"
                          "Eq=a=b\r\n"
                          "fullscreen=second\r\n"
                          "h058\xD1=1\r\n"
                          "[ Spaced Name ] trailing text\r\n"
                          "k=spaced\r\n"
                          "[AUTOSTARTUPOPTIONS]\r\n"
                          "Gray=from the second section\r\n"
                          "[MRU list]\r\n"
                          "1=/home/user/\xC8\xE3\xF0\xFB/game.lvt\r\n");

    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "fullscreen"), "1"); // names ignore ASCII case
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "Quoted"), "  spaced ");
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "Single"), "x");
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "Half"), "\"open");
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "Empty"), "");
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "Eq"), "a=b");
    EXPECT_EQ(valueOf(doc, "Spaced Name", "k"), "spaced");
    EXPECT_EQ(valueOf(doc, "MRU list", "1"), "/home/user/\xC8\xE3\xF0\xFB/game.lvt");

    // The Cyrillic Es (0xD1) matches only itself: not the Latin C, not the small es (0xF1).
    EXPECT_EQ(valueOf(doc, "AutoStartUpOptions", "h058\xD1"), "1");
    EXPECT_FALSE(doc.get("AutoStartUpOptions", "h058C"));
    EXPECT_FALSE(doc.get("AutoStartUpOptions", "h058\xF1"));

    EXPECT_FALSE(doc.get("AutoStartUpOptions", "Gray"));  // a comment, and the later section does not count
    EXPECT_FALSE(doc.get("AutoStartUpOptions", "stray")); // keys before the first section belong to none
    EXPECT_FALSE(doc.get("VideoOptions", "FullScreen"));
    EXPECT_FALSE(IniDocument().get("A", "k"));
}

TEST(IniDocument, FirstRunWriteGivesTheProfileStringLayout)
{
    IniDocument doc;
    for (const char* key : {"FullScreen", "Gray", "Blur"}) {
        ASSERT_TRUE(doc.set("AutoStartUpOptions", key, "0"));
    }
    ASSERT_TRUE(doc.set("AutoStartUpOptions", "h058\xD1", "0"));
    ASSERT_TRUE(doc.set("VideoOptions", "Compressor", ""));
    ASSERT_TRUE(doc.set("VideoOptions", "FrameTime", "1000"));
    ASSERT_TRUE(doc.set("CPUOptions", "Interval", "1"));
    ASSERT_TRUE(doc.set("AutoStartUpOptions", "FullScreen", "1"));
    EXPECT_EQ(doc.bytes(), "[AutoStartUpOptions]\r\n"
                           "FullScreen=1\r\n"
                           "Gray=0\r\n"
                           "Blur=0\r\n"
                           "h058\xD1=0\r\n"
                           "[VideoOptions]\r\n"
                           "Compressor=\r\n"
                           "FrameTime=1000\r\n"
                           "[CPUOptions]\r\n"
                           "Interval=1\r\n");
}

TEST(IniDocument, WritesChangeOnlyTheirOwnLine)
{
    IniDocument doc("; settings\n"
                    "[A]\n"
                    "  Key = old value ; not a comment\r\n"
                    "other=1\n"
                    "\n"
                    "[B]\n"
                    "x=1\n"
                    "\n");
    ASSERT_TRUE(doc.set("a", "KEY", "new"));     // the line keeps its own spelling and end
    ASSERT_TRUE(doc.set("A", "added", "2"));     // after the section's last line, before the blank
    ASSERT_TRUE(doc.set("C", "k", "3"));         // a new section at the very end, in the file's LF style
    EXPECT_EQ(doc.bytes(), "; settings\n"
                           "[A]\n"
                           "  Key =new\r\n"
                           "other=1\n"
                           "added=2\n"
                           "\n"
                           "[B]\n"
                           "x=1\n"
                           "\n"
                           "[C]\n"
                           "k=3\n");
    EXPECT_EQ(valueOf(doc, "A", "key"), "new");
}

TEST(IniDocument, WritesIntoFilesWithoutAFinalLineEnd)
{
    IniDocument section("[A]\r\nk=1");
    ASSERT_TRUE(section.set("A", "j", "2"));
    EXPECT_EQ(section.bytes(), "[A]\r\nk=1\r\nj=2\r\n");

    IniDocument other("[A]");
    ASSERT_TRUE(other.set("B", "j", "2"));
    EXPECT_EQ(other.bytes(), "[A]\r\n[B]\r\nj=2\r\n");

    IniDocument empty("[A]");
    ASSERT_TRUE(empty.set("A", "j", "2"));
    EXPECT_EQ(empty.bytes(), "[A]\r\nj=2\r\n");
}

TEST(IniDocument, RefusesWhatOneLineCannotHold)
{
    IniDocument doc("[A]\r\nk=1\r\n");
    const std::string before = doc.bytes();
    EXPECT_FALSE(doc.set("A", "k", "two\r\nlines"));
    EXPECT_FALSE(doc.set("A", "k", std::string_view("zero\0byte", 9)));
    EXPECT_FALSE(doc.set("A", "", "1"));
    EXPECT_FALSE(doc.set("A", "   ", "1"));
    EXPECT_FALSE(doc.set("A", "a=b", "1"));
    EXPECT_FALSE(doc.set("A", "[x", "1"));
    EXPECT_FALSE(doc.set("A", ";x", "1"));
    EXPECT_FALSE(doc.set("A]", "k", "1"));
    EXPECT_FALSE(doc.set("A\nB", "k", "1"));
    const IniStatus status = doc.set("A", "k", "a\nb");
    EXPECT_FALSE(status.message.empty());
    EXPECT_EQ(doc.bytes(), before);
}

TEST(IniDocument, ValuesComeBackAsWritten)
{
    // Everything a value can hold except what the profile strings themselves
    // take away: blanks at the ends and one pair of enclosing quotes.
    std::string value = "x";
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            value += static_cast<char>(b);
        }
    }
    value += 'x';
    IniDocument doc;
    ASSERT_TRUE(doc.set("Paths", "1", value));
    EXPECT_EQ(valueOf(IniDocument(doc.bytes()), "Paths", "1"), value);
}

// Random files, mostly made of the characters that matter to the format.
TEST(IniDocument, FuzzRandomFilesKeepTheirLines)
{
    std::mt19937 rng(20240611);
    const std::string alphabet = "[[]]==;;  \t\r\n\n\n\"'abkAK1\xD1\xF1\x80\xFF";
    const std::vector<std::string> names = {"a", "A", "b", "k", "K", "ab", "\xD1", "1", " a "};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 120)(rng);
        for (int i = 0; i < length; ++i) {
            const bool anyByte = std::uniform_int_distribution<int>(0, 9)(rng) == 0;
            text += anyByte ? static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng))
                            : alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
        }
        IniDocument doc(text);
        ASSERT_EQ(doc.bytes(), text);
        const auto pick = [&] { return names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(rng)]; };
        const std::string section = pick();
        const std::string key = pick();
        // The lookup straight on the bytes reads every file as the document does.
        ASSERT_EQ(IniDocument::find(text, section, key), doc.get(section, key)) << "in:\n" << text;

        ASSERT_TRUE(doc.set(section, key, "value"));
        ASSERT_EQ(valueOf(doc, section, key), "value") << "in:\n" << text;
        // Written and read again, the file still holds it.
        ASSERT_EQ(valueOf(IniDocument(doc.bytes()), section, key), "value");

        // Every old line is still there, in order, with its own line end
        // (the last one may have gained one); at most one old line changed.
        const std::string after = doc.bytes();
        std::vector<std::string> oldLines;
        std::vector<std::string> newLines;
        const auto split = [](const std::string& s, std::vector<std::string>& out) {
            std::size_t start = 0;
            while (start < s.size()) {
                const auto nl = s.find('\n', start);
                const auto end = nl == std::string::npos ? s.size() : nl + 1;
                out.push_back(s.substr(start, end - start));
                start = end;
            }
        };
        split(text, oldLines);
        split(after, newLines);
        ASSERT_GE(newLines.size(), oldLines.size());
        std::size_t j = 0;
        int changed = 0;
        for (std::size_t i = 0; i < oldLines.size(); ++i) {
            const bool last = i + 1 == oldLines.size();
            const auto same = [&](const std::string& n) {
                return n == oldLines[i] || (last && oldLines[i].back() != '\n' &&
                                            n.compare(0, oldLines[i].size(), oldLines[i]) == 0 &&
                                            (n.size() == oldLines[i].size() + 1 ||
                                             n.size() == oldLines[i].size() + 2));
            };
            while (j < newLines.size() && !same(newLines[j]) && newLines.size() - j > oldLines.size() - i) {
                ++j; // an inserted line
            }
            ASSERT_LT(j, newLines.size());
            if (!same(newLines[j])) {
                ++changed; // the key's own line, its value replaced
            }
            ++j;
        }
        ASSERT_LE(changed, 1) << "in:\n" << text << "\nout:\n" << after;
    }
}

TEST(IniDocument, ALeadingByteOrderMarkIsNoPartOfTheFirstSection)
{
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string text, section, key, value;
    };
    const Case cases[] = {
        {bom + "[AutoStartUpOptions]\r\nGray=1\r\n", "AutoStartUpOptions", "Gray", "1"},
        {bom + "[A]\nk=v", "A", "k", "v"},
        {bom + "; note\r\n[B]\r\nx=2\r\n", "B", "x", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        IniDocument doc(c.text);
        EXPECT_EQ(doc.bytes(), c.text);
        EXPECT_EQ(valueOf(doc, c.section, c.key), c.value);
        // Writing the key changes its line, adds no second section and keeps the mark.
        ASSERT_TRUE(doc.set(c.section, c.key, "new"));
        std::string expected = c.text;
        expected.replace(expected.find(c.key + '=' + c.value), c.key.size() + 1 + c.value.size(), c.key + "=new");
        EXPECT_EQ(doc.bytes(), expected);
    }
    // Only at the very start: a mark inside a line is that line's bytes.
    EXPECT_EQ(valueOf(IniDocument("[A]\n" + bom + "k=v\n"), "A", "k"), "<missing>");
}
