// The start-at-login store on Windows: the registry itself, under test keys of our own that are
// removed afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <random>
#include <string>

#include "platform/Registry.h"
#include "settings/uToolsObj.h"

namespace {

using plat::RegRoot;

HKEY Handle(RegRoot root) {
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// A fresh key path under Software, deleted with everything in it at the end, for each root.
class WinRegistryTest : public testing::TestWithParam<RegRoot> {
protected:
    void SetUp() override {
        std::random_device rd;
        path_ = "Software\\ChimewickTest-" + std::to_string(rd()) + "\\Run";
    }
    void TearDown() override {
        ::RegDeleteTreeA(Handle(GetParam()), parent().c_str());
        ::RegDeleteKeyA(Handle(GetParam()), parent().c_str());
    }
    std::string parent() const { return path_.substr(0, path_.rfind('\\')); }
    bool KeyExists() const {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(Handle(GetParam()), path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }
    void PutRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(Handle(GetParam()), path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    std::unique_ptr<plat::Registry> reg_ = plat::CreateSystemRegistry();
    std::string path_;
};

TEST_P(WinRegistryTest, OpenCreatesTheKeyOnlyWhenAsked) {
    EXPECT_FALSE(reg_->OpenKey(GetParam(), path_, false));
    EXPECT_FALSE(KeyExists());
    EXPECT_TRUE(reg_->OpenKey(GetParam(), path_, true));
    EXPECT_TRUE(KeyExists());
    EXPECT_TRUE(reg_->OpenKey(GetParam(), path_, false));
}

TEST_P(WinRegistryTest, WriteReadDeleteRoundTrip) {
    const std::string exe = "C:\\Program Files\\\xb3\xcc\xd0\xf2\\chimewick.exe";  // 程序 in GBK
    EXPECT_FALSE(reg_->ReadValue(GetParam(), path_, "Tovik").Found);
    ASSERT_TRUE(reg_->WriteString(GetParam(), path_, "Tovik", exe));  // creates the key as needed

    const plat::RegistryValue v = reg_->ReadValue(GetParam(), path_, "Tovik");
    EXPECT_TRUE(v.Found);
    EXPECT_TRUE(v.IsString);
    EXPECT_EQ(v.Data, exe + std::string(1, '\0'));  // stored with its terminating NUL
    EXPECT_EQ(TTools::RegReadString(GetParam(), path_, "Tovik"), exe);

    reg_->DeleteValue(GetParam(), path_, "Tovik");
    EXPECT_FALSE(reg_->ReadValue(GetParam(), path_, "Tovik").Found);
    reg_->DeleteValue(GetParam(), path_, "Tovik");  // a missing value is no error
    EXPECT_TRUE(KeyExists());                       // the key itself stays
}

TEST_P(WinRegistryTest, ValueTypes) {
    const char expand[] = "%SystemRoot%\\tovik.exe";
    PutRaw("expand", REG_EXPAND_SZ, expand, sizeof expand);
    const DWORD number = 1;
    PutRaw("dword", REG_DWORD, &number, sizeof number);
    PutRaw("binary", REG_BINARY, "ab", 2);

    // An expandable string is text, given as stored (not expanded).
    EXPECT_EQ(TTools::RegReadString(GetParam(), path_, "expand"), expand);
    for (const char* name : {"dword", "binary"}) {
        const plat::RegistryValue v = reg_->ReadValue(GetParam(), path_, name);
        EXPECT_TRUE(v.Found) << name;
        EXPECT_FALSE(v.IsString) << name;
    }
    EXPECT_FALSE(reg_->ReadValue(GetParam(), path_, "missing").Found);
}

TEST_P(WinRegistryTest, MissingKeyReadsEmptyAndDeleteCreatesNothing) {
    EXPECT_EQ(TTools::RegReadString(GetParam(), path_, "Tovik"), "");
    TTools::RegDelete(GetParam(), path_, "Tovik");
    reg_->DeleteValue(GetParam(), path_, "Tovik");
    EXPECT_FALSE(KeyExists());
}

INSTANTIATE_TEST_SUITE_P(Roots, WinRegistryTest, testing::Values(RegRoot::CurrentUser, RegRoot::LocalMachine),
                         [](const testing::TestParamInfo<RegRoot>& info) {
                             return std::string(info.param == RegRoot::CurrentUser ? "CurrentUser"
                                                                                   : "LocalMachine");
                         });

}  // namespace
