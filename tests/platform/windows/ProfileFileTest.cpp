// The settings file on Windows, beyond what every system shares (tests/platform/ProfileFileTest.cpp):
// the read-only attribute refuses a write, also for a process that could write the file (Wine run by
// root ignores the attribute), and the old file stays byte for byte.
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
