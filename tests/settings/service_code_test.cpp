#include <gtest/gtest.h>

#include <cstdio>

#include "settings/service_code.h"

namespace ravo {
namespace {

// Enciphers the way a stored code was made: the inverse of the decipher step,
// with the key followed by its zero.
std::string encipher(const std::string& key, const std::string& code)
{
    std::string out;
    size_t p = 0;
    for (unsigned char c : code) {
        int k = p < key.size() ? static_cast<unsigned char>(key[p]) : 0;
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", unsigned((c - 32 + k) & 0xFF));
        out += pair;
        if (++p > key.size())
            p = 0;
    }
    return out;
}

TEST(ServiceCodeDecipher, KnownPairs)
{
    // 'Q' is 0x51: 0x51 + ('A' - 32) = 0x72 deciphers to 'A'.
    EXPECT_EQ(decipherServiceCode("QUINTABREL", "72"), "A");
    EXPECT_EQ(decipherServiceCode("Q", "72"), "A");
    EXPECT_EQ(decipherServiceCode("", "72"), "");
    EXPECT_EQ(decipherServiceCode("QUINTABREL", ""), "");
    EXPECT_EQ(decipherServiceCode("QUINTABREL", " \t\r\n"), "");
    // A trailing odd digit is ignored; surrounding white space too.
    EXPECT_EQ(decipherServiceCode("QUINTABREL", "  727\r\n"), "A");
}

TEST(ServiceCodeDecipher, KeyPeriodIncludesTheZeroPosition)
{
    const std::string key = "ABC";
    // Pairs 0..2 use the key, pair 3 the zero (d + 32), pair 4 the key's first again.
    std::string text = "41424310" "41";
    std::string plain = decipherServiceCode(key, text);
    ASSERT_EQ(plain.size(), 5u);
    EXPECT_EQ(plain[0], char(0x41 - 'A' + 32));
    EXPECT_EQ(plain[1], char(0x42 - 'B' + 32));
    EXPECT_EQ(plain[2], char(0x43 - 'C' + 32));
    EXPECT_EQ(plain[3], char(0x10 + 32));
    EXPECT_EQ(plain[4], char(0x41 - 'A' + 32));
}

TEST(ServiceCodeDecipher, RoundTripWithTheServiceKey)
{
    const std::string code = "Ravo-Service 2026 long code";
    EXPECT_EQ(decipherServiceCode(kServiceKey, encipher(kServiceKey, code)), code);
}

bool entry(const std::string& text, bool ok, std::string& out)
{
    out = text;
    return ok;
}

TEST(ServiceCodeGate, CorrectCodeUnlocksAndReopeningLocks)
{
    const std::string enciphered = encipher(kServiceKey, "open sesame");
    bool unlocked = false;
    enterServiceCode(unlocked, [](std::string& e) { return entry(" \topen sesame\r\n", true, e); }, enciphered);
    EXPECT_TRUE(unlocked);
    enterServiceCode(unlocked, [](std::string& e) { return entry("open sesame", false, e); }, enciphered);
    EXPECT_FALSE(unlocked) << "Cancel ends service mode";
    enterServiceCode(unlocked, [](std::string& e) { return entry("open  sesame", true, e); }, enciphered);
    EXPECT_FALSE(unlocked) << "blanks inside are compared";
    enterServiceCode(unlocked, [](std::string& e) { return entry("Open sesame", true, e); }, enciphered);
    EXPECT_FALSE(unlocked) << "case-sensitive";
}

TEST(ServiceCodeGate, EmptyCodeLetsNothingIn)
{
    bool unlocked = true;
    enterServiceCode(unlocked, [](std::string& e) { return entry("", true, e); }, "");
    EXPECT_FALSE(unlocked);
    enterServiceCode(unlocked, [](std::string& e) { return entry("x", true, e); }, "  ");
    EXPECT_FALSE(unlocked);
    // A code whose first character deciphers to zero would match an empty entry.
    std::string zeroFirst = encipher(kServiceKey, std::string("\0abc", 4));
    enterServiceCode(unlocked, [](std::string& e) { return entry("", true, e); }, zeroFirst);
    EXPECT_FALSE(unlocked);
}

TEST(ServiceCodeGate, ComparisonEndsAtTheFirstZero)
{
    std::string enciphered = encipher(kServiceKey, std::string("abc\0def", 7));
    bool unlocked = false;
    enterServiceCode(unlocked, [](std::string& e) { return entry("abc", true, e); }, enciphered);
    EXPECT_TRUE(unlocked);
    EXPECT_TRUE(serviceCodeEquals(std::string("ab\0x", 4), "ab"));
    EXPECT_FALSE(serviceCodeEquals("ab", "abc"));
}

}  // namespace
}  // namespace ravo
