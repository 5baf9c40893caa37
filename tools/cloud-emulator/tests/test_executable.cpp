// quillory-cloud as a process: seeded from a folder, prints its port, stops on SIGTERM.
#include "support/https_client.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <openssl/evp.h>
#include <tinyxml.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

using namespace EmulatorTest;

namespace {

class Process {
 public:
  explicit Process(std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      std::vector<char*> argv;
      for (auto& arg : args) argv.push_back(arg.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    m_stdout = fdopen(out[0], "r");
  }
  ~Process() {
    if (m_pid > 0 && !m_waited) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_stdout) fclose(m_stdout);
  }
  std::string FirstLine() {
    char line[64] = {};
    if (!m_stdout || !fgets(line, sizeof line, m_stdout)) return std::string();
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }
  // Exit status after SIGTERM, or -1 when it did not end within five seconds.
  int Terminate() {
    kill(m_pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_waited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

 private:
  pid_t m_pid = -1;
  FILE* m_stdout = nullptr;
  bool m_waited = false;
};

struct Listing {
  std::map<std::string, std::string> createdTimeByName;
  std::map<std::string, std::string> sizeByName;
};

std::string DecodeBase64(const std::string& text) {
  std::string out(text.size(), '\0');
  int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  if (n < 0) return std::string();
  for (auto it = text.rbegin(); it != text.rend() && *it == '='; ++it) --n;
  out.resize(static_cast<std::size_t>(n));
  return out;
}

Listing ListProductFolder(const Target& target, const std::string& user, const std::string& password) {
  Listing listing;
  const auto token = SignIn(target, user, password);
  if (!token) return listing;
  const auto sync = Post(target, QuilloryCloud::kInfoRelayHost, "/folder/getmysyncfolder/",
                         XmlDeclaration() + "<getmysyncfolder><userid>" + user + "</userid><token>" +
                             *token + "</token></getmysyncfolder>");
  const auto find = Post(target, QuilloryCloud::kInfoRelayHost, "/find/propfind/",
                         XmlDeclaration() + "<propfind><token>" + *token + "</token><userid>" + user +
                             "</userid><parent>" + ReplyText(sync.body, "id").value_or("") +
                             "</parent><find>" + WireName("Quillory") +
                             "</find><type>system.folder</type></propfind>");
  const auto browse = Post(target, QuilloryCloud::kInfoRelayHost, "/folder/browse/",
                           BrowseBody(user, *token, std::stoll(ReplyText(find.body, "id").value_or("0"))));
  TiXmlDocument doc;
  doc.Parse(browse.body.c_str());
  if (!doc.RootElement()) return listing;
  for (const TiXmlElement* file = doc.RootElement()->FirstChildElement("file"); file;
       file = file->NextSiblingElement("file")) {
    const std::string name = DecodeBase64(file->FirstChildElement("display")->GetText());
    listing.createdTimeByName[name] = file->FirstChildElement("createdtime")->GetText();
    listing.sizeByName[name] = file->FirstChildElement("size")->GetText();
  }
  return listing;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (name + std::to_string(getpid()))).string();
}

TEST(Executable, ServesTheDemoCapturesWithTheirModificationTimes) {
  const std::string demo = std::string(EMULATOR_DEMO_DIR) + "/captures";
  std::map<std::string, std::string> expected;
  for (const auto& entry : std::filesystem::directory_iterator(demo)) {
    struct stat info {};
    ASSERT_EQ(stat(entry.path().c_str(), &info), 0);
    expected[entry.path().filename().string()] = QuilloryCloud::FormatCreatedTime(info.st_mtime);
  }
  ASSERT_GE(expected.size(), 9u);

  const std::string ca = TempPath("quillory-cloud-ca-");
  Process server({QUILLORY_CLOUD_EXE, "--port", "0", "--ca-out", ca, "--user", "demo", "--password",
                  "pw", "--seed", demo});
  const std::string port = server.FirstLine();
  ASSERT_FALSE(port.empty());
  UseCaFile(ca);
  const Listing listing = ListProductFolder(Target("127.0.0.1:" + port), "demo", "pw");
  EXPECT_EQ(listing.createdTimeByName, expected);
  EXPECT_EQ(server.Terminate(), 0);
  std::filesystem::remove(ca);
}

TEST(Executable, MakesASyntheticSet) {
  const std::string ca = TempPath("quillory-cloud-ca-synthetic-");
  Process server({QUILLORY_CLOUD_EXE, "--ca-out", ca, "--user", "bench", "--password", "pw",
                  "--synthetic", "25", "--size", "3000"});
  const std::string port = server.FirstLine();
  ASSERT_FALSE(port.empty());
  UseCaFile(ca);
  const Listing listing = ListProductFolder(Target("127.0.0.1:" + port), "bench", "pw");
  ASSERT_EQ(listing.sizeByName.size(), 25u);
  EXPECT_EQ(listing.sizeByName.at("synthetic-000001.txt"), "3000");
  EXPECT_EQ(listing.sizeByName.at("synthetic-000025.txt"), "3000");
  EXPECT_EQ(server.Terminate(), 0);
  std::filesystem::remove(ca);
}

TEST(Executable, RefusesBadArguments) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{QUILLORY_CLOUD_EXE, "--port", "70000"},
        std::vector<std::string>{QUILLORY_CLOUD_EXE, "--seed", "/nonexistent"},
        std::vector<std::string>{QUILLORY_CLOUD_EXE, "--user", "u", "--seed", "/nonexistent/dir"},
        std::vector<std::string>{QUILLORY_CLOUD_EXE, "--frobnicate"}}) {
    Process process(args);
    EXPECT_EQ(process.FirstLine(), "") << args.back();
  }
}

}  // namespace
