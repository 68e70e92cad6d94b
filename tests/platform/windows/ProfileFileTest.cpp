// The settings file through the system's profile functions, beyond what every system shares
// (tests/platform/ProfileFileTest.cpp): the read-only attribute refuses a write.
#include <filesystem>
#include <fstream>

#include "ProfileFileFixture.h"
#include "platform/Profile.h"

namespace fs = std::filesystem;

namespace {

TEST_F(ProfileFileTest, ReadOnlyFileRefusesWrite) {
    const std::string original = "[S]\r\nk=1\r\n";
    dir_.WriteIni(original);
    fs::permissions(ini_, fs::perms::owner_read);  // the read-only attribute
    if (std::ofstream(ini_, std::ios::app)) GTEST_SKIP() << "this user can write a read-only file";
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "2"); }), "Unable to write to " + path_);
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), original);
    EXPECT_EQ(plat::ProfileRead(path_, "S", "k", ""), "1");
}

}  // namespace
