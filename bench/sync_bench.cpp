// Sync benchmark against the in-process cloud emulator, in one run:
//   1. a first pass bringing N captures of S bytes (wall and CPU seconds),
//   2. the floor for it: the same downloads by plain libcurl over one reused connection,
//   3. a no-change pass over M records (wall seconds, bytes written to profile.cfg),
//   4. the floor for it: the listing exchange alone (plain libcurl), and Ferrolink's listing.
// Usage: sync_bench [--captures N] [--size BYTES] [--records M] [--rounds R (no-change passes, best shown)]
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

#include <cloud_emulator/emulator.h>
#include <ferrolink/harbor.h>
#include <tidewell/tidewell.h>
#include <tinyxml.h>

#include "bench_clock.h"
#include "curl_floor.h"

namespace fs = std::filesystem;
using bench::Stopwatch;
using bench::Times;

namespace {

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class CountingClient final : public ITidewellClient {
public:
    int added = 0, ready = 0, removed = 0;
    int OnFileAdded(std::int64_t, const char16_t*, std::int64_t) override { return ++added; }
    int Reserved1(std::int64_t, const char16_t*, std::int64_t) override { return 0; }
    int OnFileRemoved(std::int64_t) override { return ++removed; }
    int OnFileReady(std::int64_t, const char16_t*, std::int64_t) override { return ++ready; }
    int IsStopRequested() override { return 0; }
    int Release() override { return 0; }
};

// Counts the times profile.cfg is replaced in a folder (every write renames a new file in).
class ProfileWrites {
public:
    explicit ProfileWrites(const fs::path& folder) : m_fd(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~ProfileWrites() { close(m_fd); }
    int Replacements() {
        alignas(inotify_event) char buffer[64 * 1024];
        int count = 0;
        for (;;) {
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0) break;
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len && std::strcmp(event->name, "profile.cfg") == 0) ++count;
                p += sizeof(inotify_event) + event->len;
            }
        }
        return count;
    }

private:
    int m_fd;
};

struct PassResult {
    Times times;
    int ok = 0;
    CountingClient client;
};

PassResult RunPass(const fs::path& folder, const std::string& user, const std::string& password) {
    ISyncDataSet* set = GetSyncDataSet(Wide(folder.string()).c_str());
    PassResult result;
    set->AttachIOManager();
    if (!set->SignIn(Wide(user).c_str(), Wide(password).c_str())) {
        std::fprintf(stderr, "sign-in failed for %s\n", user.c_str());
        std::exit(1);
    }
    Stopwatch watch;
    result.ok = set->Synchronize(&result.client);
    result.times = watch.Elapsed();
    set->DetachIOManager();
    set->Release();
    return result;
}

// A token holder for timing Ferrolink's listing on its own.
class PlainTokener final : public Harbor::INibTokener {
public:
    int Init() override { return 1; }
    int SetBytes(const char* bytes, int length) override {
        if (length > 0) m_bytes.assign(bytes, static_cast<std::size_t>(length));
        return 0;
    }
    const char* GetBytes(int* length) override {
        *length = static_cast<int>(m_bytes.size());
        return m_bytes.empty() ? nullptr : m_bytes.data();
    }
    int Clear() override { m_bytes.clear(); return 0; }
    int Release() override { m_bytes.clear(); return 0; }
    int SetValue(int) override { return 0; }
    int GetValue() override { return 0; }

private:
    std::string m_bytes;
};

double FerrolinkListingSeconds(const std::string& user, const std::string& password, int* entries) {
    PlainTokener tokener;
    Harbor::IVaultIOlayout* io = Harbor::GetIOManager();
    io->SetTokener(&tokener);
    io->SignIn(Wide(user).c_str(), Wide(password).c_str());
    Stopwatch watch;
    const int result = io->ListEntries(0, 0x0FFFFFFFFFFFFFFF);
    const double seconds = watch.Elapsed().wall;
    *entries = result == 0 ? io->GetEntryCount() : -1;
    Harbor::ReleaseIOManager(io);
    return seconds;
}

double BestOf(int rounds, const auto& work) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        Stopwatch watch;
        work();
        best = std::min(best, watch.Elapsed().wall);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int captures = 2000, records = 10000, rounds = 3;
    long size = 20 * 1024;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--captures") captures = std::atoi(argv[i + 1]);
        else if (option == "--size") size = std::atol(argv[i + 1]);
        else if (option == "--records") records = std::atoi(argv[i + 1]);
        else if (option == "--rounds") rounds = std::max(1, std::atoi(argv[i + 1]));
    }

    char pattern[] = "/tmp/quillory-bench-XXXXXX";
    const fs::path root = mkdtemp(pattern);
    QuilloryCloud::Emulator cloud;
    QuilloryCloud::Options options;
    options.caOutPath = (root / "ca.pem").string();
    options.logBodies = false;
    if (!cloud.Start(options)) {
        std::fprintf(stderr, "emulator: %s\n", cloud.LastError().c_str());
        return 1;
    }
    setenv("QUILLORY_CONNECT_TO", cloud.ConnectTo().c_str(), 1);
    setenv("QUILLORY_CA_FILE", options.caOutPath.c_str(), 1);
    const bench::ServiceAddress address{cloud.ConnectTo(), options.caOutPath};
    std::printf("quillory sync benchmark (emulator in process on %s; wall = elapsed, cpu = client thread / whole process)\n\n",
                cloud.ConnectTo().c_str());

    // 1. First pass.
    const std::string firstUser = "first@bench", password = "pw";
    cloud.AddAccount(firstUser, password);
    cloud.AddSyntheticFiles(firstUser, captures, static_cast<std::size_t>(size));
    const fs::path firstFolder = root / "first";
    fs::create_directories(firstFolder);
    PassResult first = RunPass(firstFolder, firstUser, password);
    int onDisk = 0;
    for (const auto& entry : fs::directory_iterator(firstFolder / "Data")) onDisk += entry.file_size() == std::uintmax_t(size);
    std::printf("first pass, %d captures of %ld bytes: wall %.3f s, cpu %.3f s client thread / %.3f s process; "
                "result %d, %d added, %d ready, %d whole files in Data\n",
                captures, size, first.times.wall, first.times.threadCpu, first.times.processCpu, first.ok,
                first.client.added, first.client.ready, onDisk);

    // 2. Its floor.
    std::vector<std::int64_t> ids;
    for (const auto& entry : cloud.ProductFiles(firstUser)) ids.push_back(entry.id);
    const auto tokens = cloud.Tokens(firstUser);
    if (tokens.empty()) return 1;
    const fs::path floorFolder = root / "floor";
    fs::create_directories(floorFolder);
    int arrived = 0;
    Stopwatch floorWatch;
    arrived = bench::DownloadAll(address, tokens.back(), ids, floorFolder.string());
    const Times floorTimes = floorWatch.Elapsed();
    std::printf("floor, the same %zu downloads by plain libcurl over one connection: wall %.3f s, cpu %.3f s client "
                "thread / %.3f s process; %d arrived\n",
                ids.size(), floorTimes.wall, floorTimes.threadCpu, floorTimes.processCpu, arrived);
    std::printf("  -> first pass / floor = %.2f (goal: at most 2)\n", first.times.wall / floorTimes.wall);
    Stopwatch freshWatch;
    const int freshArrived = bench::DownloadAll(address, tokens.back(), ids, floorFolder.string(), true);
    std::printf("for comparison, the same downloads by plain libcurl with a new connection each: wall %.3f s; "
                "%d arrived\n\n", freshWatch.Elapsed().wall, freshArrived);

    // 3. No-change pass over many records.
    const std::string bigUser = "big@bench";
    cloud.AddAccount(bigUser, password);
    cloud.AddSyntheticFiles(bigUser, records, 64);
    const fs::path bigFolder = root / "big";
    fs::create_directories(bigFolder);
    Stopwatch setupWatch;
    const PassResult setup = RunPass(bigFolder, bigUser, password);
    std::printf("set-up pass bringing %d records: wall %.3f s (result %d, %d ready)\n", records,
                setupWatch.Elapsed().wall, setup.ok, setup.client.ready);
    ProfileWrites writes(bigFolder);
    PassResult quiet = RunPass(bigFolder, bigUser, password);
    for (int round = 1; round < rounds; ++round) {
        PassResult again = RunPass(bigFolder, bigUser, password);
        if (again.times.wall < quiet.times.wall) quiet = again;
    }
    const int replacements = writes.Replacements();
    const auto profileSize = fs::file_size(bigFolder / "profile.cfg");
    std::printf("no-change pass over %d records (best of %d): wall %.3f s, cpu %.3f s client thread; result %d, %d callbacks; "
                "profile.cfg written %d times, %ju bytes\n",
                records, rounds, quiet.times.wall, quiet.times.threadCpu, quiet.ok,
                quiet.client.added + quiet.client.ready + quiet.client.removed, replacements,
                static_cast<std::uintmax_t>(replacements) * profileSize);

    // 4. Its floors.
    const auto bigTokens = cloud.Tokens(bigUser);
    const std::int64_t productFolder = cloud.ProductFolderId(bigUser);
    std::string reply;
    const double browse = BestOf(3, [&] { reply = bench::BrowseOnce(address, bigUser, bigTokens.back(), productFolder); });
    // Every reply is read with TinyXML; parsing the listing is part of any pass.
    const double parse = BestOf(3, [&] {
        TiXmlDocument document;
        document.Parse(reply.c_str());
    });
    int listed = 0;
    double ferrolinkListing = 1e9;
    for (int round = 0; round < 3; ++round) ferrolinkListing = std::min(ferrolinkListing, FerrolinkListingSeconds(bigUser, password, &listed));
    std::printf("floor, the listing exchange alone (plain libcurl, best of 3): wall %.3f s, reply %zu bytes\n", browse,
                reply.size());
    std::printf("       TinyXML's parse of that reply alone (best of 3): wall %.3f s\n", parse);
    std::printf("       Ferrolink's ListEntries alone (folder look-ups, browse, reply analysis; best of 3): wall %.3f s, %d entries\n",
                ferrolinkListing, listed);
    std::printf("  -> no-change pass / listing exchange = %.2f (goal: at most 1.5, and 0 bytes written); "
                "/ Ferrolink's listing = %.2f\n",
                quiet.times.wall / browse, quiet.times.wall / ferrolinkListing);

    cloud.Stop();
    std::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}
