// Settings saves of the Windows program under a kill and on a full disk.
//
// Kill: a child copy of this test program saves the settings as the dialog does (every key through
// TTools::WriteIni inside one batch), back and forth between two versions, until it is killed with
// TerminateProcess (under Wine: SIGKILL). Half of the kills land at the save's first writes (as soon
// as the new bytes are on their way to the disk), the others at a random moment. After every kill the
// file holds the old settings or the new ones, byte for byte, with the user's own sections; at most one
// temporary file is left beside it, and the next save clears it.
//
// Full disk: run with CHIMEWICK_TEST_FILE_LIMIT set, in a process whose files may not grow beyond that
// many bytes (scripts/test-windows sets RLIMIT_FSIZE and ignores SIGXFSZ, so a write that would cross
// it fails as on a full disk): the save fails with its message and the old file stays as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/ExePath.h"
#include "platform/Profile.h"
#include "settings/uToolsObj.h"
#include "support/TempProgramDir.h"

namespace fs = std::filesystem;

namespace {

// The program folder the child saves into; set only in the child's environment.
constexpr const char* kSaveLoopVar = "CHIMEWICK_TEST_SAVE_LOOP";

struct SaveKey {
    const char* section;
    const char* key;
};
const std::vector<SaveKey>& DialogSaveKeys() {
    static const std::vector<SaveKey> keys = {
        {"XHBX", "startXHBJ"},      {"XHBX", "xhzq"},
        {"XHBX", "startDSBJ"},      {"XHBX", "OnTime"},
        {"XHBX", "OnTimeTxnr"},     {"XHBX", "startDSBJ2"},
        {"XHBX", "OnTime2"},        {"XHBX", "OnTimeTxnr2"},
        {"XHBX", "startDSBJ3"},     {"XHBX", "OnTime3"},
        {"XHBX", "OnTimeTxnr3"},    {"XHBX", "txnr"},
        {"XHBX", "startXHBJFlash"}, {"XHBX", "XHBXFlashSetByUser"},
        {"XHBX", "XHBXFlashWord"},  {"XHBX", "flashLonger"},
        {"XTSZ", "NotFirstStart"},  {"XTSZ", "BJTP"},
    };
    return keys;
}

std::string SaveValue(std::size_t keyIndex, int version) {
    // Of different lengths, so a file mixed from the two versions matches neither.
    return version == 0 ? "old" + std::to_string(keyIndex) : std::string(200 + keyIndex, 'n');
}

// A settings file with the user's own sections around ours, GBK text and some size, so a save takes
// long enough for kills to land inside it.
std::string BaseFile() {
    std::string text = "; Chimewick settings\r\n[Mine]\r\nnote=\xd6\xf7\xc8\xcb\r\n[XHBX]\r\nxhzq=120\r\n";
    for (int i = 0; i < 400; ++i) text += "; padding line " + std::to_string(i) + " of the settings file\r\n";
    text += "[XTSZ]\r\nWarnNums=0\r\n[XHBX1]\r\ntxnr=mine\r\n";
    return text;
}

std::string Version(int v) {
    std::string text = BaseFile();
    for (std::size_t i = 0; i < DialogSaveKeys().size(); ++i)
        text = plat::ProfileWriteText(text, DialogSaveKeys()[i].section, DialogSaveKeys()[i].key,
                                      SaveValue(i, v));
    return text;
}

void DialogSave(int version) {
    plat::ProfileWriteBatch save;
    for (std::size_t i = 0; i < DialogSaveKeys().size(); ++i)
        TTools::WriteIni(DialogSaveKeys()[i].section, DialogSaveKeys()[i].key, SaveValue(i, version));
    save.Commit();
}

std::vector<std::string> OtherFiles(const fs::path& iniDir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(iniDir))
        if (entry.path().filename() != "Tovik.ini") names.push_back(entry.path().filename().string());
    return names;
}

// The new settings are on their way to the disk: a temporary file of the save has bytes in it, or
// the settings file itself has changed size (a writer that rewrites it in place has begun).
bool NewBytesUnderWay(const fs::path& iniDir, std::uintmax_t sizeBefore) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(iniDir, ec)) {
        const std::uintmax_t size = entry.file_size(ec);
        if (ec) continue;
        if (entry.path().filename() == "Tovik.ini" ? size != sizeBefore : size > 0) return true;
    }
    return false;
}

// The child's side: saves back and forth until it is killed. Exits 3 when it finds mixed settings.
TEST(ProfileKill, SaveLoop) {
    const char* folder = std::getenv(kSaveLoopVar);
    if (!folder) GTEST_SKIP() << "the saving child of KilledSaveLeavesOldOrNewSettings";
    plat::SetExecutablePathOverride(std::string(folder) + "\\chimewick.exe");
    const std::string onDisk = TempProgramDir::ReadFile(fs::path(folder) / "Ini" / "Tovik.ini");
    int version = onDisk == Version(0) ? 0 : onDisk == Version(1) ? 1 : -1;
    if (version < 0) ::ExitProcess(3);
    for (;;) DialogSave(version = 1 - version);
}

TEST(ProfileKill, KilledSaveLeavesOldOrNewSettings) {
    if (std::getenv(kSaveLoopVar)) GTEST_SKIP() << "inside the saving child";
    TempProgramDir dir;
    const std::string versions[2] = {Version(0), Version(1)};
    dir.WriteIni(versions[0]);
    wchar_t self[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=ProfileKill.SaveLoop";

    constexpr unsigned kSeed = 20240613;
    constexpr int kKills = 40;
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> spin(0, 20000);
    int seen[2] = {0, 0};
    int midSave = 0;
    for (int i = 0; i < kKills; ++i) {
        ::SetEnvironmentVariableA(kSaveLoopVar, dir.ProgramDir().string().c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        const BOOL started = ::CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                              nullptr, nullptr, &startup, &child);
        ::SetEnvironmentVariableA(kSaveLoopVar, nullptr);
        ASSERT_TRUE(started) << ::GetLastError();
        // Even kills: at the first writes of a save. Odd kills: once a save has landed (the file's size
        // changed), after a random number of looks, which spreads them over the saves that follow.
        const bool atFirstWrites = i % 2 == 0;
        const std::uintmax_t sizeBefore = fs::file_size(dir.IniFile());
        int looks = spin(random);
        const DWORD begun = ::GetTickCount();
        DWORD exitCode = STILL_ACTIVE;
        for (;;) {
            if (::WaitForSingleObject(child.hProcess, 0) == WAIT_OBJECT_0) {
                ::GetExitCodeProcess(child.hProcess, &exitCode);
                break;
            }
            std::error_code ec;
            if (atFirstWrites ? NewBytesUnderWay(dir.IniDir(), sizeBefore)
                              : (fs::file_size(dir.IniFile(), ec) != sizeBefore || ec) && --looks <= 0)
                break;
            if (::GetTickCount() - begun > 60000u) break;
            ::SwitchToThread();
        }
        const bool slow = ::GetTickCount() - begun > 60000u;
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);
        ASSERT_FALSE(slow) << "kill " << i << ": the child did not begin to save within a minute";
        ASSERT_EQ(exitCode, STILL_ACTIVE) << "kill " << i << " (seed " << kSeed
                                          << "): the child ended by itself (3: it found mixed settings)";

        const std::string onDisk = dir.ReadIni();
        ASSERT_TRUE(onDisk == versions[0] || onDisk == versions[1])
            << "kill " << i << " (seed " << kSeed << "): the settings file holds neither the old nor the new "
            << "settings (" << onDisk.size() << " bytes; exists " << fs::exists(dir.IniFile()) << ", size "
            << (fs::exists(dir.IniFile()) ? fs::file_size(dir.IniFile()) : 0) << ", beside it "
            << OtherFiles(dir.IniDir()).size() << ")";
        ++seen[onDisk == versions[0] ? 0 : 1];
        const std::vector<std::string> others = OtherFiles(dir.IniDir());
        ASSERT_LE(others.size(), 1u) << "kill " << i << ": temporary files pile up: " << others[0] << " "
                                     << others[1];
        if (!others.empty()) ++midSave;
    }
    std::printf("%d of %d kills landed inside a save\n", midSave, kKills);
    EXPECT_GT(midSave, 0);  // some kills did land inside a save
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);

    // The next save clears what a killed writer left behind.
    plat::SetExecutablePathOverride(dir.ExePath());
    const int now = dir.ReadIni() == versions[0] ? 0 : 1;
    DialogSave(1 - now);
    EXPECT_EQ(dir.ReadIni(), versions[1 - now]);
    EXPECT_TRUE(OtherFiles(dir.IniDir()).empty());
}

// A 20 KiB settings file and a save that would make it cross the process's file size limit.
TEST(ProfileFullDisk, FailedSaveKeepsTheOldFile) {
    const char* limitText = std::getenv("CHIMEWICK_TEST_FILE_LIMIT");
    if (!limitText) GTEST_SKIP() << "run by scripts/test-windows with a file size limit";
    const std::size_t limit = std::strtoul(limitText, nullptr, 10);
    TempProgramDir dir;
    std::string before = BaseFile();
    while (before.size() < limit - 1024) before += "; more of the user's own notes\r\n";
    dir.WriteIni(before);
    const std::string path = dir.IniFile().string();

    std::string error = "<no error>";
    try {
        plat::ProfileWriteBatch save;
        TTools::WriteIni("XHBX", "xhzq", "30");
        TTools::WriteIni("XHBX", "txnr", std::string(2047, 'x'));
        save.Commit();
    } catch (const EIniFileException& e) {
        error = e.Message();
    }
    EXPECT_EQ(error, "Unable to write to " + path);
    EXPECT_EQ(dir.ReadIni(), before);
    EXPECT_TRUE(OtherFiles(dir.IniDir()).empty());
    // A save that fits goes through.
    TTools::WriteIni("XHBX", "xhzq", "45");
    EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", ""), "45");
}

}  // namespace
