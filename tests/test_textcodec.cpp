#include "document/textcodec.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

namespace {

// Every byte alone round-trips; a byte above 0x7F is read as Windows-1252.
TEST(TextCodec, EveryByteAloneDecodesAndEncodesToItself)
{
    const std::map<int, char16_t> table = {{0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D},
                                           {0x8F, 0x008F}, {0x90, 0x0090}, {0x93, 0x201C}, {0x99, 0x2122},
                                           {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF}};
    for (int b = 0; b < 256; ++b) {
        const std::string bytes(1, static_cast<char>(b));
        const TDecodedText decoded = DecodeText(bytes);
        ASSERT_EQ(decoded.text.size(), 1u) << b;
        if (table.count(b)) {
            EXPECT_EQ(decoded.text[0], table.at(b)) << b;
        }
        EXPECT_EQ(decoded.encoding, b < 0x80 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252) << b;
        EXPECT_EQ(EncodeText(decoded.text, decoded.encoding), bytes) << b;
    }
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, StrictAndRoundTrips)
{
    const Utf8Case& c = GetParam();
    EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
    const TDecodedText decoded = DecodeText(c.bytes);
    EXPECT_EQ(decoded.encoding, c.valid ? TTextEncoding::Utf8 : TTextEncoding::Windows1252);
    EXPECT_EQ(EncodeText(decoded.text, decoded.encoding), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, Utf8Validity,
    ::testing::Values(Utf8Case{"Empty", "", true}, Utf8Case{"Ascii", "Name\r\nLine", true},
                      Utf8Case{"TwoByte", "gr\xC3\xBC\xC3\x9F", true}, Utf8Case{"ThreeByte", "\xE2\x82\xAC", true},
                      Utf8Case{"FourByte", "\xF0\x9F\x98\x80", true}, Utf8Case{"Max", "\xF4\x8F\xBF\xBF", true},
                      Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", true},
                      Utf8Case{"Noncharacters", "Caf\xC3\xA9 \xEF\xBF\xBF \xEF\xBF\xBE \xEF\xB7\x90 \xEF\xB7\xAF \xF0\x9F\xBF\xBF", true},
                      Utf8Case{"OverlongSlash", "\xC0\xAF", false}, Utf8Case{"OverlongC1", "\xC1\xBF", false},
                      Utf8Case{"OverlongThree", "\xE0\x80\xAF", false},
                      Utf8Case{"OverlongFour", "\xF0\x8F\xBF\xBF", false},
                      Utf8Case{"Surrogate", "\xED\xA0\x80", false}, Utf8Case{"BeyondMax", "\xF4\x90\x80\x80", false},
                      Utf8Case{"F5", "\xF5\x80\x80\x80", false}, Utf8Case{"LoneContinuation", "a\x80", false},
                      Utf8Case{"Truncated", "\xE2\x82", false}, Utf8Case{"Latin1Word", "caf\xE9", false},
                      Utf8Case{"BadContinuation", "\xC3\x28", false}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows-1252 falls back to UTF-8 when a character has no byte there, and
// an unpaired surrogate becomes the replacement character in either.
TEST(TextCodec, EncodesWithFallbackAndReplacement)
{
    const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    const std::tuple<std::u16string, TTextEncoding, std::string> cases[] = {
        {u"caf\u00E9 \u20AC", TTextEncoding::Windows1252, "caf\xE9 \x80"},
        {u"caf\u00E9 \u0394", TTextEncoding::Windows1252, "caf\xC3\xA9 \xCE\x94"},
        {u"\u0080", TTextEncoding::Windows1252, "\xC2\x80"},  // a C1 control 1252 assigns elsewhere
        {u"\u00E9", TTextEncoding::Utf8, "\xC3\xA9"},
        {u"\U0001F600", TTextEncoding::Utf8, "\xF0\x9F\x98\x80"},
        {lone, TTextEncoding::Utf8, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
        {lone, TTextEncoding::Windows1252, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"}};
    for (const auto& [text, encoding, bytes] : cases)
        EXPECT_EQ(EncodeText(text, encoding), bytes);
    EXPECT_EQ(DecodeText("\xF0\x9F\x98\x80").text, u"\U0001F600");
}

}  // namespace
