// The wire form of request targets: designed bytes, escaped only where they cannot travel.
#include <gtest/gtest.h>

#include "transport/request_target.h"

using HarborKestrel::CRequestTarget;

namespace {

struct WireCase {
    const char* pszName;
    CRequestTarget target;
    const char* pszWire;
};

TEST(RequestTarget, OnlyBytesThatCannotTravelAreEscaped) {
    const WireCase cases[] = {
        {"plain target is unchanged",
         CRequestTarget("/webrelay/resumebinaryupload/?").Fixed("&dis=61839204&tk=").QueryValue("tk1"),
         "/webrelay/resumebinaryupload/?&dis=61839204&tk=tk1"},
        {"already percent-encoded values stay as they are",
         CRequestTarget("/x/?").Fixed("&na=").QueryValue("MTIwLmpwZw%3D%3D"), "/x/?&na=MTIwLmpwZw%3D%3D"},
        {"markup and line feed of an attribute text",
         CRequestTarget("/x/?").Fixed("&at=").QueryValue("<Tag>MA%3D%3D</Tag>\n<VN>2</VN>"),
         "/x/?&at=%3CTag%3EMA%3D%3D%3C/Tag%3E%0A%3CVN%3E2%3C/VN%3E"},
        {"space, controls, non-ASCII and DEL",
         CRequestTarget("/x/?").Fixed("&at=").QueryValue(std::string("a b\t\x01\xc3\xa9\x7f", 8)),
         "/x/?&at=a%20b%09%01%C3%A9%7F"},
        {"a delimiter inside a value cannot start a parameter or a fragment",
         CRequestTarget("/x/?").Fixed("&at=").QueryValue("a&amp;b#c").Fixed("&fi=1"),
         "/x/?&at=a%26amp;b%23c&fi=1"},
        {"a token in a path segment cannot add a level",
         CRequestTarget("/webrelay/directdownload/").PathSegment("a/b?c").Fixed("/?&fi=1"),
         "/webrelay/directdownload/a%2Fb%3Fc/?&fi=1"},
        {"characters outside the URI alphabet",
         CRequestTarget("/x/?").Fixed("&at=").QueryValue("\"\\^`{|}"), "/x/?&at=%22%5C%5E%60%7B%7C%7D"},
    };
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(c.target.ForWire(), c.pszWire);
    }
}

TEST(RequestTarget, DesignedFormKeepsEveryByte) {
    CRequestTarget target("/webrelay/directdownload/");
    target.PathSegment("a/b").Fixed("/?&at=").QueryValue("<T>\n&");
    EXPECT_EQ(target.Designed(), "/webrelay/directdownload/a/b/?&at=<T>\n&");
}

}  // namespace

#include "transport/curl_transport.h"

namespace {

TEST(HostName, OnlyPlainHostNamesAreUsedInAUrl) {
    for (const char* pszHost : {"api.quillory.example", "web-2.quillory.example", "gw_1.example", "localhost"}) {
        EXPECT_TRUE(HarborKestrel::IsUsableHostName(pszHost)) << pszHost;
    }
    // A host from a reply must not be able to add a path, credentials or another port.
    for (const char* pszHost : {"", "evil.example/x?", "user@evil.example", "evil.example:8443", "a b",
                                "evil.example#", "\xc3\xa9.example"}) {
        EXPECT_FALSE(HarborKestrel::IsUsableHostName(pszHost)) << pszHost;
    }
}

}  // namespace
