// Settings writes under a crash and on a full disk. A child process keeps saving the settings file
// through TTools::WriteIni and is killed with SIGKILL at random moments; after every kill the file
// must be exactly one of the files the child could have written (with the writes of a dialog save
// batched: the old settings or the new ones, nothing in between), and at most one temporary file may
// be lying beside it. On a full disk a write must fail with its message and leave the old file as it
// was (RLIMIT_FSIZE, a write stopping partway, is covered in ProfileFileTest).
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/Errors.h"
#include "platform/Profile.h"
#include "settings/uToolsObj.h"
#include "support/TempProgramDir.h"
#include "support/linux/InChildProcess.h"

namespace fs = std::filesystem;

namespace {

// One key that the child switches between two values.
struct Change {
    const char* section;
    const char* key;
    std::string first;
    std::string second;
};

// Two complete versions of the settings: every key of kChanges at its first value, or at its second.
// The values differ in length, so a file cut short or mixed from two writes matches neither.
const std::vector<Change>& Changes() {
    static const std::vector<Change> changes = {
        {"XHBX", "xhzq", "30", "1440"},
        {"XHBX", "OnTimeTxnr", std::string(3000, 'a'),
         "\xb8\xc3\xd7\xbc\xb1\xb8\xb3\xd4\xce\xe7\xb7\xb9\xc1\xcb"},
        {"XHBX", "startDSBJ", "1", "0"},
        {"XTSZ", "BJTP", "/home/user/pictures/a.bmp", std::string(5000, 'b')},
    };
    return changes;
}

// A settings file of some size (comments, other sections, GBK text, CR LF), so a write takes long
// enough for kills to land inside it.
std::string BaseFile() {
    std::string text =
        "; Chimewick settings\r\n[XHBX]\r\nstartXHBJ=1\r\nxhzq=120\r\nstartDSBJ=0\r\n"
        "OnTime=12:00\r\nOnTimeTxnr=x\r\ntxnr=\xd6\xf7\xc8\xcb\r\n";
    for (int i = 0; i < 400; ++i) text += "; padding line " + std::to_string(i) + " of the settings file\r\n";
    text += "[XTSZ]\r\nNotFirstStart=1\r\nBJTP=\r\nWarnNums=\r\n";
    return text;
}

// Every file the writer passes through, in order: starting from the first version, the keys are
// switched one at a time to their second values, then one at a time back. Step k turns file k into
// file k + 1 (modulo the count).
class WriteCycle {
public:
    WriteCycle() {
        std::string text = BaseFile();
        for (const Change& c : Changes()) text = plat::ProfileWriteText(text, c.section, c.key, c.first);
        for (std::size_t k = 0; k < 2 * Changes().size(); ++k) {
            files_.push_back(text);
            const auto [section, key, value] = Step(k);
            text = plat::ProfileWriteText(text, section, key, value);
        }
    }

    std::size_t Count() const { return files_.size(); }
    const std::string& File(std::size_t k) const { return files_[k % files_.size()]; }

    // Index of the file with exactly these bytes, or -1.
    int IndexOf(const std::string& bytes) const {
        auto it = std::find(files_.begin(), files_.end(), bytes);
        return it == files_.end() ? -1 : static_cast<int>(it - files_.begin());
    }

    // The write that step k makes: section, key and value.
    std::tuple<const char*, const char*, std::string> Step(std::size_t k) const {
        const std::size_t n = Changes().size();
        const Change& c = Changes()[k % n];
        return {c.section, c.key, (k / n) % 2 == 0 ? c.second : c.first};
    }

    // Runs step k through the program's own settings writer.
    void Write(std::size_t k) const {
        const auto [section, key, value] = Step(k % files_.size());
        TTools::WriteIni(section, key, value);
    }

private:
    std::vector<std::string> files_;
};

// Entries of the settings folder other than the settings file itself (temporary files).
std::vector<std::string> TempFiles(const fs::path& iniDir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(iniDir))
        if (entry.path().filename() != "Tovik.ini") names.push_back(entry.path().filename().string());
    return names;
}

// The child: finds which file of the cycle is on disk, tells the parent it is running, then writes
// step after step until it is killed. Exits 3 when the file on disk is not one of the cycle.
[[noreturn]] void WriteForever(const WriteCycle& cycle, const TempProgramDir& dir, int readyFd) {
    const int at = cycle.IndexOf(dir.ReadIni());
    if (at < 0) _exit(3);
    const char ready = 'r';
    if (write(readyFd, &ready, 1) != 1) _exit(4);
    for (std::size_t k = static_cast<std::size_t>(at);; ++k) cycle.Write(k);
}

// Starts a writer in a child process (it reports on readyFd once it runs, then writes until it is
// killed), kills it after delay and returns its wait status, or -1 when it could not be started.
int StartAndKill(const std::function<void(int readyFd)>& writer, std::chrono::microseconds delay) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        close(pipeFds[0]);
        writer(pipeFds[1]);
        _exit(5);
    }
    close(pipeFds[1]);
    char ready = 0;
    const bool started = read(pipeFds[0], &ready, 1) == 1;
    close(pipeFds[0]);
    // The pause only picks the moment of the kill; nothing is waited for.
    if (started) std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return status;
}

TEST(ProfileCrash, KilledWriterLeavesOneCompleteVersion) {
    TempProgramDir dir;
    const WriteCycle cycle;
    dir.WriteIni(cycle.File(0));

    // How long one save takes here; the kills are spread over about three saves.
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t k = 0; k < cycle.Count(); ++k) cycle.Write(k);
    const auto perWrite = (std::chrono::steady_clock::now() - start) / cycle.Count();
    ASSERT_EQ(dir.ReadIni(), cycle.File(0));
    const long long spreadMicros =
        std::max<long long>(50, 3 * std::chrono::duration_cast<std::chrono::microseconds>(perWrite).count());

    constexpr unsigned kSeed = 20240611;
    constexpr int kKills = 200;
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<long long> delay(0, spreadMicros);
    std::vector<bool> seen(cycle.Count(), false);
    int killedMidWrite = 0;

    for (int i = 0; i < kKills; ++i) {
        const int status = StartAndKill([&](int readyFd) { WriteForever(cycle, dir, readyFd); },
                                        std::chrono::microseconds(delay(random)));
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "kill " << i << " (seed " << kSeed << "): the writer ended by itself, status " << status
            << (WIFEXITED(status) && WEXITSTATUS(status) == 3 ? " (it found a file not of the cycle)" : "");

        ASSERT_TRUE(fs::exists(dir.IniFile())) << "kill " << i << " (seed " << kSeed << ")";
        const std::string onDisk = dir.ReadIni();
        const int index = cycle.IndexOf(onDisk);
        ASSERT_GE(index, 0) << "kill " << i << " (seed " << kSeed << "): the settings file is none of the "
                            << cycle.Count() << " versions (" << onDisk.size() << " bytes)";
        seen[static_cast<std::size_t>(index)] = true;
        const std::vector<std::string> temps = TempFiles(dir.IniDir());
        ASSERT_LE(temps.size(), 1u) << "kill " << i << " (seed " << kSeed << "): temporary files pile up";
        if (!temps.empty()) ++killedMidWrite;
    }
    // The writer got somewhere: the kills found it at several versions.
    EXPECT_GE(std::count(seen.begin(), seen.end(), true), 2);
    std::printf(
        "%d of %d kills landed inside a save (one save: %lld us)\n", killedMidWrite, kKills,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(perWrite).count()));

    // The next save clears what a killed writer left behind.
    const int index = cycle.IndexOf(dir.ReadIni());
    cycle.Write(static_cast<std::size_t>(index));
    EXPECT_EQ(dir.ReadIni(), cycle.File(static_cast<std::size_t>(index) + 1));
    EXPECT_TRUE(TempFiles(dir.IniDir()).empty());
}

// Every key one save of the settings dialog writes, in its order, with two sets of values: one
// dialog save turns the old settings into the new ones.
struct SaveKey {
    const char* section;
    const char* key;
};
const std::vector<SaveKey>& DialogSaveKeys() {
    static const std::vector<SaveKey> keys = {
        {"XHBX", "startXHBJ"},      {"XHBX", "xhzq"},
        {"XHBX", "startDSBJ"},      {"XHBX", "OnTime"},
        {"XHBX", "OnTimeTxnr"},     {"XHBX", "startDSBJ2"},
        {"XHBX", "OnTime2"},        {"XHBX", "OnTimeTxnr2"},
        {"XHBX", "startDSBJ3"},     {"XHBX", "OnTime3"},
        {"XHBX", "OnTimeTxnr3"},    {"XHBX", "txnr"},
        {"XHBX", "startXHBJFlash"}, {"XHBX", "XHBXFlashSetByUser"},
        {"XHBX", "XHBXFlashWord"},  {"XHBX", "flashLonger"},
        {"XTSZ", "NotFirstStart"},  {"XTSZ", "BJTP"},
    };
    return keys;
}

std::string SaveValue(std::size_t keyIndex, int version) {
    // Of different lengths, so a file mixed from the two versions matches neither.
    return version == 0 ? "old" + std::to_string(keyIndex) : std::string(200 + keyIndex, 'n');
}

// A save as the dialog makes it: every key written through TTools::WriteIni inside one batch.
void DialogSave(int version) {
    plat::ProfileWriteBatch save;
    for (std::size_t i = 0; i < DialogSaveKeys().size(); ++i)
        TTools::WriteIni(DialogSaveKeys()[i].section, DialogSaveKeys()[i].key, SaveValue(i, version));
    save.Commit();
}

TEST(ProfileCrash, KilledBatchedSaveLeavesOldOrNewSettings) {
    TempProgramDir dir;
    std::string versions[2];
    for (int v = 0; v < 2; ++v) {
        versions[v] = BaseFile();
        for (std::size_t i = 0; i < DialogSaveKeys().size(); ++i)
            versions[v] = plat::ProfileWriteText(versions[v], DialogSaveKeys()[i].section,
                                                 DialogSaveKeys()[i].key, SaveValue(i, v));
    }
    dir.WriteIni(versions[0]);

    constexpr int kSaves = 20;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSaves; ++i) DialogSave((i + 1) % 2);
    const auto perSave = (std::chrono::steady_clock::now() - start) / kSaves;
    ASSERT_EQ(dir.ReadIni(), versions[0]);
    const long long spreadMicros =
        std::max<long long>(50, 3 * std::chrono::duration_cast<std::chrono::microseconds>(perSave).count());

    constexpr unsigned kSeed = 20240612;
    constexpr int kKills = 200;
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<long long> delay(0, spreadMicros);
    int seen[2] = {0, 0};
    for (int i = 0; i < kKills; ++i) {
        const int status = StartAndKill(
            [&](int readyFd) {
                const std::string onDisk = dir.ReadIni();
                int version = onDisk == versions[0] ? 0 : onDisk == versions[1] ? 1 : -1;
                if (version < 0) _exit(3);
                const char ready = 'r';
                if (write(readyFd, &ready, 1) != 1) _exit(4);
                for (;;) DialogSave(version = 1 - version);
            },
            std::chrono::microseconds(delay(random)));
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "kill " << i << " (seed " << kSeed << "): the writer ended by itself, status " << status
            << (WIFEXITED(status) && WEXITSTATUS(status) == 3 ? " (it found settings mixed from two saves)"
                                                              : "");
        const std::string onDisk = dir.ReadIni();
        ASSERT_TRUE(onDisk == versions[0] || onDisk == versions[1])
            << "kill " << i << " (seed " << kSeed << "): the settings file holds neither the old nor the new "
            << "settings (" << onDisk.size() << " bytes)";
        ++seen[onDisk == versions[0] ? 0 : 1];
        ASSERT_LE(TempFiles(dir.IniDir()).size(), 1u) << "kill " << i << ": temporary files pile up";
    }
    // The saves got somewhere: the kills found both versions.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// Runs body in a child process with a mount namespace of its own; body returns an empty text on
// success, "skip: <reason>" to skip, or what went wrong.
std::string InOwnMountNamespace(const std::function<std::string()>& body) {
    return testsupport::InChildProcess([&]() -> std::string {
        if (unshare(CLONE_NEWNS) != 0)
            return std::string("skip: cannot make a mount namespace (unshare: ") + std::strerror(errno) + ")";
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("skip: cannot make mounts private (") + std::strerror(errno) + ")";
        return body();
    });
}

TEST(ProfileCrash, FullDiskKeepsTheOldFile) {
    TempProgramDir dir;
    const std::string path = dir.IniFile().string();
    const std::string result = InOwnMountNamespace([&]() -> std::string {
        fs::create_directories(dir.IniDir());
        if (mount("tmpfs", dir.IniDir().c_str(), "tmpfs", 0, "size=64k") != 0)
            return std::string("skip: cannot mount a small tmpfs (") + std::strerror(errno) + ")";
        TTools::WriteIni("XHBX", "xhzq", "30");
        TTools::WriteIni("XHBX", "txnr", "\xd6\xf7\xc8\xcb");
        const std::string before = dir.ReadIni();

        std::string error = "<no error>";
        try {
            TTools::WriteIni("XHBX", "txnr", std::string(200 * 1024, 'x'));
        } catch (const EIniFileException& e) {
            error = e.Message();
        }
        if (error != "Unable to write to " + path) return "the write gave: " + error;
        if (dir.ReadIni() != before) return "the old file changed";
        if (!TempFiles(dir.IniDir()).empty()) return "a temporary file stayed behind";
        // The space of the failed attempt is free again: a small write goes through.
        TTools::WriteIni("XHBX", "xhzq", "45");
        if (plat::ProfileRead(path, "XHBX", "xhzq", "") != "45") return "a small write after it failed";
        umount(dir.IniDir().c_str());
        return "";
    });
    if (result.rfind("skip: ", 0) == 0) GTEST_SKIP() << result.substr(6);
    EXPECT_EQ(result, "");
}

}  // namespace
