// The settings file where something else stands in its place, or where the file belongs to someone
// else: reading never hangs and gives the defaults, a write that must not happen raises "Unable to
// write to <path>" and leaves every byte, mode and owner in the folder as it was. Each case runs in a
// child process with a time limit (a hang fails the case instead of the whole run), as this user or,
// where the case needs a second user and the tests run as root, as the unprivileged user 65534.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Profile.h"
#include "platform/linux/AtomicWrite.h"
#include "support/TempProgramDir.h"
#include "support/linux/InChildProcess.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kOtherUser = 65534;  // nobody
constexpr gid_t kOtherGroup = 65534;
constexpr gid_t kSharedGroup = 4242;  // a group only the tests use; it needs no entry in /etc/group

enum class As { ThisUser, OtherUser };

// Runs body in a child process, as this user or as kOtherUser (with kSharedGroup among its groups),
// and returns what body returned: empty text on success, else what went wrong. A child that does not
// finish within the time limit is killed, and that is the result.
std::string InChild(As who, const std::function<std::string()>& body) {
    return testsupport::InChildProcess([&]() -> std::string {
        const gid_t groups[] = {kSharedGroup};
        if (who == As::OtherUser &&
            (setgroups(1, groups) != 0 || setgid(kOtherGroup) != 0 || setuid(kOtherUser) != 0))
            return std::string("cannot become the other user: ") + std::strerror(errno);
        return body();
    });
}

// Everything below a folder, links not followed: type, mode, owner, and the bytes or link target.
void SnapshotInto(const fs::path& root, const fs::path& folder, std::map<std::string, std::string>& entries) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat st {};
        if (lstat(entry.path().c_str(), &st) != 0) continue;
        std::string what = std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + ":" +
                           std::to_string(st.st_gid) + " ";
        if (S_ISREG(st.st_mode)) what += TempProgramDir::ReadFile(entry.path());
        if (S_ISLNK(st.st_mode)) what += fs::read_symlink(entry.path()).string();
        entries[entry.path().lexically_relative(root).string()] = what;
        if (S_ISDIR(st.st_mode)) SnapshotInto(root, entry.path(), entries);
    }
}

std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    SnapshotInto(root, root, entries);
    return entries;
}

void PutFile(const fs::path& p, const std::string& bytes, fs::perms mode) {
    std::ofstream(p, std::ios::binary) << bytes;
    fs::permissions(p, mode);
}

void Own(const fs::path& p, uid_t uid, gid_t gid) {
    ASSERT_EQ(lchown(p.c_str(), uid, gid), 0) << p << ": " << std::strerror(errno);
}

const std::string kSettings = "[S]\r\nk=1\r\n; the user's own line\r\n";

struct HostileCase {
    const char* name;
    // Puts something at the settings path (root: the test's folder, ini: the settings path).
    std::function<void(const fs::path& root, const fs::path& ini)> setup;
    As who;
    std::string readGives;  // what reading S/k with the default "d" gives
};

const std::vector<HostileCase>& HostileCases() {
    static const std::vector<HostileCase> cases = {
        {"Fifo", [](const fs::path&, const fs::path& ini) { ASSERT_EQ(mkfifo(ini.c_str(), 0666), 0); },
         As::ThisUser, "d"},
        {"LinkToFifo",
         [](const fs::path& root, const fs::path& ini) {
             ASSERT_EQ(mkfifo((root / "pipe").c_str(), 0666), 0);
             fs::create_symlink("../../pipe", ini);
         },
         As::ThisUser, "d"},
        {"Socket",
         [](const fs::path&, const fs::path& ini) {
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un addr{};
             addr.sun_family = AF_UNIX;
             ASSERT_LT(ini.string().size(), sizeof addr.sun_path);
             std::strcpy(addr.sun_path, ini.c_str());
             ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0) << std::strerror(errno);
             close(fd);
         },
         As::ThisUser, "d"},
        // An endless file: reading it whole would never finish.
        {"LinkToDevice", [](const fs::path&, const fs::path& ini) { fs::create_symlink("/dev/zero", ini); },
         As::ThisUser, "d"},
        {"Directory", [](const fs::path&, const fs::path& ini) { fs::create_directory(ini); }, As::ThisUser,
         "d"},
        {"LinkToDirectory",
         [](const fs::path& root, const fs::path& ini) {
             fs::create_directory(root / "folder");
             fs::create_directory_symlink(root / "folder", ini);
         },
         As::ThisUser, "d"},
        {"LinkLoop",
         [](const fs::path&, const fs::path& ini) {
             fs::create_symlink("other.ini", ini);
             fs::create_symlink("Tovik.ini", ini.parent_path() / "other.ini");
         },
         As::ThisUser, "d"},
        {"DanglingLinkIntoMissingFolder",
         [](const fs::path&, const fs::path& ini) { fs::create_symlink("../nowhere/Tovik.ini", ini); },
         As::ThisUser, "d"},
        // No write bit left: the user has made the file read-only (also for the privileged user).
        {"ReadOnlyFile",
         [](const fs::path&, const fs::path& ini) { PutFile(ini, kSettings, fs::perms(0444)); }, As::ThisUser,
         "1"},
        {"ReadOnlyFileOfTheOtherUser",
         [](const fs::path&, const fs::path& ini) {
             PutFile(ini, kSettings, fs::perms(0444));
             Own(ini, kOtherUser, kOtherGroup);
         },
         As::OtherUser, "1"},
        // Someone else's file in a folder anyone may write: readable, but not ours to replace.
        {"OtherOwnersFile",
         [](const fs::path&, const fs::path& ini) { PutFile(ini, kSettings, fs::perms(0644)); },
         As::OtherUser, "1"},
        {"LinkToOtherOwnersFile",
         [](const fs::path& root, const fs::path& ini) {
             PutFile(root / "theirs.ini", kSettings, fs::perms(0644));
             fs::create_symlink(root / "theirs.ini", ini);
         },
         As::OtherUser, "1"},
        // Far larger than any settings file: not read (it would freeze the program), not rewritten.
        {"HugeFile",
         [](const fs::path&, const fs::path& ini) {
             PutFile(ini, kSettings + std::string(plat::linux_fs::kMaxFileBytes, ';'), fs::perms(0644));
         },
         As::ThisUser, "d"},
    };
    return cases;
}

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileHostile : public testing::TestWithParam<HostileCase> {};

TEST_P(ProfileHostile, ReadGivesDefaultsOrValueAndWriteChangesNothing) {
    const HostileCase& c = GetParam();
    if (c.who == As::OtherUser && geteuid() != 0)
        GTEST_SKIP() << "needs a second user: run the tests as root to switch to uid " << kOtherUser;
    TempProgramDir dir;
    fs::create_directories(dir.IniDir());
    fs::permissions(dir.IniDir(), fs::perms(0777));
    fs::permissions(dir.Root(), fs::perms(0755));
    const fs::path ini = dir.IniFile();
    c.setup(dir.Root(), ini);
    if (HasFatalFailure()) return;
    const auto before = Snapshot(dir.Root());
    const std::string path = ini.string();

    const std::string result = InChild(c.who, [&]() -> std::string {
        const std::string read = plat::ProfileRead(path, "S", "k", "d");
        if (read != c.readGives) return "the read gave '" + read + "'";
        for (int round = 0; round < 2; ++round) {  // a second try meets the same refusal
            std::string error = "<no error>";
            try {
                plat::ProfileWrite(path, "S", "k", "2");
            } catch (const EIniFileException& e) {
                error = e.Message();
            }
            if (error != "Unable to write to " + path) return "the write gave: " + error;
        }
        try {
            plat::ProfileWriteBatch batch;
            plat::ProfileWrite(path, "S", "k", "2");
            return "a write in a batch was taken";
        } catch (const EIniFileException&) {
        }
        return "";
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(Snapshot(dir.Root()), before) << "the folder changed";
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileHostile, testing::ValuesIn(HostileCases()),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             return std::string(info.param.name);
                         });

// A link whose target is missing (in a folder that exists) is followed like any other: the target is
// created and the link stays, so a settings file kept elsewhere through a link comes back where it was.
TEST(ProfileLinks, DanglingLinkCreatesItsTarget) {
    TempProgramDir dir;
    fs::create_directories(dir.IniDir());
    fs::create_symlink("../../kept/Tovik.ini", dir.IniFile());
    fs::create_directory(dir.Root() / "kept");
    EXPECT_EQ(plat::ProfileRead(dir.IniFile().string(), "S", "k", "d"), "d");
    plat::ProfileWrite(dir.IniFile().string(), "S", "k", "2");
    EXPECT_TRUE(fs::is_symlink(dir.IniFile()));
    EXPECT_EQ(TempProgramDir::ReadFile(dir.Root() / "kept" / "Tovik.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(plat::ProfileRead(dir.IniFile().string(), "S", "k", "d"), "2");
}

// A replace keeps the file's owner and group where this process may set them, and its mode never
// gives anyone more than before.
struct OwnerCase {
    const char* name;
    uid_t uid;
    gid_t gid;
    mode_t mode;
    As who;
    // What the file must have afterwards.
    uid_t uidAfter;
    gid_t gidAfter;
    mode_t modeAfter;
};

void PrintTo(const OwnerCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileOwner : public testing::TestWithParam<OwnerCase> {};

TEST_P(ProfileOwner, ReplaceKeepsOwnerGroupAndMode) {
    const OwnerCase& c = GetParam();
    if (geteuid() != 0) GTEST_SKIP() << "needs files of other users: run the tests as root";
    TempProgramDir dir;
    fs::create_directories(dir.IniDir());
    fs::permissions(dir.IniDir(), fs::perms(0777));
    fs::permissions(dir.Root(), fs::perms(0755));
    const fs::path ini = dir.IniFile();
    PutFile(ini, kSettings, fs::perms(0600));
    Own(ini, c.uid, c.gid);
    ASSERT_EQ(chmod(ini.c_str(), c.mode), 0);

    const std::string path = ini.string();
    EXPECT_EQ(InChild(c.who,
                      [&]() -> std::string {
                          try {
                              plat::ProfileWrite(path, "S", "k", "2");
                          } catch (const Exception& e) {
                              return e.Message();
                          }
                          return "";
                      }),
              "");
    struct stat st {};
    ASSERT_EQ(stat(ini.c_str(), &st), 0);
    EXPECT_EQ(TempProgramDir::ReadFile(ini), "[S]\r\nk=2\r\n; the user's own line\r\n");
    EXPECT_EQ(st.st_uid, c.uidAfter);
    EXPECT_EQ(st.st_gid, c.gidAfter);
    EXPECT_EQ(st.st_mode & 07777, c.modeAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileOwner,
    testing::Values(
        // The privileged user saving someone's private file gives it back to them.
        OwnerCase{"PrivilegedSavesUsersFile", 4243, 4243, 0600, As::ThisUser, 4243, 4243, 0600},
        OwnerCase{"PrivilegedKeepsSharedGroup", 4243, kSharedGroup, 0660, As::ThisUser, 4243, kSharedGroup,
                  0660},
        // A member of the file's group: the group stays; the new owner gets what the group had.
        OwnerCase{"GroupMemberKeepsGroup", 0, kSharedGroup, 0660, As::OtherUser, kOtherUser, kSharedGroup,
                  0660},
        OwnerCase{"GroupMemberGetsNoMoreThanTheGroup", 0, kSharedGroup, 0764, As::OtherUser, kOtherUser,
                  kSharedGroup, 0664},
        // The owner who is not in the file's group cannot keep it: that group's bits are narrowed to
        // what everyone had.
        OwnerCase{"OwnerOutsideTheGroup", kOtherUser, 4244, 0670, As::OtherUser, kOtherUser, kOtherGroup,
                  0600}),
    [](const testing::TestParamInfo<OwnerCase>& info) { return std::string(info.param.name); });

}  // namespace
