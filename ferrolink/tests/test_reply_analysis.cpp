// Reading service replies: status rules, the token-record discard, and ids.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "reply/analysis_xml.h"
#include "support/fake_tokener.h"

using HarborKestrel::CAnalysisXml;

namespace {

constexpr std::int64_t kUntouched = 99;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

std::string Reply(const std::string& strStatus, const std::string& strRest = "") {
    return "<reply><status>" + strStatus + "</status>" + strRest + "</reply>";
}

class ReplyAnalysis : public ::testing::Test {
protected:
    void SetUp() override { m_tokener.m_strBytes = "token////info////web////gate////"; }

    CFakeTokener m_tokener;
};

}  // namespace

TEST_F(ReplyAnalysis, StatusRulesAndTokenDiscard) {
    struct Case {
        std::string reply;
        bool bOk;
        int nClears;
    };
    const Case cases[] = {
        {Reply("0"), true, 0},
        {Reply("0x"), true, 0},  // only the first character counts
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?><anything><status>0</status></anything>", true, 0},
        {Reply("201"), false, 1},
        {Reply("2"), false, 1},
        {Reply("301"), false, 0},
        {Reply("1"), false, 0},
        {Reply(""), false, 0},                          // status without text
        {Reply("<b>0</b>"), false, 0},                  // status holds an element, not text
        {"<reply><id>1</id></reply>", false, 0},        // no status
        {"<reply><x><status>0</status></x></reply>", false, 0},  // status only counts under the root
        {"<reply><status>201</status>", false, 0},      // not well-formed
        {"", false, 0},
        {"status 201", false, 0},
        {std::string("<reply><status>0\0</status></reply>", 34), false, 0},  // cut at the zero byte
    };
    for (const auto& c : cases) {
        SetUp();
        m_tokener.m_nClearCalls = 0;
        EXPECT_EQ(CAnalysisXml::IsReplyOk(c.reply, &m_tokener), c.bOk) << c.reply;
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears) << c.reply;
        EXPECT_EQ(m_tokener.m_strBytes.empty(), c.nClears > 0) << c.reply;
    }
}

TEST_F(ReplyAnalysis, TokenClassStatusWithoutTokenHolderIsPlainFailure) {
    EXPECT_FALSE(CAnalysisXml::IsReplyOk(Reply("201"), nullptr));
    std::int64_t nValue = kUntouched;
    EXPECT_FALSE(CAnalysisXml::ReadReplyInt64("id", nValue, true, Reply("201", "<id>5</id>"), nullptr));
    EXPECT_EQ(nValue, kUntouched);
}

TEST_F(ReplyAnalysis, ReadReplyInt64) {
    struct Case {
        std::string reply;
        const char* pszName;
        bool bAllowMissing;
        bool bResult;
        std::int64_t nValue;
        int nClears;
    };
    const Case cases[] = {
        {Reply("0", "<id>42</id>"), "id", false, true, 42, 0},
        {Reply("0x", "<id>42</id>"), "id", false, true, 42, 0},
        {Reply("0", "<id>-7</id>"), "id", false, true, -7, 0},
        {Reply("0", "<id>12abc</id>"), "id", false, true, 12, 0},
        {Reply("0", "<id>abc</id>"), "id", false, true, 0, 0},
        {Reply("0", "<id></id>"), "id", false, true, 0, 0},   // present without text: 0
        {Reply("0", "<id/>"), "id", false, true, 0, 0},
        {Reply("0", "<id>1</id><id>2</id>"), "id", false, true, 1, 0},  // first of its name
        {Reply("0", "<fileid>8</fileid><id>3</id>"), "fileid", false, true, 8, 0},
        {Reply("0", "<id>9223372036854775807</id>"), "id", false, true, kMax, 0},
        {Reply("0", "<id>9223372036854775808</id>"), "id", false, true, kMax, 0},
        {Reply("0", "<id>-9223372036854775808</id>"), "id", false, true, kMin, 0},
        {Reply("0", "<id>-99999999999999999999999</id>"), "id", false, true, kMin, 0},
        {Reply("0"), "id", true, true, 0, 0},
        {Reply("0"), "id", false, false, kUntouched, 0},
        {Reply("0", "<file><id>5</id></file>"), "id", false, false, kUntouched, 0},  // not a root child
        {Reply("201", "<id>5</id>"), "id", true, false, kUntouched, 1},
        {Reply("301", "<id>5</id>"), "id", true, false, kUntouched, 0},
        {"", "id", true, false, kUntouched, 0},
        {"<reply><id>5</id></reply>", "id", true, false, kUntouched, 0},
    };
    for (const auto& c : cases) {
        m_tokener.m_nClearCalls = 0;
        std::int64_t nValue = kUntouched;
        EXPECT_EQ(CAnalysisXml::ReadReplyInt64(c.pszName, nValue, c.bAllowMissing, c.reply, &m_tokener),
                  c.bResult)
            << c.reply;
        EXPECT_EQ(nValue, c.nValue) << c.reply;
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears) << c.reply;
    }
}

TEST(ParseInt64, DecimalPrefixWithSignAndLeadingWhiteSpace) {
    struct Case {
        const char* pszText;
        std::int64_t nValue;
    };
    const Case cases[] = {
        {"42", 42},       {" \t\r\n-7", -7}, {"+5", 5},  {"12abc", 12}, {"1 2", 1}, {"", 0},
        {"-", 0},         {"--1", 0},        {"x1", 0},  {"007", 7},    {"- 1", 0},
        {"18446744073709551616", kMax},
    };
    for (const auto& c : cases) EXPECT_EQ(CAnalysisXml::ParseInt64(c.pszText), c.nValue) << c.pszText;
}

TEST(ReadReplyStatus, GivesRootAndStatusText) {
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    std::string strStatus;
    ASSERT_TRUE(CAnalysisXml::ReadReplyStatus(Reply("233", "<token>t</token>"), doc, pRoot, strStatus));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->Value(), "reply");
    EXPECT_EQ(strStatus, "233");
    EXPECT_STREQ(CAnalysisXml::ChildText(pRoot, "token"), "t");
}

TEST(ChildText, MissingEmptyAndTextChildren) {
    TiXmlDocument doc;
    doc.Parse("<r><a>x</a><b/><c><![CDATA[y]]></c><d><e>z</e></d></r>");
    const TiXmlElement* pRoot = doc.RootElement();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(CAnalysisXml::ChildText(pRoot, "a"), "x");
    EXPECT_STREQ(CAnalysisXml::ChildText(pRoot, "b"), "");
    EXPECT_STREQ(CAnalysisXml::ChildText(pRoot, "c"), "y");
    EXPECT_STREQ(CAnalysisXml::ChildText(pRoot, "d"), "");  // first child is an element
    EXPECT_EQ(CAnalysisXml::ChildText(pRoot, "e"), nullptr);
    EXPECT_EQ(CAnalysisXml::ChildText(pRoot, "missing"), nullptr);
    EXPECT_EQ(CAnalysisXml::ChildText(nullptr, "a"), nullptr);
}

// Replies nest a few levels; the parser descends one call per level, so a reply nested far
// deeper must be refused before it is parsed, however its markup tries to hide the depth.
TEST(ReplyNesting, FarTooDeepRepliesAreRefusedWithoutParsing) {
    auto Repeat = [](const std::string& strPiece, int nTimes) {
        std::string strOut;
        for (int i = 0; i < nTimes; ++i) strOut += strPiece;
        return strOut;
    };
    constexpr int kDeep = 300000;
    const std::string kHead = "<r><status>0</status>";
    struct Case {
        const char* pszName;
        std::string reply;
    };
    const Case cases[] = {
        {"plain nesting", kHead + Repeat("<a>", kDeep)},
        {"nesting closed again", kHead + Repeat("<a>", kDeep) + Repeat("</a>", kDeep) + "</r>"},
        {"quoted values that look self-closing", kHead + Repeat("<a x=\"/>\">", kDeep)},
        {"end tags inside comments", kHead + Repeat("<a><!--</a>-->", kDeep)},
        {"end tags inside character data", kHead + Repeat("<a><![CDATA[</a>]]>", kDeep)},
        {"end tags inside quoted values", kHead + Repeat("<a x=\"</a>\">", kDeep)},
        {"end tags inside unknown markup", kHead + Repeat("<a><!x </a>>", kDeep)},
        {"stray end tags before the root", Repeat("</a>", kDeep) + kHead + Repeat("<a>", kDeep)},
        {"text that looks self-closing", kHead + Repeat("<a>/>", kDeep)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CFakeTokener tokener;
        EXPECT_FALSE(CAnalysisXml::IsReplyOk(c.reply, &tokener));
        EXPECT_EQ(tokener.m_nClearCalls, 0);
    }
}

TEST(ReplyNesting, OrdinaryAndWideRepliesStillRead) {
    std::string strListing = "<?xml version=\"1.0\" encoding=\"utf-8\"?><r><status>0</status>";
    for (int i = 0; i < 20000; ++i) {
        strListing += "<file><display>MTIwLmpwZw==</display><id>" + std::to_string(i) +
                      "</id><attribute/><note kind='x>y'/><!-- <a> --><![CDATA[<a>]]></file>";
    }
    strListing += "<id>7</id></r>";
    std::string strNested = "<r><status>0</status>";
    for (int i = 0; i < 40; ++i) strNested += "<a>";
    for (int i = 0; i < 40; ++i) strNested += "</a>";
    strNested += "<id>7</id></r>";
    for (const std::string& strReply : {strListing, strNested}) {
        std::int64_t nValue = 0;
        EXPECT_TRUE(CAnalysisXml::ReadReplyInt64("id", nValue, false, strReply, nullptr));
        EXPECT_EQ(nValue, 7);
    }
}
