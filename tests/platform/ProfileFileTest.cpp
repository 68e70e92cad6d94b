// The settings file on disk, on every system: reading never creates anything, the first write creates
// the file but not its folder, and a write that cannot happen raises with the file's path.
#include <filesystem>

#include "ProfileFileFixture.h"
#include "platform/Profile.h"

namespace fs = std::filesystem;

namespace {

TEST_F(ProfileFileTest, MissingFileGivesDefaultAndCreatesNothing) {
    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "xhzq", "120  "), "120");
    EXPECT_FALSE(fs::exists(dir_.IniDir()));
}

TEST_F(ProfileFileTest, FirstWriteCreatesFileButNotFolder) {
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "XHBX", "xhzq", "30"); }),
              "Unable to write to " + path_);
    EXPECT_FALSE(fs::exists(dir_.IniDir()));

    fs::create_directory(dir_.IniDir());
    plat::ProfileWrite(path_, "XHBX", "xhzq", "30");
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), "[XHBX]\r\nxhzq=30\r\n");
    EXPECT_EQ(plat::ProfileRead(path_, "xhbx", "XHZQ", "120"), "30");
}

TEST_F(ProfileFileTest, ReadsARealFile) {
    const std::string original = TempProgramDir::ReadFile(kMixedIniFixture);
    ASSERT_FALSE(original.empty()) << kMixedIniFixture;
    dir_.WriteIni(original);
    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "xhzq", ""), "45");
    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "OnTime", ""), "12:30");
    EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "OnTimeTxnr", ""),
              "\xb8\xc3\xd7\xbc\xb1\xb8\xb3\xd4\xce\xe7\xb7\xb9\xc1\xcb\xa3\xa1");
    EXPECT_EQ(plat::ProfileRead(path_, "XTSZ", "BJTP", ""), "C:\\\xcd\xbc\xc6\xac\\\xb1\xb3\xbe\xb0.bmp");
    EXPECT_EQ(plat::ProfileRead(path_, "XTSZ", "WarnNums", ""), "0");
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), original);
}

TEST_F(ProfileFileTest, DirectoryInPlaceOfFile) {
    fs::create_directories(ini_);
    EXPECT_EQ(plat::ProfileRead(path_, "S", "k", "def "), "def");
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "v"); }), "Unable to write to " + path_);
    EXPECT_TRUE(fs::is_directory(ini_));
    EXPECT_TRUE(fs::is_empty(ini_));
}

}  // namespace
