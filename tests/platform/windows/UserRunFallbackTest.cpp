// Start at login for a standard user: the machine-wide Run key refused, the user's own taken instead,
// both read and both cleared; against a store that can refuse each root, and against Wine's registry.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "platform/Errors.h"
#include "platform/Registry.h"
#include "platform/windows/UserRunFallback.h"
#include "settings/uToolsObj.h"

namespace {

using plat::RegRoot;
using plat::RunKeyPath;

const AnsiString kExe = "C:\\Program Files\\\xb3\xcc\xd0\xf2\\chimewick.exe";  // 程序 in GBK

// A store with a registry's roots that refuses writes to a root as told (what Windows does to a
// standard user's writes under HKEY_LOCAL_MACHINE).
class RootsRegistry : public plat::Registry {
public:
    bool OpenKey(RegRoot root, const AnsiString& keyPath, bool create) override {
        if (create && !refuse[root]) keys[{root, keyPath}];
        return keys.count({root, keyPath}) > 0;
    }
    plat::RegistryValue ReadValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override {
        const auto key = keys.find({root, keyPath});
        if (key == keys.end()) return {};
        const auto value = key->second.find(name);
        return value == key->second.end() ? plat::RegistryValue{} : value->second;
    }
    bool WriteString(RegRoot root, const AnsiString& keyPath, const AnsiString& name,
                     const AnsiString& data) override {
        if (refuse[root]) return false;
        keys[{root, keyPath}][name] = {true, true, data + '\0'};
        return true;
    }
    void DeleteValue(RegRoot root, const AnsiString& keyPath, const AnsiString& name) override {
        if (refuse[root]) return;  // a delete the system refuses goes by unnoticed, as the program asks
        const auto key = keys.find({root, keyPath});
        if (key != keys.end()) key->second.erase(name);
    }

    bool Has(RegRoot root, const AnsiString& name, const AnsiString& keyPath = RunKeyPath) const {
        const auto key = keys.find({root, keyPath});
        return key != keys.end() && key->second.count(name) > 0;
    }
    void Put(RegRoot root, const AnsiString& name, const AnsiString& data) {
        keys[{root, RunKeyPath}][name] = {true, true, data + '\0'};
    }

    std::map<RegRoot, bool> refuse;
    std::map<std::pair<RegRoot, AnsiString>, std::map<AnsiString, plat::RegistryValue>> keys;
};

// The fallback over such a store, installed as the program's store for the test.
class UserRunFallbackTest : public testing::Test {
protected:
    UserRunFallbackTest() {
        auto base = std::make_unique<RootsRegistry>();
        roots_ = base.get();
        // Both Run keys exist on every Windows system.
        roots_->keys[{RegRoot::LocalMachine, RunKeyPath}];
        roots_->keys[{RegRoot::CurrentUser, RunKeyPath}];
        store_ = std::make_unique<plat::UserRunFallback>(std::move(base));
        plat::SetRegistry(store_.get());
    }
    ~UserRunFallbackTest() override { plat::SetRegistry(nullptr); }

    static AnsiString Read() { return TTools::RegReadString(RegRoot::LocalMachine, RunKeyPath, "Tovik"); }
    static void Write() { TTools::RegWriteString(RegRoot::LocalMachine, RunKeyPath, "Tovik", kExe); }
    static void Delete() { TTools::RegDelete(RegRoot::LocalMachine, RunKeyPath, "Tovik"); }

    RootsRegistry* roots_ = nullptr;
    std::unique_ptr<plat::UserRunFallback> store_;
};

TEST_F(UserRunFallbackTest, AnAdministratorWritesTheMachineKeyAndNoUserCopyStays) {
    roots_->Put(RegRoot::CurrentUser, "Tovik", "C:\\old\\chimewick.exe");  // left by a standard-user save
    Write();
    EXPECT_TRUE(roots_->Has(RegRoot::LocalMachine, "Tovik"));
    // A second entry would start the program twice at login.
    EXPECT_FALSE(roots_->Has(RegRoot::CurrentUser, "Tovik"));
    EXPECT_EQ(Read(), kExe);
}

TEST_F(UserRunFallbackTest, AStandardUserGetsTheEntryInTheUserKey) {
    roots_->refuse[RegRoot::LocalMachine] = true;
    EXPECT_NO_THROW(Write());
    EXPECT_FALSE(roots_->Has(RegRoot::LocalMachine, "Tovik"));
    EXPECT_TRUE(roots_->Has(RegRoot::CurrentUser, "Tovik"));
    // What the start-at-login box shows after a restart: the entry that was written.
    EXPECT_EQ(Read(), kExe);
}

TEST_F(UserRunFallbackTest, AWriteRefusedEverywhereIsReportedAndLeavesNothing) {
    roots_->refuse[RegRoot::LocalMachine] = true;
    roots_->refuse[RegRoot::CurrentUser] = true;
    EXPECT_FALSE(store_->WriteString(RegRoot::LocalMachine, RunKeyPath, "Tovik", kExe));
    try {
        Write();
        FAIL() << "a refused write was reported as success";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Tovik'");
    }
    EXPECT_FALSE(roots_->Has(RegRoot::LocalMachine, "Tovik"));
    EXPECT_FALSE(roots_->Has(RegRoot::CurrentUser, "Tovik"));
    EXPECT_EQ(Read(), "");
}

TEST_F(UserRunFallbackTest, ReadsTheUserKeyFirstThenTheMachineKey) {
    struct Row {
        const char* what;
        const char* machine;  // null: no value there
        const char* user;
        const char* read;
    };
    const Row rows[] = {
        {"neither", nullptr, nullptr, ""},
        {"machine only", "C:\\m.exe", nullptr, "C:\\m.exe"},
        {"user only", nullptr, "C:\\u.exe", "C:\\u.exe"},
        // Only a refused machine-wide write puts a value in the user's key, so that one is newer.
        {"both", "C:\\m.exe", "C:\\u.exe", "C:\\u.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
            roots_->keys[{root, RunKeyPath}].erase("Tovik");
        if (row.machine) roots_->Put(RegRoot::LocalMachine, "Tovik", row.machine);
        if (row.user) roots_->Put(RegRoot::CurrentUser, "Tovik", row.user);
        EXPECT_EQ(Read(), row.read);
    }
}

TEST_F(UserRunFallbackTest, ClearingDeletesFromBothKeys) {
    roots_->Put(RegRoot::LocalMachine, "Tovik", kExe);
    roots_->Put(RegRoot::CurrentUser, "Tovik", kExe);
    roots_->Put(RegRoot::CurrentUser, "Other", "C:\\other.exe");
    Delete();
    EXPECT_FALSE(roots_->Has(RegRoot::LocalMachine, "Tovik"));
    EXPECT_FALSE(roots_->Has(RegRoot::CurrentUser, "Tovik"));
    EXPECT_TRUE(roots_->Has(RegRoot::CurrentUser, "Other"));  // other programs' entries stay
    EXPECT_EQ(Read(), "");
    EXPECT_NO_THROW(Delete());  // nothing left to delete
}

TEST_F(UserRunFallbackTest, OnlyTheMachineRunKeyFallsBack) {
    roots_->refuse[RegRoot::LocalMachine] = true;
    const AnsiString other = "SOFTWARE\\Chimewick";
    EXPECT_FALSE(store_->WriteString(RegRoot::LocalMachine, other, "Tovik", kExe));
    EXPECT_FALSE(roots_->Has(RegRoot::CurrentUser, "Tovik", other));
    // The registry compares key names without case; so does the fallback.
    EXPECT_TRUE(store_->WriteString(RegRoot::LocalMachine,
                                    "software\\microsoft\\windows\\currentversion\\RUN", "Tovik", kExe));
    EXPECT_TRUE(plat::UserRunFallback::IsMachineRunKey(RegRoot::LocalMachine,
                                                       "Software\\Microsoft\\Windows\\"
                                                       "CurrentVersion\\Run"));
    EXPECT_FALSE(plat::UserRunFallback::IsMachineRunKey(RegRoot::CurrentUser, RunKeyPath));
    EXPECT_FALSE(
        plat::UserRunFallback::IsMachineRunKey(RegRoot::LocalMachine, AnsiString(RunKeyPath) + "Once"));
}

// The program's own store on Wine's registry, which lets every write through: the machine key takes
// the value and a user copy is removed. A value name of the test's own keeps the real entry alone.
TEST(UserRunFallbackRegistry, TheProgramsStoreWritesTheMachineKeyAndClearsBoth) {
    std::random_device rd;
    const AnsiString name = "ChimewickTest-" + std::to_string(rd());
    const std::unique_ptr<plat::Registry> raw = plat::CreateRawSystemRegistry();
    const std::unique_ptr<plat::Registry> store = plat::CreateSystemRegistry();
    ASSERT_TRUE(raw->WriteString(RegRoot::CurrentUser, RunKeyPath, name, "C:\\old.exe"));

    ASSERT_TRUE(store->WriteString(RegRoot::LocalMachine, RunKeyPath, name, kExe));
    const plat::RegistryValue machine = raw->ReadValue(RegRoot::LocalMachine, RunKeyPath, name);
    EXPECT_TRUE(machine.Found);
    EXPECT_EQ(machine.Data, kExe + '\0');
    EXPECT_FALSE(raw->ReadValue(RegRoot::CurrentUser, RunKeyPath, name).Found);

    ASSERT_TRUE(raw->WriteString(RegRoot::CurrentUser, RunKeyPath, name, kExe));
    store->DeleteValue(RegRoot::LocalMachine, RunKeyPath, name);
    EXPECT_FALSE(raw->ReadValue(RegRoot::LocalMachine, RunKeyPath, name).Found);
    EXPECT_FALSE(raw->ReadValue(RegRoot::CurrentUser, RunKeyPath, name).Found);
}

}  // namespace
