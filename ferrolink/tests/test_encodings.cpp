// Base64, form encoding, UTF-8, created times and whole-file reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "digest/hmac_sha1.h"
#include "encoding/base64.h"
#include "encoding/url_encoding.h"
#include "encoding/utf8.h"
#include "util/created_time.h"
#include "util/read_whole_file.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

struct TextCase {
    std::string input;
    std::string expected;
};

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += char(i);
    return bytes;
}

}  // namespace

TEST(Base64, Rfc4648Vectors) {
    const TextCase cases[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"0", "MA=="},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Base64Encode(c.input), c.expected) << c.input;
        EXPECT_EQ(Base64Decode(c.expected), c.input) << c.expected;
    }
}

TEST(Base64, EveryByteValueRoundTripsAtEachLength) {
    const std::string bytes = AllBytes();
    for (std::size_t nLength : {254u, 255u, 256u}) {
        const std::string part = bytes.substr(256 - nLength);
        const std::string strText = Base64Encode(part);
        EXPECT_EQ(strText.size() % 4, 0u);
        EXPECT_EQ(Base64Decode(strText), part) << nLength;
    }
}

// Decoding rule for text the service should never send: characters outside the alphabet
// are skipped, and bits that do not fill a byte are dropped.
TEST(Base64, NonStandardTextDecodesWhatItsValidCharactersCarry) {
    const TextCase cases[] = {
        {"0", ""},                      // a lone character carries 6 bits: nothing
        {"Zg", "f"},                    // padding left out
        {"Zm9vY", "foo"},               // one character past a full group
        {"Zm9v\r\nYmFy", "foobar"},     // line breaks
        {"Zm 9v\tYm Fy", "foobar"},     // blanks
        {"Zm9=vYg==", "foob"},          // "=" inside the text
        {"Zm9v\xff\x80YmFy", "foobar"}, // bytes above ASCII
        {"!!!*", ""},
        {"====", ""},
        {std::string("Zm\0" "9v", 5), "foo"},  // embedded zero byte
    };
    for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.input), c.expected) << c.input;
}

TEST(UrlEncode, KeepsOnlyLettersDigitsAndFourMarks) {
    const TextCase cases[] = {
        {"nonce=12&signature_method=HMAC-SHA1", "nonce%3D12%26signature_method%3DHMAC-SHA1"},
        {"a-b_c.d*e", "a-b_c.d*e"},
        {" \t\n\v\f\r", "++++++"},
        {"=&/+", "%3D%26%2F%2B"},
        {"~!?%", "%7E%21%3F%25"},
        {"\xc3\xa9", "%C3%A9"},
        {std::string("a\0b", 3), "a%00b"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.input), c.expected) << c.input;
}

TEST(UrlDecode, EscapesPlusesAndCharacterReferences) {
    const TextCase cases[] = {
        {"a+b", "a b"},
        {"a%2Bb", "a+b"},
        {"%C3%A9", "\xc3\x83\xc2\xa9"},  // each escape is a code point of its own
        {"%41bc", "Abc"},
        {"a%4", "a"},                      // cut-off escape ends the text
        {"a%", "a"},
        {"a%41%4", "aA"},
        {"a%zzb", "ab"},                   // not hex: nothing
        {"%4G", "\x04"},                   // leading hex digit counts
        {"a%00b", "ab"},                   // code point 0 writes nothing
        {"x&#65;y", "xAy"},
        {"x&#;y", "x&#;y"},
        {"&#65", "&#65"},                  // no ";"
        {"&#x41;", "&#x41;"},              // hex references are not decoded
        {"&#233;", "\xc3\xa9"},
        {"&#128512;", "\xf0\x9f\x98\x80"},
        {"a&#2097152;b", "ab"},            // beyond four UTF-8 bytes: nothing
        {"a&#1234567890123456789;b", "ab"},  // 19 digits still a reference
        {"&#12345678901234567890;", "&#12345678901234567890;"},  // 20 digits are not
        {"&#&#66;", "&#B"},
        {"%26%2366%3B", "B"},              // references are looked for after unescaping
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlDecode(c.input), c.expected) << c.input;
}

TEST(UrlDecode, UndoesUrlEncodeOfBase64Text) {
    const std::string strText = Base64Encode(AllBytes());
    EXPECT_EQ(UrlDecode(UrlEncode(strText)), strText);
    EXPECT_EQ(Base64Decode(UrlDecode(UrlEncode(strText))), AllBytes());
}

TEST(Utf8FromCodePoint, StandardLayoutUpToFourBytes) {
    struct Case {
        std::uint32_t nCodePoint;
        std::string expected;
    };
    const Case cases[] = {
        {0x41, "A"},
        {0x7F, "\x7f"},
        {0x80, "\xc2\x80"},
        {0x7FF, "\xdf\xbf"},
        {0x800, "\xe0\xa0\x80"},
        {0xFFFF, "\xef\xbf\xbf"},
        {0x10000, "\xf0\x90\x80\x80"},
        {0x1FFFFF, "\xf7\xbf\xbf\xbf"},
        {0x200000, ""},
        {0xFFFFFFFF, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8FromCodePoint(c.nCodePoint), c.expected) << c.nCodePoint;
    EXPECT_EQ(Utf8FromCodePoint(0), std::string(1, '\0'));
}

// The token request signs UrlEncode(base text) with the application key; the expected
// signature was computed independently with a stock HMAC-SHA1 tool.
TEST(TokenSignature, FixedNonceAndTimestamp) {
    const std::string strBase = "nonce=1000&signature_method=HMAC-SHA1&timestamp=900";
    const std::string strMessage = UrlEncode(strBase);
    EXPECT_EQ(strMessage, "nonce%3D1000%26signature_method%3DHMAC-SHA1%26timestamp%3D900");
    const CSha1::Digest digest = HmacSha1(strMessage, "7C1E5B9A0D3F4E6A8B2C9D1E0F7A6B5C");
    const std::string strSignature =
        UrlEncode(Base64Encode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())));
    EXPECT_EQ(strSignature, "VPItf7I6Ev1vdT6dXw6YhbQ5ok0%3D");
}

TEST(TokenSignature, DigestWithZeroBytesIsEncodedWhole) {
    std::string digest(20, '\0');
    digest[19] = '\x01';
    const std::string strText = Base64Encode(digest);
    EXPECT_EQ(strText, "AAAAAAAAAAAAAAAAAAAAAAAAAAE=");
    EXPECT_EQ(UrlEncode(strText), "AAAAAAAAAAAAAAAAAAAAAAAAAAE%3D");
}

class CreatedTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* pszOld = std::getenv("TZ");
        m_bHadTz = pszOld != nullptr;
        if (m_bHadTz) m_strOldTz = pszOld;
        SetZone("UTC");
    }
    void TearDown() override {
        if (m_bHadTz) {
            setenv("TZ", m_strOldTz.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void SetZone(const char* pszZone) {
        setenv("TZ", pszZone, 1);
        tzset();
    }

    bool m_bHadTz = false;
    std::string m_strOldTz;
};

TEST_F(CreatedTime, AnySeparatorsReadTheSameSixGroups) {
    const std::string texts[] = {
        "2012-10-10 12:30:00", "2012/10/10T12.30.00", "2012-10-10T12:30:00Z", "x2012y10z10 12h30m00s",
        "2012-10-10 12:30:00.987",  // a seventh group is ignored
    };
    for (const auto& strText : texts) EXPECT_EQ(ParseCreatedTime(strText), 1349872200) << strText;
}

TEST_F(CreatedTime, ReadAsLocalStandardTimeEvenInSummer) {
    // Central European zone: standard time is UTC+1, summer time UTC+2 in October 2012.
    SetZone("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(ParseCreatedTime("2012-10-10 12:30:00"), 1349872200 - 3600);
    EXPECT_EQ(ParseCreatedTime("2012-01-10 12:30:00"), 1326198600 - 3600);
}

// Missing month and day read as 1, missing time groups as 0.
TEST_F(CreatedTime, FewerThanSixGroups) {
    const TextCase cases[] = {
        {"2012-10-10 12:30", "2012-10-10 12:30:00"},
        {"2012-10-10", "2012-10-10 00:00:00"},
        {"2012-10", "2012-10-01 00:00:00"},
        {"2012", "2012-01-01 00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseCreatedTime(c.input), ParseCreatedTime(c.expected)) << c.input;
    EXPECT_EQ(ParseCreatedTime("2012"), 1325376000);
}

TEST_F(CreatedTime, TextWithoutDigitsReadsAllSixAsZero) {
    std::tm zero{};
    zero.tm_year = -1900;
    zero.tm_mon = -1;
    zero.tm_mday = 0;
    const std::int64_t nExpected = std::mktime(&zero);
    EXPECT_EQ(ParseCreatedTime(""), nExpected);
    EXPECT_EQ(ParseCreatedTime("no digits here"), nExpected);
}

TEST_F(CreatedTime, OnlyTheFirst127CharactersCount) {
    const std::string strPadding(109, ' ');  // the seconds "45" straddle the 127th character
    EXPECT_EQ(ParseCreatedTime(strPadding + "2012-10-10 12:30:45"), ParseCreatedTime("2012-10-10 12:30:04"));
}

TEST_F(CreatedTime, GroupsTooLargeForTheCalendarAreInvalid) {
    EXPECT_EQ(ParseCreatedTime("99999999999999999999-10-10 12:30:00"), -1);
    EXPECT_EQ(ParseCreatedTime("2012-10-10 12:30:3000000000"), -1);
}

class WholeFile : public ScratchFolderTest {};

TEST_F(WholeFile, ReadsEveryByteIncludingZeros) {
    for (const std::string& bytes : {std::string(), AllBytes(), std::string(70000, '\0') + "end"}) {
        std::string strRead = "previous";
        ASSERT_TRUE(ReadWholeFile(Write("f" + std::to_string(bytes.size()), bytes), strRead)) << bytes.size();
        EXPECT_EQ(strRead, bytes);
    }
}

TEST_F(WholeFile, FailureLeavesTheBufferUntouched) {
    for (const std::string& strPath : {(m_dir / "missing").string(), m_dir.string()}) {
        std::string strRead = "previous";
        EXPECT_FALSE(ReadWholeFile(strPath, strRead)) << strPath;
        EXPECT_EQ(strRead, "previous");
    }
}
