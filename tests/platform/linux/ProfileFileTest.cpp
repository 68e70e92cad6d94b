// The settings file on disk, beyond what every system shares (tests/platform/ProfileFileTest.cpp):
// permissions, links, in-place changes, and writes that fail without touching the old file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "ProfileFileFixture.h"
#include "platform/Profile.h"
#include "platform/linux/AtomicWrite.h"

namespace fs = std::filesystem;

namespace {

std::string FileBytes(const fs::path& p) {
    return TempProgramDir::ReadFile(p);
}

void PutFile(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// Everything in the folder except the named file: a failed or finished write leaves no temp file.
std::vector<std::string> OtherEntries(const fs::path& dir, const std::string& except) {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(dir))
        if (e.path().filename() != except) names.push_back(e.path().filename().string());
    return names;
}

// Runs body in a child process (optionally as an unprivileged user) and returns its exit code.
int RunInChild(const std::function<int()>& body, bool dropPrivileges) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (dropPrivileges && geteuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0) _exit(90);
        }
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// A new file gets the usual permissions, and the write leaves no temp file beside it.
TEST_F(ProfileFileTest, NewFileHasUsualPermissionsAndNoTempFile) {
    fs::create_directory(dir_.IniDir());
    mode_t old = umask(022);
    plat::ProfileWrite(path_, "XHBX", "xhzq", "30");
    umask(old);
    EXPECT_EQ(FileBytes(ini_), "[XHBX]\r\nxhzq=30\r\n");
    EXPECT_EQ(fs::status(ini_).permissions(), fs::perms(0644));
    EXPECT_EQ(plat::ProfileRead(path_, "xhbx", "XHZQ", "120"), "30");
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

TEST_F(ProfileFileTest, WritesChangeOneLineOfARealFile) {
    const std::string original = FileBytes(kMixedIniFixture);
    ASSERT_FALSE(original.empty()) << kMixedIniFixture;
    dir_.WriteIni(original);

    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "xhzq", ""), "45");
    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "OnTime", ""), "12:30");
    EXPECT_EQ(plat::ProfileRead(path_, "XTSZ", "BJTP", ""), "C:\\\xcd\xbc\xc6\xac\\\xb1\xb3\xbe\xb0.bmp");
    EXPECT_EQ(plat::ProfileRead(path_, "XTSZ", "WarnNums", ""), "0");

    plat::ProfileWrite(path_, "XHBX", "xhzq", "60");
    std::string expected = original;
    expected.replace(expected.find("  xhzq = 45 \r\n"), 14, "  xhzq =60\r\n");
    EXPECT_EQ(FileBytes(ini_), expected);

    plat::ProfileWrite(path_, "XHBX", "startDSBJ", "1");
    expected.insert(expected.find("; \xd1\xad"), "startDSBJ=1\r\n");
    EXPECT_EQ(FileBytes(ini_), expected);

    plat::ProfileWrite(path_, "XTSZ", "NotFirstStart", "0");
    expected.replace(expected.find("NotFirstStart=1\r"), 16, "NotFirstStart=0\r");
    EXPECT_EQ(FileBytes(ini_), expected);

    plat::ProfileWrite(path_, "XHBX1", "TXNR", "x");
    expected += "\r\n[XHBX1]\r\nTXNR=x\r\n";
    EXPECT_EQ(FileBytes(ini_), expected);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

TEST_F(ProfileFileTest, ExistingFileKeepsItsPermissions) {
    dir_.WriteIni("[S]\r\nk=1\r\n");
    fs::permissions(ini_, fs::perms(0600));
    plat::ProfileWrite(path_, "S", "k", "2");
    EXPECT_EQ(fs::status(ini_).permissions(), fs::perms(0600));
    EXPECT_EQ(FileBytes(ini_), "[S]\r\nk=2\r\n");
}

TEST_F(ProfileFileTest, SymlinkedFileIsWrittenThroughTheLink) {
    fs::create_directories(dir_.IniDir());
    const fs::path real = dir_.Root() / "real.ini";
    PutFile(real, "[S]\r\nk=1\r\n");
    fs::create_symlink(real, ini_);
    plat::ProfileWrite(path_, "S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(ini_));
    EXPECT_EQ(FileBytes(real), "[S]\r\nk=2\r\n");
}

TEST_F(ProfileFileTest, DirectoryInPlaceOfFileLeavesNoTempFile) {
    fs::create_directories(ini_);
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "v"); }), "Unable to write to " + path_);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

// The file-size limit makes the write stop partway (SIGXFSZ ignored, so write() fails with EFBIG):
// the old file must come through whole and no temp file may stay behind.
TEST_F(ProfileFileTest, WriteFailingMidwayLeavesOldFileIntact) {
    const std::string original = "[S]\r\n; keep me\r\nk=" + std::string(10000, 'o') + "\r\n";
    dir_.WriteIni(original);
    const int code = RunInChild(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit lim {
                4096, 4096
            };
            if (setrlimit(RLIMIT_FSIZE, &lim) != 0) return 2;
            std::string error =
                WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", std::string(20000, 'n')); });
            return error == "Unable to write to " + path_ ? 0 : 1;
        },
        false);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(FileBytes(ini_), original);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

// A folder the user may not write to: the file itself is writable, but no temp file can be made
// beside it, so the write is refused and the file stays as it was.
TEST_F(ProfileFileTest, ReadOnlyFolderRefusesWrite) {
    const std::string original = "[S]\r\nk=1\r\n";
    dir_.WriteIni(original);
    fs::permissions(ini_, fs::perms(0666));
    fs::permissions(dir_.IniDir(), fs::perms(0555));
    const int code = RunInChild(
        [&] {
            if (plat::ProfileRead(path_, "S", "k", "") != "1") return 3;
            std::string error = WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "2"); });
            return error == "Unable to write to " + path_ ? 0 : 1;
        },
        true);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(FileBytes(ini_), original);
}

// A file that can be written but not read: writing anyway would throw its other lines away.
TEST_F(ProfileFileTest, UnreadableFileIsNotOverwritten) {
    const std::string original = "[S]\r\nother=1\r\n";
    dir_.WriteIni(original);
    fs::permissions(ini_, fs::perms(0222));
    fs::permissions(dir_.IniDir(), fs::perms(0777));
    const int code = RunInChild(
        [&] {
            std::string error = WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "2"); });
            return error == "Unable to write to " + path_ ? 0 : 1;
        },
        true);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(FileBytes(ini_), original);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

// A batch changes nothing on disk until its Commit, which replaces the file once.
TEST_F(ProfileFileTest, BatchReplacesTheFileOnceAtCommit) {
    const std::string original = "[S]\r\nk=1\r\n";
    dir_.WriteIni(original);
    struct stat before {};
    ASSERT_EQ(stat(path_.c_str(), &before), 0);
    plat::ProfileWriteBatch save;
    plat::ProfileWrite(path_, "S", "k", "2");
    plat::ProfileWrite(path_, "S", "j", "3");
    EXPECT_EQ(FileBytes(ini_), original);
    EXPECT_EQ(OtherEntries(dir_.IniDir(), "Tovik.ini").size(), 1u);  // the prepared replacement
    save.Commit();
    EXPECT_EQ(FileBytes(ini_), "[S]\r\nk=2\r\nj=3\r\n");
    struct stat after {};
    ASSERT_EQ(stat(path_.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

// A save may grow the file only up to what a read still takes: beyond that it is refused.
TEST_F(ProfileFileTest, WriteBeyondTheSizeLimitIsRefused) {
    const std::string original = "[S]\r\nk=1\r\n";
    dir_.WriteIni(original);
    EXPECT_EQ(WriteErrorOf([&] {
                  plat::ProfileWrite(path_, "S", "k", std::string(plat::linux_fs::kMaxFileBytes, 'x'));
              }),
              "Unable to write to " + path_);
    EXPECT_EQ(FileBytes(ini_), original);
    EXPECT_TRUE(OtherEntries(dir_.IniDir(), "Tovik.ini").empty());
}

}  // namespace
