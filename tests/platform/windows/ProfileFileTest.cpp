// The settings file through the system's profile functions: reading never creates anything, the
// first write creates the file but not its folder, and a write that cannot happen raises with the
// file's path.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/Errors.h"
#include "platform/Profile.h"
#include "support/TempProgramDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kFixture = std::string(CHIMEWICK_FIXTURES) + "/platform/Tovik-mixed.ini";

std::string WriteErrorOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const EIniFileException& e) {
        return e.Message();
    }
    return "<no error>";
}

class ProfileFileTest : public testing::Test {
protected:
    TempProgramDir dir_;
    fs::path ini_ = dir_.IniFile();
    std::string path_ = ini_.string();
};

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
    const std::string original = TempProgramDir::ReadFile(kFixture);
    ASSERT_FALSE(original.empty()) << kFixture;
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
