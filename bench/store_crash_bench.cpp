// The store under kill -9: a catalogue of several years is ingested year by year, and each
// year's run is killed at random moments. After every kill each store file must be whole, its
// version before the run or after an uninterrupted run, and nothing else may be left but the
// program's temporaries (files, and folders being made with their files); a rerun (which clears
// those) must then give the store an uninterrupted run gives, byte for byte. Run by hand; it prints
// what it did and ends with 1 on any mismatch.
//
//   store_crash_bench [--dir FOLDER] [--years N] [--kills N] [--horses N]
//
// Each year is the store tests' synthetic season, written by the batched writer in one flush
// (a year is far below its memory bound), so that every file after a kill must be exactly its
// version before the run or after it. --kills is the number of kills per year (default 8): half
// spread at random over the time an uninterrupted run of that year takes, half over the time
// from the last record read to its end, where the files are written and put in place (the run
// tells the moment it has read everything through a pipe). After a run the kill came too late
// for, the store is put back as it was before the year, so that every kill meets a run with
// work to do.
#include "files/WholeFile.h"
#include "jvdata/SjisText.h"
#include "store/ReadLoop.h"
#include "store/StoreLock.h"
#include "store/StoreTestSeason.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>

#if defined(_WIN32)

int main() {
    std::puts("store_crash_bench kills processes with SIGKILL: POSIX only");
    return 0;
}

#else

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using keiba::storetest::TFeedFile;
using keiba::storetest::TFeedJVLink;
using Snapshot = std::map<std::string, std::string>;

// Shows nothing; writes one byte to the pipe `told` when every file has been read.
class TQuietSink final : public store::IReadLoopSink {
public:
    explicit TQuietSink(int told) : told_(told) {}
    void ProgressText(const std::string&) override {}
    void ReadingBarMax(int max) override { max_ = max; }
    void ReadingBar(int position) override {
        if (position > 0 && position == max_ && told_ >= 0) {
            const char byte = 1;
            [[maybe_unused]] const ssize_t written = write(told_, &byte, 1);
            close(told_);
            told_ = -1;
        }
    }
    void DownloadBar(int) override {}
    void MadeFile(const std::string&) override {}
    void Beep() override {}
    void InformationBox(const std::string&) override {}
    void ErrorBox(const std::string& text) override {
        std::fprintf(stderr, "store error: %s\n", Sjis::ToUtf8(text).c_str());
    }
    void ProcessPendingEvents() override {}

private:
    int told_;
    int max_ = -1;
};

std::vector<TFeedFile> Year(int year, int horses) {
    keiba::storetest::TSeasonShape shape;
    shape.seed = 20040501u + static_cast<std::uint32_t>(year);
    shape.firstDate = std::to_string(2001 + year) + "0106";
    shape.weeks = 52;
    shape.courses = 2;
    shape.horses = horses;
    return keiba::storetest::MakeSeason(shape);
}

// One year into root, as an acquisition does: the lock, the stale temporaries cleared, the
// read loop. True when it completed.
bool Ingest(const fs::path& root, int year, int horses, int told) {
    const store::TStoreLock lock = store::TStoreLock::Take(root);
    if (!lock.Held()) {
        std::fprintf(stderr, "lock: %s\n", Sjis::ToUtf8(lock.Message()).c_str());
        return false;
    }
    store::RemoveStoreTemporaries(root);
    const auto files = Year(year, horses);
    TFeedJVLink link(files);
    std::atomic<bool> cancel{false};
    TQuietSink sink(told);
    store::TReadLoopOptions options;
    const store::TLocalDateTime now{2001 + year + 1, 1, 10, 12, 0, 0};
    return store::RunReadLoop(
               link, link.FileCount(), [now] { return now; }, root, cancel, sink, options)
        .Completed();
}

Snapshot Take(const fs::path& root) {
    Snapshot files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) {
            files[it->path().lexically_relative(root).generic_string()] =
                files::ReadWholeFile(it->path()).bytes;
        }
    }
    files.erase(std::string(store::kStoreLockFile));
    return files;
}

// A temporary file, or a file in a folder a batch was making.
bool IsTemporary(const std::string& name) {
    for (const fs::path& part : fs::path(name)) {
        if (files::TemporaryOwner(part.string()) != 0) {
            return true;
        }
    }
    return false;
}

void CopyStore(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

} // namespace

int main(int argc, char** argv) {
    fs::path base = fs::temp_directory_path();
    int years = 3;
    int kills = 8;
    int horses = 3000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--child" && i + 4 < argc) {
            // --child ROOT YEAR HORSES FD: one year's run, to be killed; FD the pipe to tell.
            const bool done = Ingest(argv[i + 1], std::stoi(argv[i + 2]), std::stoi(argv[i + 3]),
                                     std::stoi(argv[i + 4]));
            return done ? 0 : 1;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--dir") {
            base = value;
        } else if (arg == "--years") {
            years = std::stoi(value);
        } else if (arg == "--kills") {
            kills = std::stoi(value);
        } else if (arg == "--horses") {
            horses = std::stoi(value);
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
            return 2;
        }
    }
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path folder = base / ("store-crash-" + std::to_string(std::random_device{}()));
    const fs::path store = folder / "store";
    const fs::path reference = folder / "reference";
    const fs::path beforeCopy = folder / "before";
    fs::create_directories(store);
    std::mt19937 random(20040501);

    // Runs one year in a child process; kills it `after` its start, or `after` it has read
    // everything (fromReading), unless after is negative. The status, and how long after its
    // start it had read everything and ended.
    struct TChild {
        int status = 0;
        std::chrono::microseconds read{0};
        std::chrono::microseconds ended{0};
    };
    auto child = [&](const fs::path& root, int year, std::chrono::microseconds after,
                     bool fromReading = false) {
        using Clock = std::chrono::steady_clock;
        int told[2];
        if (pipe(told) != 0) {
            std::perror("pipe");
            std::exit(1);
        }
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            close(told[0]);
            const std::string y = std::to_string(year);
            const std::string h = std::to_string(horses);
            const std::string fd = std::to_string(told[1]);
            execl(self.c_str(), self.c_str(), "--child", root.c_str(), y.c_str(), h.c_str(),
                  fd.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(told[1]);
        TChild result;
        auto waitRead = [&] {
            char byte = 0;
            [[maybe_unused]] const ssize_t got = read(told[0], &byte, 1);
            result.read =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        };
        if (after.count() >= 0) {
            if (fromReading) {
                waitRead();
            }
            std::this_thread::sleep_for(after);
            kill(pid, SIGKILL);
        } else {
            waitRead();
        }
        waitpid(pid, &result.status, 0);
        result.ended = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        close(told[0]);
        return result;
    };

    std::size_t totalKills = 0;
    std::size_t killedMidway = 0;
    std::size_t compared = 0;
    std::size_t temporaries = 0;
    std::size_t mismatches = 0;
    for (int year = 0; year < years; ++year) {
        // The store before the year and after an uninterrupted run of it.
        const Snapshot before = Take(store);
        CopyStore(store, reference);
        CopyStore(store, beforeCopy);
        const TChild whole = child(reference, year, std::chrono::microseconds(-1));
        if (whole.status != 0) {
            std::fprintf(stderr, "the uninterrupted run of year %d failed\n", year);
            return 1;
        }
        const Snapshot after = Take(reference);
        std::printf("year %d: %zu files before, %zu after, an uninterrupted run %.2f s, of which "
                    "%.2f s writing\n",
                    year, before.size(), after.size(),
                    static_cast<double>(whole.ended.count()) / 1e6,
                    static_cast<double>((whole.ended - whole.read).count()) / 1e6);

        std::uniform_int_distribution<long long> anywhere(0, whole.ended.count());
        std::uniform_int_distribution<long long> writing(0, (whole.ended - whole.read).count());
        for (int k = 0; k < kills; ++k) {
            const bool inWriting = k % 2 == 1;
            const long long at = inWriting ? writing(random) : anywhere(random);
            const int status = child(store, year, std::chrono::microseconds(at), inWriting).status;
            ++totalKills;
            const bool killed = WIFSIGNALED(status);
            killedMidway += killed;
            const Snapshot now = Take(store);
            std::size_t changed = 0;
            for (const auto& [name, bytes] : now) {
                ++compared;
                if (IsTemporary(name)) {
                    ++temporaries;
                    continue;
                }
                const auto old = before.find(name);
                const auto fresh = after.find(name);
                const bool isOld = old != before.end() && old->second == bytes;
                const bool isNew = fresh != after.end() && fresh->second == bytes;
                changed += !isOld && isNew;
                if (!isOld && !isNew) {
                    ++mismatches;
                    std::printf("  MISMATCH after kill %d of year %d: %s\n", k, year, name.c_str());
                }
            }
            std::printf("  kill %d at %.3f s %s: %s, %zu files, %zu in their new version\n", k,
                        static_cast<double>(at) / 1e6,
                        inWriting ? "after the last record" : "after the start",
                        killed ? "killed" : "had finished", now.size(), changed);
            if (!killed) {
                // A finished run leaves nothing to interrupt: the next kill meets the year's
                // first run again.
                CopyStore(beforeCopy, store);
            }
        }
        // The rerun completes the store.
        if (child(store, year, std::chrono::microseconds(-1)).status != 0) {
            std::fprintf(stderr, "the rerun of year %d failed\n", year);
            return 1;
        }
        const Snapshot rerun = Take(store);
        compared += rerun.size();
        const bool same = rerun == after;
        mismatches += !same;
        std::printf("  rerun equals the uninterrupted run: %s (%zu files)\n", same ? "yes" : "NO",
                    rerun.size());
    }
    std::printf("\n%zu kills (%zu while running), %zu files compared, %zu temporaries left by "
                "kills, %zu mismatches\n",
                totalKills, killedMidway, compared, temporaries, mismatches);
    std::error_code ec;
    fs::remove_all(folder, ec);
    return mismatches == 0 ? 0 : 1;
}

#endif
