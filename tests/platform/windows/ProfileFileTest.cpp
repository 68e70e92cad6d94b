// The settings file on Windows, beyond what every system shares (tests/platform/ProfileFileTest.cpp):
// the read-only attribute refuses a write, also for a process that could write the file (Wine run by
// root ignores the attribute), and the old file stays byte for byte.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "ProfileFileFixture.h"
#include "platform/Profile.h"

namespace fs = std::filesystem;

namespace {

TEST_F(ProfileFileTest, ReadOnlyFileRefusesWrite) {
    const std::string original = "[S]\r\nk=1\r\n";
    dir_.WriteIni(original);
    fs::permissions(ini_, fs::perms::owner_read);  // the read-only attribute
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "2"); }), "Unable to write to " + path_);
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), original);
    EXPECT_EQ(plat::ProfileRead(path_, "S", "k", ""), "1");
    // A batch (a dialog save) is refused at its first write, before anything is prepared.
    {
        plat::ProfileWriteBatch save;
        EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "3"); }),
                  "Unable to write to " + path_);
    }
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.IniDir()), fs::directory_iterator()), 1);
}

}  // namespace

namespace {

// Something other than a file in the settings file's place, as Wine shows a Linux FIFO or device: it
// reads as missing (without waiting for a writer) and a write is refused with the usual message. The
// places are made by scripts/test-windows and named in CHIMEWICK_TEST_SPECIAL_FILES (separated by ';');
// the script checks afterwards that they are still what they were.
TEST(ProfileSpecialFiles, ReadAsMissingAndNeverWritten) {
    const char* names = std::getenv("CHIMEWICK_TEST_SPECIAL_FILES");
    if (!names) GTEST_SKIP() << "run by scripts/test-windows, which makes a FIFO and a device link";
    std::string list = names;
    for (std::size_t start = 0; start < list.size();) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string path = list.substr(start, end - start);
        start = end + 1;
        EXPECT_EQ(plat::ProfileRead(path, "XTSZ", "NotFirstStart", "none"), "none") << path;
        EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path, "XTSZ", "NotFirstStart", "1"); }),
                  "Unable to write to " + path);
        {
            plat::ProfileWriteBatch save;
            EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path, "XTSZ", "BJTP", ""); }),
                      "Unable to write to " + path);
        }
    }
}

}  // namespace
