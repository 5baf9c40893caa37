// Folder and entry requests of the info relay change the stored state as a client expects.
#include "support/https_client.h"

#include <curl/curl.h>

using namespace EmulatorTest;

namespace {

class Entries : public EmulatorFixture {
 protected:
  void SetUp() override {
    EmulatorFixture::SetUp();
    auto signedIn = SignIn(emulator, user, password);
    ASSERT_TRUE(signedIn);
    token = *signedIn;
  }
  // Sends <root><token/><userid/>inner</root> and returns the reply body.
  std::string Info(const std::string& path, const std::string& root, const std::string& inner,
                   bool withUser = true) {
    const auto reply =
        Post(emulator, QuilloryCloud::kInfoRelayHost, path,
             XmlDeclaration() + "<" + root + "><token>" + token + "</token>" +
                 (withUser ? "<userid>" + user + "</userid>" : std::string()) + inner + "</" + root + ">");
    EXPECT_EQ(reply.curlCode, CURLE_OK);
    return reply.body;
  }
  std::string token;
};

TEST_F(Entries, AttributeTextIsStoredExactlyAndListedBack) {
  const auto id = emulator.AddFile(user, {"9.m4a", "voice", ""});
  const std::string attribute =
      "<Tag>" + WireName("Grocery list") + "</Tag>\n<VN>2</VN><VD>1.6</VD><FS>0</FS><NFS>0</NFS><NT>0</NT>";
  const auto reply = Info("/file/updateattribute/", "updateattribute",
                          "<fileid>" + std::to_string(id) + "</fileid><attribute>" + attribute +
                              "</attribute>");
  EXPECT_EQ(ReplyText(reply, "status"), std::string("0")) << reply;
  EXPECT_EQ(emulator.FindEntry(user, id)->attribute, attribute);
  EXPECT_EQ(QuilloryCloud::Emulator::DecodeTag(attribute), std::string("Grocery list"));

  const auto info = Info("/fsentry/getentryinfo/", "getentryinfo",
                         "<isfolder>0</isfolder><entryid>" + std::to_string(id) + "</entryid>", false);
  EXPECT_EQ(ReplyText(info, "status"), std::string("0")) << info;
  EXPECT_NE(info.find("<attribute>" + attribute + "</attribute>"), std::string::npos) << info;

  const auto empty = Info("/file/updateattribute/", "updateattribute",
                          "<fileid>" + std::to_string(id) + "</fileid><attribute></attribute>");
  EXPECT_EQ(ReplyText(empty, "status"), std::string("0"));
  EXPECT_EQ(emulator.FindEntry(user, id)->attribute, std::string());

  const auto broken = Info("/file/updateattribute/", "updateattribute",
                           "<fileid>" + std::to_string(id) + "</fileid><attribute><Tag>x</Tag><VN></attribute>");
  EXPECT_EQ(ReplyText(broken, "status"), std::string("400"));
}

TEST_F(Entries, CreateFindRenameAndRemove) {
  ASSERT_TRUE(emulator.RemoveEntry(user, emulator.ProductFolderId(user)));
  const std::string sync = std::to_string(emulator.SyncFolderId(user));
  auto find = [&](const std::string& parent, const std::string& name, const char* type) {
    return ReplyText(Info("/find/propfind/", "propfind",
                          "<parent>" + parent + "</parent><find>" + WireName(name) + "</find><type>" +
                              type + "</type>"),
                     "id");
  };
  EXPECT_FALSE(find(sync, "Quillory", "system.folder")) << "not found: status 0 without id";

  const auto created = Info("/folder/create/", "create",
                            "<parent>" + sync + "</parent><isencrypted>1</isencrypted><display>" +
                                WireName("Quillory") + "</display>");
  const auto folderId = ReplyText(created, "id");
  ASSERT_TRUE(folderId) << created;
  EXPECT_EQ(*folderId, std::to_string(emulator.ProductFolderId(user)));
  EXPECT_EQ(find(sync, "Quillory", "system.folder"), folderId);
  EXPECT_FALSE(find(sync, "Quillory", "system.file")) << "the type must match";

  const auto fileId = emulator.AddFile(user, {"book.info", "book", ""});
  EXPECT_EQ(find(*folderId, "book.info", "system.file"), std::to_string(fileId));

  const auto renamed = Info("/file/rename/", "rename",
                            "<id>" + std::to_string(fileId) + "</id><display>" + WireName("笔记.info") +
                                "</display><isencrypted>0</isencrypted>");
  EXPECT_EQ(ReplyText(renamed, "status"), std::string("0"));
  EXPECT_EQ(emulator.FindEntry(user, fileId)->name, "笔记.info");

  const auto removed = Info("/file/remove/", "remove", "<id>" + std::to_string(fileId) + "</id>");
  EXPECT_EQ(ReplyText(removed, "status"), std::string("0"));
  EXPECT_FALSE(emulator.FindEntry(user, fileId));
  const auto again = Info("/file/remove/", "remove", "<id>" + std::to_string(fileId) + "</id>");
  EXPECT_EQ(ReplyText(again, "status"), std::string("301"));
}

TEST_F(Entries, ForeignEntriesAndMalformedBodiesAreRefused) {
  ASSERT_TRUE(emulator.AddAccount("bob", "builder"));
  const auto bobsFile = emulator.AddFile("bob", {"b.txt", "bob's", ""});
  const auto remove = Info("/file/remove/", "remove", "<id>" + std::to_string(bobsFile) + "</id>");
  EXPECT_EQ(ReplyText(remove, "status"), std::string("301"));
  EXPECT_TRUE(emulator.FindEntry("bob", bobsFile));

  const auto browse = Info("/folder/browse/", "browse",
                           "<folderid>" + std::to_string(emulator.ProductFolderId("bob")) + "</folderid>");
  EXPECT_EQ(ReplyText(browse, "status"), std::string("302"));

  const auto wrongRoot = Post(emulator, QuilloryCloud::kInfoRelayHost, "/file/remove/",
                              XmlDeclaration() + "<delete><token>" + token + "</token></delete>");
  EXPECT_EQ(ReplyText(wrongRoot.body, "status"), std::string("400"));
  const auto notXml = Post(emulator, QuilloryCloud::kInfoRelayHost, "/file/remove/", "remove=1");
  EXPECT_EQ(ReplyText(notXml.body, "status"), std::string("400"));
  const auto badId = Info("/file/remove/", "remove", "<id>12abc</id>");
  EXPECT_EQ(ReplyText(badId, "status"), std::string("400"));
}

}  // namespace
