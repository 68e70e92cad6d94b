// The settings-file case table against the in-memory reader/writer and against the settings file on
// disk (the same code on every system). Both must give what the table says. On Windows the table is
// also run against the system's own profile functions (windows/ProfileSystemTest.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ProfileCases.h"
#include "platform/Profile.h"
#include "support/TempProgramDir.h"

namespace fs = std::filesystem;
using profilecases::Case;
using profilecases::Op;

namespace profilecases {
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}
}  // namespace profilecases

namespace {

class ProfileCases : public testing::TestWithParam<Case> {};

TEST_P(ProfileCases, InMemory) {
    const Case& c = GetParam();
    const std::string content = c.file.value_or("");
    if (c.op == Op::Read) {
        EXPECT_EQ(plat::ProfileReadText(content, c.section, c.key, c.value), c.expected);
    } else {
        EXPECT_EQ(plat::ProfileWriteText(content, c.section, c.key, c.value), c.expected);
    }
}

TEST_P(ProfileCases, OnDisk) {
    const Case& c = GetParam();
    TempProgramDir dir;
    fs::create_directories(dir.IniDir());
    // A file name of its own per case: a profile cache keyed by name can never serve an old file.
    const fs::path file = dir.IniDir() / (std::string(c.name) + ".ini");
    if (c.file) std::ofstream(file, std::ios::binary) << *c.file;

    if (c.op == Op::Read) {
        EXPECT_EQ(plat::ProfileRead(file.string(), c.section, c.key, c.value), c.expected);
        EXPECT_EQ(fs::exists(file), c.file.has_value());  // reading never creates the file
        if (c.file) {
            EXPECT_EQ(TempProgramDir::ReadFile(file), *c.file);
        }
    } else {
        plat::ProfileWrite(file.string(), c.section, c.key, c.value);
        EXPECT_EQ(TempProgramDir::ReadFile(file), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileCases, testing::ValuesIn(profilecases::All()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
