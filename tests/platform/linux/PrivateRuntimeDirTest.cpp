// The folder of the one-copy lock and socket: only a folder of this user's that nobody else may enter
// is taken, whatever another user has put in the well-known places; and socket peers of another user
// are told apart. Cases with a second user run as uid 65534 in a child process when the tests run as
// root, and are skipped otherwise.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/linux/PrivateRuntimeDir.h"
#include "support/TempProgramDir.h"
#include "support/linux/ForeignServer.h"

namespace fs = std::filesystem;
using plat::linux_fs::IsPrivateDir;
using plat::linux_fs::PeerIsThisUser;
using plat::linux_fs::PrivateRuntimeDir;

namespace {

constexpr uid_t kOtherUser = 65534;

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

fs::path MakeDir(const fs::path& p, mode_t mode) {
    fs::create_directories(p);
    chmod(p.c_str(), mode);
    return p;
}

int ConnectTo(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class PrivateRuntimeDirTest : public testing::Test {
protected:
    TempProgramDir dir_;
    // Stands in for /tmp: anyone may make entries, and only remove their own.
    fs::path tmp_ = MakeDir(dir_.Root() / "tmp", 01777);
    fs::path home_ = MakeDir(dir_.Root() / "home", 0700);
    ScopedEnv runtime_{"XDG_RUNTIME_DIR", std::nullopt};
    ScopedEnv tmpdir_{"TMPDIR", tmp_.string()};
    ScopedEnv home_env_{"HOME", home_.string()};
    ScopedEnv cache_{"XDG_CACHE_HOME", std::nullopt};
    std::string ownInTmp_ = (tmp_ / ("chimewick-" + std::to_string(geteuid()))).string();
};

TEST_F(PrivateRuntimeDirTest, OnlyAFolderOfThisUsersThatNobodyElseEntersIsPrivate) {
    const fs::path root = dir_.Root();
    EXPECT_TRUE(IsPrivateDir(MakeDir(root / "mine", 0700).string()));
    EXPECT_TRUE(IsPrivateDir(MakeDir(root / "mine-read-only", 0500).string()));
    struct Refused {
        fs::path path;
        const char* why;
    };
    fs::create_directory_symlink(root / "mine", root / "link");
    std::ofstream(root / "file") << "x";
    for (const Refused& r :
         {Refused{MakeDir(root / "shared", 0755), "may be entered by other users"},
          Refused{MakeDir(root / "group", 0750), "may be entered by other users"},
          Refused{root / "link", "is not a folder"}, Refused{root / "file", "is not a folder"},
          Refused{root / "missing", "No such file or directory"},
          Refused{"relative", "is not an absolute path"}}) {
        std::string why;
        EXPECT_FALSE(IsPrivateDir(r.path.string(), &why)) << r.path;
        EXPECT_NE(why.find(r.why), std::string::npos) << r.path << ": " << why;
    }
    if (geteuid() == 0) {
        const fs::path theirs = MakeDir(root / "theirs", 0700);
        ASSERT_EQ(chown(theirs.c_str(), kOtherUser, kOtherUser), 0);
        std::string why;
        EXPECT_FALSE(IsPrivateDir(theirs.string(), &why));
        EXPECT_NE(why.find("belongs to another user"), std::string::npos) << why;
    }
}

TEST_F(PrivateRuntimeDirTest, RuntimeFolderWhenPrivate) {
    const fs::path runtime = MakeDir(dir_.Root() / "runtime", 0700);
    ScopedEnv set("XDG_RUNTIME_DIR", runtime.string());
    EXPECT_EQ(PrivateRuntimeDir(), runtime.string());
}

// Without a usable runtime folder, a folder of the program's own in the temporary folder, made private.
TEST_F(PrivateRuntimeDirTest, WithoutRuntimeFolderMakesItsOwnInTmp) {
    const fs::path shared = MakeDir(dir_.Root() / "runtime", 0755);
    for (const std::optional<std::string>& runtime :
         {std::optional<std::string>(), std::optional(shared.string())}) {
        ScopedEnv set("XDG_RUNTIME_DIR", runtime);
        EXPECT_EQ(PrivateRuntimeDir(), ownInTmp_);
        struct stat st {};
        ASSERT_EQ(lstat(ownInTmp_.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, geteuid());
    }
}

TEST_F(PrivateRuntimeDirTest, PreferredFolderMustBePrivate) {
    const fs::path shared = MakeDir(dir_.Root() / "shared", 0777);
    std::string why;
    EXPECT_EQ(PrivateRuntimeDir(shared.string(), &why), "");
    EXPECT_NE(why.find("may be entered by other users"), std::string::npos) << why;
    const fs::path mine = MakeDir(dir_.Root() / "mine", 0700);
    EXPECT_EQ(PrivateRuntimeDir(mine.string()), mine.string());
}

// Another user has made the program's folder in the temporary folder first, open to all, with a lock
// and a listening socket inside: it is passed over; the folder in the user's
// cache is taken instead. With that one taken as well, there is no folder, and the caller says so.
TEST_F(PrivateRuntimeDirTest, AnotherUsersFolderInTmpIsPassedOver) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run the tests as root to switch to uid " << kOtherUser;
    const fs::path hostile = MakeDir(ownInTmp_, 0777);
    ASSERT_EQ(chown(hostile.c_str(), kOtherUser, kOtherUser), 0);
    std::ofstream(hostile / "chimewick-0123.lock") << "1\nchimewick\n";
    ForeignServer server((hostile / "chimewick-0123.socket").string(), kOtherUser);
    ASSERT_TRUE(server.Ok());

    std::string why;
    const std::string chosen = PrivateRuntimeDir(std::string(), &why);
    EXPECT_EQ(chosen, (home_ / ".cache" / "chimewick").string());
    EXPECT_TRUE(IsPrivateDir(chosen));
    EXPECT_NE(why.find(ownInTmp_ + " belongs to another user"), std::string::npos) << why;

    // The cache folder taken as well (here: made open to all by its owner): nothing will do.
    fs::permissions(chosen, fs::perms(0777));
    why.clear();
    EXPECT_EQ(PrivateRuntimeDir(std::string(), &why), "");
    EXPECT_NE(why.find(chosen + " may be entered by other users"), std::string::npos) << why;
}

TEST_F(PrivateRuntimeDirTest, SocketPeerOfAnotherUserIsToldApart) {
    const fs::path sockets = MakeDir(dir_.Root() / "sockets", 0777);
    {
        ForeignServer mine((sockets / "mine").string(), geteuid());
        ASSERT_TRUE(mine.Ok());
        const int fd = ConnectTo((sockets / "mine").string());
        ASSERT_GE(fd, 0);
        EXPECT_TRUE(PeerIsThisUser(fd));
        close(fd);
    }
    if (geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run the tests as root to switch to uid " << kOtherUser;
    ForeignServer theirs((sockets / "theirs").string(), kOtherUser);
    ASSERT_TRUE(theirs.Ok());
    const int fd = ConnectTo((sockets / "theirs").string());
    ASSERT_GE(fd, 0);
    EXPECT_FALSE(PeerIsThisUser(fd));
    close(fd);
    EXPECT_FALSE(PeerIsThisUser(-1));
}

}  // namespace
