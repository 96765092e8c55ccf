#include <gtest/gtest.h>

#include "link/utf8_text.h"

namespace ravo {
namespace {

// Rows: bytes, whether they are UTF-8, the text with U+FFFD, the bytes
// percent-encoded.
TEST(Utf8Text, ValidReplacedAndPercentEncoded)
{
    const std::string fffd = "\xEF\xBF\xBD";
    const struct {
        std::string bytes;
        bool valid;
        std::string replaced;
        std::string encoded;
    } rows[] = {
        {"/tmp/dive", true, "/tmp/dive", "/tmp/dive"},
        {"", true, "", ""},
        {"50% full", true, "50% full", "50%25 full"},
        {"T\xC3\xB8rn", true, "T\xC3\xB8rn", "T%C3%B8rn"},           // UTF-8 stays
        {"\xE2\x82\xAC\xF0\x9F\x90\xA0", true, "\xE2\x82\xAC\xF0\x9F\x90\xA0", "%E2%82%AC%F0%9F%90%A0"},
        {"T\xF8rn", false, "T" + fffd + "rn", "T%F8rn"},             // Latin-1
        {"d\xFF", false, "d" + fffd, "d%FF"},
        {"\xC0\xAF", false, fffd + fffd, "%C0%AF"},                  // overlong '/'
        {"\xED\xA0\x80", false, fffd + fffd + fffd, "%ED%A0%80"},    // a surrogate
        {"\xF4\x90\x80\x80", false, fffd + fffd + fffd + fffd, "%F4%90%80%80"},  // beyond U+10FFFF
        {"\xE2\x82", false, fffd + fffd, "%E2%82"},                  // cut short
        {std::string("a\0b\n", 4), true, std::string("a\0b\n", 4), "a%00b%0A"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsValidUtf8(row.bytes), row.valid) << row.encoded;
        EXPECT_EQ(Utf8Replaced(row.bytes), row.replaced) << row.encoded;
        EXPECT_TRUE(IsValidUtf8(Utf8Replaced(row.bytes))) << row.encoded;
        EXPECT_EQ(PercentEncoded(row.bytes), row.encoded);
    }
}

}  // namespace
}  // namespace ravo
