// End to end over real TLS: sign in, find the folders, list the product folder, download.
#include "support/https_client.h"

#include <curl/curl.h>
#include <openssl/evp.h>
#include <tinyxml.h>

#include <algorithm>

using namespace EmulatorTest;
using QuilloryCloud::SeedFile;

namespace {

std::string FromBase64(const std::string& text) {
  std::string out(text.size(), '\0');
  int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  if (n < 0) return "<invalid>";
  if (!text.empty() && text.back() == '=') --n;
  if (text.size() > 1 && text[text.size() - 2] == '=') --n;
  out.resize(static_cast<std::size_t>(n));
  return out;
}

struct ListedFile {
  std::string name, id, createdTime;
  bool hasAttribute = false;
  std::string tag;
};

std::vector<ListedFile> ListedFiles(const std::string& reply) {
  std::vector<ListedFile> files;
  TiXmlDocument doc;
  doc.Parse(reply.c_str());
  if (!doc.RootElement()) return files;
  for (const TiXmlElement* file = doc.RootElement()->FirstChildElement("file"); file;
       file = file->NextSiblingElement("file")) {
    ListedFile listed;
    auto text = [](const TiXmlElement* e) { return std::string(e && e->GetText() ? e->GetText() : ""); };
    listed.name = FromBase64(text(file->FirstChildElement("display")));
    listed.id = text(file->FirstChildElement("id"));
    listed.createdTime = text(file->FirstChildElement("createdtime"));
    const TiXmlElement* attribute = file->FirstChildElement("attribute");
    listed.hasAttribute = attribute != nullptr;
    if (attribute) listed.tag = text(attribute->FirstChildElement("Tag"));
    files.push_back(listed);
  }
  return files;
}

class TlsListing : public EmulatorFixture {};

TEST_F(TlsListing, SignsInFindsTheFoldersAndListsTheSeededCaptures) {
  SeedFile note{"120.txt", "dinner at eight", "2012-10-10 12:30:00", SeedFile::TagAttribute("晚餐")};
  SeedFile picture{"picture.png", std::string("\x89PNG\r\n\x1a\n", 8), "2013-01-02 03:04:05", std::nullopt};
  SeedFile untagged{"语音.m4a", "voice", "2011-05-06 07:08:09"};
  const auto noteId = emulator.AddFile(user, note);
  const auto pictureId = emulator.AddFile(user, picture);
  const auto untaggedId = emulator.AddFile(user, untagged);
  emulator.AddFolder(user, emulator.ProductFolderId(user), "sub");
  ASSERT_GT(noteId, 0);

  const auto token = SignIn(emulator, user, password);
  ASSERT_TRUE(token);

  const auto sync = Post(emulator, QuilloryCloud::kInfoRelayHost, "/folder/getmysyncfolder/",
                         XmlDeclaration() + "<getmysyncfolder><userid>" + user + "</userid><token>" +
                             *token + "</token></getmysyncfolder>");
  ASSERT_EQ(sync.curlCode, CURLE_OK);
  EXPECT_EQ(ReplyText(sync.body, "id"), std::to_string(emulator.SyncFolderId(user)));

  const auto find = Post(emulator, QuilloryCloud::kInfoRelayHost, "/find/propfind/",
                         XmlDeclaration() + "<propfind><token>" + *token + "</token><userid>" + user +
                             "</userid><parent>" + std::to_string(emulator.SyncFolderId(user)) +
                             "</parent><find>" + WireName("Quillory") +
                             "</find><type>system.folder</type></propfind>");
  EXPECT_EQ(ReplyText(find.body, "id"), std::to_string(emulator.ProductFolderId(user)));

  const auto browse = Post(emulator, QuilloryCloud::kInfoRelayHost, "/folder/browse/",
                           BrowseBody(user, *token, emulator.ProductFolderId(user)));
  ASSERT_EQ(ReplyText(browse.body, "status"), std::string("0")) << browse.body;
  const auto files = ListedFiles(browse.body);
  ASSERT_EQ(files.size(), 3u) << browse.body;
  // Newest first; the sub-folder is not a "file".
  EXPECT_EQ(files[0].name, "picture.png");
  EXPECT_EQ(files[0].id, std::to_string(pictureId));
  EXPECT_FALSE(files[0].hasAttribute);
  EXPECT_EQ(files[1].name, "120.txt");
  EXPECT_EQ(files[1].createdTime, "2012-10-10 12:30:00");
  EXPECT_EQ(files[1].tag, WireName("晚餐"));
  EXPECT_EQ(files[2].name, "语音.m4a");
  EXPECT_EQ(files[2].id, std::to_string(untaggedId));
  EXPECT_TRUE(files[2].hasAttribute);
  EXPECT_EQ(files[2].tag, "");

  const auto download = Post(emulator, QuilloryCloud::kWebRelayHost,
                             "/webrelay/directdownload/" + *token + "/?&dis=61839204&fi=" +
                                 std::to_string(noteId) + "&pv=0",
                             "");
  EXPECT_EQ(download.httpStatus, 200);
  EXPECT_EQ(download.body, "dinner at eight");
}

TEST_F(TlsListing, LogKeepsHeaderLinesExactlyAsSentAndInOrder) {
  ASSERT_TRUE(SignIn(emulator, user, password));
  const auto logged = emulator.Requests("/member/acquiretoken/");
  ASSERT_EQ(logged.size(), 1u);
  const auto& lines = logged[0].headerLines;
  const std::vector<std::string> expectedOrder = {"Cookie:sid=61839204", "Cookie:ONE_VER=1_0",
                                                  "Cookie:path=/",
                                                  "Content-type:application/x-www-form-urlencoded"};
  auto at = lines.begin();
  for (const auto& expected : expectedOrder) {
    at = std::find(at, lines.end(), expected);
    ASSERT_NE(at, lines.end()) << "missing or out of order: " << expected;
  }
  const auto authorization = std::find_if(at, lines.end(), [](const std::string& line) {
    return line.rfind("Authorization:nonce=\"", 0) == 0;
  });
  EXPECT_NE(authorization, lines.end()) << "Authorization must follow the common headers as sent";
  EXPECT_EQ(logged[0].host, QuilloryCloud::kGatewayHost);
  EXPECT_EQ(logged[0].method, "POST");
  EXPECT_NE(logged[0].body.find("<aaa><userid>alice</userid>"), std::string::npos);
  EXPECT_EQ(logged[0].httpStatus, 200);
}

}  // namespace
