// The settings-file case table against the system's own profile functions (GetPrivateProfileStringA,
// WritePrivateProfileStringA): our reader and writer must give what Windows gives, byte for byte.
// Under Wine a few cases are known to differ from Windows; they say why and are passed over there.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ProfileCases.h"
#include "platform/Profile.h"
#include "support/TempProgramDir.h"
#include "support/TestHost.h"

namespace fs = std::filesystem;
using profilecases::Case;
using profilecases::Op;

namespace profilecases {
void PrintTo(const Case& c, std::ostream* os);
}  // namespace profilecases

namespace {

class ProfileSystem : public testing::TestWithParam<Case> {};

TEST_P(ProfileSystem, AgreesWithTheTable) {
    const Case& c = GetParam();
    if (c.wineDiffers && testhost::UnderWine()) GTEST_SKIP() << c.wineDiffers;
    TempProgramDir dir;
    fs::create_directories(dir.IniDir());
    // A file name of its own per case: the system's profile cache can never serve an old file.
    const fs::path file = dir.IniDir() / (std::string(c.name) + ".ini");
    if (c.file) std::ofstream(file, std::ios::binary) << *c.file;

    if (c.op == Op::Read) {
        std::vector<char> buf(2048);
        const DWORD n =
            ::GetPrivateProfileStringA(c.section.c_str(), c.key.c_str(), c.value.c_str(), buf.data(),
                                       static_cast<DWORD>(buf.size()), file.string().c_str());
        EXPECT_EQ(std::string(buf.data(), n), c.expected);
        EXPECT_EQ(std::string(buf.data(), n), plat::ProfileRead(file.string(), c.section, c.key, c.value));
    } else {
        ASSERT_TRUE(::WritePrivateProfileStringA(c.section.c_str(), c.key.c_str(), c.value.c_str(),
                                                 file.string().c_str()));
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.string().c_str());  // flush the cache
        EXPECT_EQ(TempProgramDir::ReadFile(file), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileSystem, testing::ValuesIn(profilecases::All()),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
