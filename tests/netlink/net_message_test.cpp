// The link test's message and the framing of the session's stream.

#include <gtest/gtest.h>

#include <vector>

#include "netlink/Frames.hpp"
#include "netlink/NetTestMessage.hpp"
#include "netlink/SessionAnnouncement.hpp"

using namespace ostrovik::netlink;

TEST(NetTestMessage, TwelveLittleEndianBytesAndTheLogLine)
{
    const NetTestMessage m{1, 0x12345678, 254};
    const std::vector<std::uint8_t> expected{1, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 254, 0, 0, 0};
    const auto b = m.bytes();
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.end()), expected);

    const struct {
        std::vector<std::uint8_t> bytes;
        const char* line; // nullptr: not a message
    } cases[] = {
        {expected, "Adress:305419896:254"},
        {{0, 0, 0, 0, 200, 0, 0, 0, 3, 0, 0, 0}, "Port:200:3"},
        {{7, 0, 0, 0, 5, 0, 0, 0, 9, 0, 0, 0}, "Port:5:9"},                  // any other kind is a port
        {{1, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0xAA, 0xBB}, "Adress:65535:0"}, // longer: its first 12
        {{1, 0, 0, 0, 5, 0, 0, 0, 9, 0, 0}, nullptr},                        // 11 bytes
        {{}, nullptr},
    };
    for (const auto& c : cases) {
        const auto m = NetTestMessage::read(c.bytes);
        if (!c.line) {
            EXPECT_FALSE(m) << c.bytes.size();
            continue;
        }
        ASSERT_TRUE(m);
        EXPECT_EQ(m->logLine(), c.line);
    }
}

TEST(Frames, WholeFramesHoweverTheStreamIsCut)
{
    const std::vector<std::uint8_t> a = encodeFrame(FrameType::Hello, std::string("{GUID}"));
    const std::vector<std::uint8_t> msg{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::vector<std::uint8_t> b = encodeFrame(FrameType::Message, msg);
    EXPECT_EQ(a.size(), 4u + 1u + 6u);
    EXPECT_EQ(a[0], 7);
    EXPECT_EQ(a[4], 1);
    std::vector<std::uint8_t> stream(a);
    stream.insert(stream.end(), b.begin(), b.end());

    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{5}, stream.size()}) {
        SCOPED_TRACE(piece);
        FrameReader r;
        std::vector<Frame> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            r.feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
            while (auto f = r.next())
                got.push_back(*f);
        }
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].type, FrameType::Hello);
        EXPECT_EQ(std::string(got[0].payload.begin(), got[0].payload.end()), "{GUID}");
        EXPECT_EQ(got[1].type, FrameType::Message);
        EXPECT_EQ(got[1].payload, msg);
        EXPECT_FALSE(r.broken());
    }
}

TEST(Frames, BadFramesBreakTheStream)
{
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"longer than the limit", {0x01, 0x02, 0, 0, 2}},
        {"the largest 32-bit length", {0xFF, 0xFF, 0xFF, 0xFF}},
        {"empty", {0, 0, 0, 0}},
        {"unknown type", {1, 0, 0, 0, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameReader r;
        r.feed(c.bytes);
        EXPECT_FALSE(r.next());
        EXPECT_TRUE(r.broken());
        // Nothing more is taken from a broken stream.
        r.feed(encodeFrame(FrameType::Message, std::string("x")));
        EXPECT_FALSE(r.next());
    }
    // The limit itself is accepted.
    FrameReader r;
    r.feed(encodeFrame(FrameType::Message, std::vector<std::uint8_t>(kMaxFrameLength - 1, 0x55)));
    EXPECT_TRUE(r.next());
}

TEST(SessionAnnouncement, OnlyWellFormedAnnouncementsOfThisApplication)
{
    const std::string guid = "{CACEFF2A-71E5-4EBF-9760-8E0818DA3C59}";
    const SessionAnnouncement sent{guid, 47624, "kitchen-pc"};
    const auto bytes = sent.encode();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), guid + "\n47624\nkitchen-pc");
    const auto back = SessionAnnouncement::decode(bytes, guid);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->port, 47624);
    EXPECT_EQ(back->hostName, "kitchen-pc");

    const auto text = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
    } refused[] = {
        {"another application", text("{00000000-0000-0000-0000-000000000000}\n47624\nx")},
        {"no port line", text(guid + "\n47624")},
        {"port 0", text(guid + "\n0\nx")},
        {"port 65536", text(guid + "\n65536\nx")},
        {"a port with a sign", text(guid + "\n+80\nx")},
        {"a port of many digits", text(guid + "\n0000000080\nx")},
        {"a control character in the name", text(guid + "\n80\nx\ty")},
        {"a name over the limit", text(guid + "\n80\n" + std::string(64, 'n'))},
        {"a datagram over the limit", text(guid + "\n80\n" + std::string(600, 'n'))},
        {"empty", {}},
    };
    for (const auto& r : refused)
        EXPECT_FALSE(SessionAnnouncement::decode(r.bytes, guid)) << r.what;

    // A long name is cut at a character, and control characters go.
    std::string name = "\x01";
    for (int i = 0; i < 40; ++i)
        name += "\xD0\x96"; // Ж: two bytes
    const auto cut = SessionAnnouncement::decode(SessionAnnouncement{guid, 1, name}.encode(), guid);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->hostName.size(), 62u);
    EXPECT_EQ(cut->hostName.substr(0, 2), "\xD0\x96");
}
