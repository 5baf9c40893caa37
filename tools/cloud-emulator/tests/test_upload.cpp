// The web-relay upload transaction: init, resume with the announced bytes, finish;
// the checksum shortcut; replacing a file against its latest checksum.
#include "support/https_client.h"

#include <curl/curl.h>
#include <openssl/evp.h>

using namespace EmulatorTest;

namespace {

std::string Sha512(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha512(), nullptr);
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned i = 0; i < size; ++i) {
    out.push_back(hex[digest[i] >> 4]);
    out.push_back(hex[digest[i] & 15]);
  }
  return out;
}

class Upload : public EmulatorFixture {
 protected:
  void SetUp() override {
    EmulatorFixture::SetUp();
    auto signedIn = SignIn(emulator, user, password);
    ASSERT_TRUE(signedIn);
    token = *signedIn;
    folder = emulator.ProductFolderId(user);
  }
  std::string Prefix(const char* operation) {
    return std::string("/webrelay/") + operation + "/?&dis=61839204&tk=" + token;
  }
  HttpResult Web(const std::string& target, const std::string& body = "") {
    const auto result = Post(emulator, QuilloryCloud::kWebRelayHost, target, body);
    EXPECT_EQ(result.curlCode, CURLE_OK);
    return result;
  }
  HttpResult InitNew(const std::string& name, const std::string& bytes, const std::string& at) {
    return Web(Prefix("initbinaryupload") + "&na=" + WireName(name) + "&pa=" + std::to_string(folder) +
               "&at=" + at + "&sg=" + Sha512(bytes) + "&fs=" + std::to_string(bytes.size()));
  }
  HttpResult InitReplace(const std::string& name, std::int64_t id) {
    return Web(Prefix("initbinaryupload") + "&na=" + WireName(name) + "&pa=" + std::to_string(folder) +
               "&at=%3CTag%3EMA%3D%3D%3C/Tag%3E&fi=" + std::to_string(id) + "&sg=SYSTEM.RESERVED");
  }
  HttpResult Resume(const std::string& transaction, const std::string& bytes) {
    return Web(Prefix("resumebinaryupload") + "&tx=" + transaction, bytes);
  }
  HttpResult Finish(const std::string& transaction, const std::string& latest) {
    return Web(Prefix("finishbinaryupload") + "&tx=" + transaction + "&lsg=" + latest);
  }
  static std::string Status(const HttpResult& r) { return ReplyText(r.body, "status").value_or("<none>"); }

  std::string token;
  std::int64_t folder = 0;
};

TEST_F(Upload, NewFileNeedsExactlyTheAnnouncedBytesBeforeItIsFinished) {
  const std::string bytes(20000, 'x');
  // Markup in the target as a careful client escapes it; the tag's own "%3D" stays.
  const auto init = InitNew("7.file", bytes, "%3CTag%3ESGk%3D%3C/Tag%3E");
  ASSERT_EQ(Status(init), "0") << init.body;
  EXPECT_FALSE(ReplyText(init.body, "fileid"));
  const auto transaction = ReplyText(init.body, "transid");
  ASSERT_TRUE(transaction);
  EXPECT_EQ(emulator.OpenTransactionCount(), 1u);

  EXPECT_EQ(Status(Finish(*transaction, "")), "311") << "no bytes received yet";
  EXPECT_EQ(Status(Resume(*transaction, bytes.substr(1))), "312");
  std::string changed = bytes;
  changed[100] = 'y';
  EXPECT_EQ(Status(Resume(*transaction, changed)), "313");
  EXPECT_EQ(Status(Resume(*transaction, bytes)), "0");

  const auto finish = Finish(*transaction, "");
  ASSERT_EQ(Status(finish), "0") << finish.body;
  std::int64_t id = std::stoll(ReplyText(finish.body, "fileid").value_or("0"));
  const auto stored = emulator.FindEntry(user, id);
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->name, "7.file");
  EXPECT_EQ(stored->parentId, folder);
  EXPECT_EQ(stored->bytes, bytes);
  EXPECT_EQ(stored->attribute, std::string("<Tag>SGk%3D</Tag>"));
  EXPECT_EQ(QuilloryCloud::Emulator::DecodeTag(*stored->attribute), std::string("Hi"));
  EXPECT_EQ(emulator.OpenTransactionCount(), 0u);
  EXPECT_EQ(Status(Resume(*transaction, bytes)), "311") << "a finished transaction is gone";
}

TEST_F(Upload, RawMarkupInTheTargetAndAnAnnouncedBodyAreAccepted) {
  const std::string bytes(300000, 'z');
  const auto init = InitNew("big.file", bytes, "<Tag>SGk%3D</Tag>");
  const auto transaction = ReplyText(init.body, "transid");
  ASSERT_TRUE(transaction) << init.body;
  // A client that waits for "100 Continue" before sending its bytes.
  auto headers = CommonHeaders();
  headers.push_back("Expect: 100-continue");
  const auto resume = Post(emulator, QuilloryCloud::kWebRelayHost,
                           Prefix("resumebinaryupload") + "&tx=" + *transaction, bytes, headers);
  EXPECT_EQ(Status(resume), "0") << resume.body;
  const auto finish = Finish(*transaction, "");
  const auto stored = emulator.FindEntry(user, std::stoll(ReplyText(finish.body, "fileid").value_or("0")));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->attribute, std::string("<Tag>SGk%3D</Tag>"));
  EXPECT_EQ(stored->bytes.size(), bytes.size());
}

TEST_F(Upload, EscapedAmpersandAndHashInTheAttributeAreStoredRaw) {
  // "&" and "#" cannot stand raw inside a query value, so a client escapes them.
  const auto init = InitNew("8.file", "abc", "%3CVD%3E1%26amp;2%23%3C/VD%3E%3CTag%3EMA%3D%3D%3C/Tag%3E");
  const auto transaction = ReplyText(init.body, "transid");
  ASSERT_TRUE(transaction) << init.body;
  ASSERT_EQ(Status(Resume(*transaction, "abc")), "0");
  const auto finish = Finish(*transaction, "");
  const auto stored = emulator.FindEntry(user, std::stoll(ReplyText(finish.body, "fileid").value_or("0")));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->attribute, std::string("<VD>1&amp;2#</VD><Tag>MA%3D%3D</Tag>"));
}

TEST_F(Upload, ZeroByteFileIsAnnouncedWithSizeZero) {
  const auto init = InitNew("empty.txt", "", "");
  const auto transaction = ReplyText(init.body, "transid");
  ASSERT_TRUE(transaction) << init.body;
  EXPECT_EQ(Status(Resume(*transaction, "")), "0");
  const auto finish = Finish(*transaction, "");
  ASSERT_TRUE(ReplyText(finish.body, "fileid")) << finish.body;
  EXPECT_TRUE(emulator.FindProductFile(user, "empty.txt"));
}

TEST_F(Upload, KnownChecksumGivesTheFileIdAtOnce) {
  const auto existing = emulator.AddFile(user, {"book.info", "notebook", ""});
  emulator.ClearRequests();

  const auto same = InitNew("book.info", "notebook", "%3CVN%3E2%3C/VN%3E");
  EXPECT_EQ(Status(same), "0");
  EXPECT_EQ(ReplyText(same.body, "fileid"), std::to_string(existing));
  EXPECT_FALSE(ReplyText(same.body, "transid"));
  EXPECT_EQ(emulator.FindEntry(user, existing)->attribute, std::string("<VN>2</VN>"));

  // Same contents under another name: a new entry, still without any bytes sent.
  const auto copy = InitNew("copy.info", "notebook", "");
  const std::int64_t copyId = std::stoll(ReplyText(copy.body, "fileid").value_or("0"));
  EXPECT_NE(copyId, existing);
  EXPECT_EQ(emulator.FindEntry(user, copyId)->bytes, "notebook");
  EXPECT_EQ(emulator.OpenTransactionCount(), 0u);
  EXPECT_TRUE(emulator.Requests("/webrelay/resumebinaryupload/").empty());
}

TEST_F(Upload, ReplacementIsCheckedAgainstTheLatestChecksum) {
  const auto id = emulator.AddFile(user, {"3.file", "old contents", ""});
  const auto init = InitReplace("3.file", id);
  ASSERT_EQ(Status(init), "0") << init.body;
  EXPECT_EQ(ReplyText(init.body, "latestchecksum"), Sha512("old contents"));
  const auto transaction = ReplyText(init.body, "transid");
  ASSERT_TRUE(transaction);
  EXPECT_EQ(Status(Resume(*transaction, "new contents, longer")), "0");
  EXPECT_EQ(Status(Finish(*transaction, Sha512("something else"))), "314");
  EXPECT_EQ(emulator.FindEntry(user, id)->bytes, "old contents");

  const auto finish = Finish(*transaction, Sha512("old contents"));
  EXPECT_EQ(ReplyText(finish.body, "fileid"), std::to_string(id));
  const auto stored = emulator.FindEntry(user, id);
  EXPECT_EQ(stored->bytes, "new contents, longer");
  EXPECT_EQ(stored->sha512, Sha512("new contents, longer"));
  EXPECT_EQ(QuilloryCloud::Emulator::DecodeTag(*stored->attribute), std::string("0"));
}

TEST_F(Upload, MalformedTargetsAreRefused) {
  const std::string base = Prefix("initbinaryupload") + "&na=" + WireName("x.txt") + "&pa=" +
                           std::to_string(folder);
  const std::string sha = Sha512("x");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {base + "&sg=" + sha.substr(1) + "&fs=1", "400"},                        // short checksum
      {base + "&sg=" + sha + "&fs=one", "400"},                                // size not a number
      {base + "&fi=12&sg=" + sha, "400"},                                      // replacement with a checksum
      {base + "&fi=12&sg=SYSTEM.RESERVED", "301"},                             // no such file
      {base + "&at=%3CTag%3E&sg=" + sha + "&fs=1", "400"},                    // attribute not XML
      {Prefix("initbinaryupload") + "&na=" + WireName("x") + "&pa=1&sg=" + sha + "&fs=1", "302"},
      {"/webrelay/initbinaryupload/?&dis=1&tk=" + token + "&na=eA%3D%3D&pa=" + std::to_string(folder) +
           "&sg=" + sha + "&fs=1",
       "400"},                                                                  // wrong service number
  };
  for (const auto& [target, status] : cases) {
    SCOPED_TRACE(target);
    EXPECT_EQ(Status(Web(target)), status);
  }
  EXPECT_EQ(emulator.OpenTransactionCount(), 0u);
}

}  // namespace
