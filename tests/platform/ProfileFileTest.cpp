// The settings file on disk, on every system: reading never creates anything, the first write creates
// the file but not its folder, and a write that cannot happen raises with the file's path.
#include <filesystem>
#include <stdexcept>

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

// Inside a batch every read sees the writes made so far, as if each had landed, and after the batch
// the file holds them all; the rest of the file is kept.
TEST_F(ProfileFileTest, BatchedWritesReadBackAndLandTogether) {
    dir_.WriteIni("; mine\r\n[XHBX]\r\nxhzq=45\r\n");
    {
        plat::ProfileWriteBatch save;
        plat::ProfileWrite(path_, "XHBX", "xhzq", "60");
        EXPECT_EQ(plat::ProfileRead(path_, "XHBX", "xhzq", "d"), "60");
        plat::ProfileWrite(path_, "XTSZ", "NotFirstStart", "1");
        plat::ProfileWrite(path_, "XHBX", "xhzq", "90");
        EXPECT_EQ(plat::ProfileRead(path_, "xhbx", "XHZQ", "d"), "90");
        EXPECT_EQ(plat::ProfileRead(path_, "XTSZ", "NotFirstStart", "d"), "1");
        {
            plat::ProfileWriteBatch inner;  // joins the open batch
            plat::ProfileWrite(path_, "XTSZ", "BJTP", "a.bmp");
            inner.Commit();
        }
        save.Commit();
    }
    EXPECT_EQ(TempProgramDir::ReadFile(ini_),
              "; mine\r\n[XHBX]\r\nxhzq=90\r\n[XTSZ]\r\nNotFirstStart=1\r\nBJTP=a.bmp\r\n");
}

// A batch that an error ends before its Commit keeps what was written before the error, as single
// writes would have.
TEST_F(ProfileFileTest, BatchEndedByAnErrorKeepsEarlierWrites) {
    fs::create_directory(dir_.IniDir());
    try {
        plat::ProfileWriteBatch save;
        plat::ProfileWrite(path_, "XHBX", "xhzq", "30");
        throw std::runtime_error("the save stops here");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(TempProgramDir::ReadFile(ini_), "[XHBX]\r\nxhzq=30\r\n");
}

// A file that cannot be written fails the first write of a batch, before anything else of the save
// happens.
TEST_F(ProfileFileTest, BatchRefusesAtTheFirstWrite) {
    fs::create_directories(ini_);
    plat::ProfileWriteBatch save;
    EXPECT_EQ(WriteErrorOf([&] { plat::ProfileWrite(path_, "S", "k", "v"); }), "Unable to write to " + path_);
    save.Commit();
    EXPECT_TRUE(fs::is_directory(ini_));
}

}  // namespace
