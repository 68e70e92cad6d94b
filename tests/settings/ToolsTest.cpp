// TTools: the settings folder and file, the executable's location, the question box and the
// start-at-login store (the system's own, and a fake for the failures).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "FakeRegistry.h"
#include "Raises.h"
#include "platform/Errors.h"
#include "platform/ExePath.h"
#include "platform/Gbk.h"
#include "settings/uStrings.h"
#include "settings/uToolsObj.h"
#include "support/ScriptedBoxes.h"
#include "support/TempProgramDir.h"
#include "support/TestHost.h"

namespace fs = std::filesystem;

TEST(ToolsPaths, AppPathIsTheExecutablesFolderWithSeparator) {
    TempProgramDir tmp("chime wick");
    EXPECT_EQ(TTools::GetExeName(), tmp.ExePath());
    EXPECT_EQ(TTools::GetAppPath(), tmp.ProgramDir().string() + plat::PathSeparator());
    EXPECT_EQ(TTools::IniFileName(), tmp.IniFile().string());
}

TEST(ToolsForceDir, CreatesOneLevelOrRaisesWithTheSystemCode) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& dir)> setup;
        std::string dir;  // relative to the program folder; a trailing separator as WriteIni passes it
        int error;        // 0: success
    };
    const Case cases[] = {
        {"missing folder is created", [](const fs::path&) {}, "Ini/", 0},
        {"existing folder is kept with its contents",
         [](const fs::path& d) {
             fs::create_directory(d);
             std::ofstream(d / "keep.txt") << "x";
         },
         "Ini/", 0},
        {"parent missing: one level only", [](const fs::path&) {}, "a/Ini/", ENOENT},
        {"plain file in the way", [](const fs::path& d) { std::ofstream(d.parent_path() / "Ini") << "f"; },
         "Ini/", EEXIST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramDir tmp;
        const fs::path dir = tmp.ProgramDir() / fs::path(c.dir).parent_path();
        c.setup(dir);
        const std::string arg = (tmp.ProgramDir() / c.dir).string();
        if (c.error == 0) {
            TTools::ForceDir(arg);
            EXPECT_TRUE(fs::is_directory(dir));
            if (fs::exists(dir / "keep.txt")) {
                EXPECT_EQ(TempProgramDir::ReadFile(dir / "keep.txt"), "x");
            }
        } else {
            auto e = Raised<EInOutError>([&] { TTools::ForceDir(arg); });
            ASSERT_TRUE(e);
            EXPECT_EQ(e->Message(), std::strerror(c.error));
            EXPECT_EQ(e->ErrorCode, c.error);
            EXPECT_FALSE(fs::is_directory(dir));
        }
    }
}

TEST(ToolsIni, FirstWriteCreatesFolderAndFile) {
    TempProgramDir tmp;
    TTools::WriteIni("XHBX", "xhzq", "30");
    EXPECT_EQ(tmp.ReadIni(), "[XHBX]\r\nxhzq=30\r\n");
    EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", "120"), "30");
}

TEST(ToolsIni, LaterWritesChangeOneLineAndKeepEveryOtherByte) {
    if (testhost::UnderWine()) GTEST_SKIP() << "Wine's profile writer drops blank lines and appends new keys";
    TempProgramDir tmp;
    tmp.WriteIni(
        "; written by hand\r\n"
        "[XTSZ]\r\n"
        "BJTP=/pics/a.bmp\r\n"
        "\r\n"
        "[XHBX]\r\n"
        "XHZQ=30\r\n"
        "; trailing comment\r\n");
    TTools::WriteIni("xhbx", "xhzq", "45");  // existing key: replaced in place, its spelling kept
    TTools::WriteIni("XHBX", "txnr", "hi");  // new key: after the last key of its section
    TTools::WriteIni("Other", "k", "v");     // new section: at the end
    EXPECT_EQ(tmp.ReadIni(),
              "; written by hand\r\n"
              "[XTSZ]\r\n"
              "BJTP=/pics/a.bmp\r\n"
              "\r\n"
              "[XHBX]\r\n"
              "XHZQ=45\r\n"
              "txnr=hi\r\n"
              "; trailing comment\r\n"
              "[Other]\r\n"
              "k=v\r\n");
}

TEST(ToolsIni, TextIsWrittenAsGbkWithCrLf) {
    TempProgramDir tmp;
    const AnsiString text = Texts::Gbk("主人");
    ASSERT_EQ(text, "\xD6\xF7\xC8\xCB");
    TTools::WriteIni("XHBX", "txnr", text);
    EXPECT_EQ(tmp.ReadIni(), "[XHBX]\r\ntxnr=\xD6\xF7\xC8\xCB\r\n");
    EXPECT_EQ(TTools::ReadIni("XHBX", "txnr", ""), text);
}

TEST(ToolsIni, ReadingNeverCreatesFolderOrFile) {
    TempProgramDir tmp;
    EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", "120"), "120");
    EXPECT_FALSE(fs::exists(tmp.IniDir()));
    tmp.WriteIni("");
    fs::remove(tmp.IniFile());
    EXPECT_EQ(TTools::ReadIni("XHBX", "xhzq", "120"), "120");
    EXPECT_FALSE(fs::exists(tmp.IniFile()));
}

TEST(ToolsIni, PlainFileNamedIniStopsTheWrite) {
    TempProgramDir tmp;
    std::ofstream(tmp.ProgramDir() / "Ini") << "not a folder";
    auto e = Raised<EInOutError>([] { TTools::WriteIni("XHBX", "xhzq", "30"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), std::strerror(EEXIST));
    EXPECT_EQ(e->ErrorCode, EEXIST);
    EXPECT_EQ(TempProgramDir::ReadFile(tmp.ProgramDir() / "Ini"), "not a folder");
}

TEST(ToolsIni, UnwritableFileReportsItsPath) {
    TempProgramDir tmp;
    // Something that is not a file stands where the settings file goes: no user can write it.
    fs::create_directories(tmp.IniFile());
    auto e = Raised<EIniFileException>([] { TTools::WriteIni("XHBX", "xhzq", "30"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "Unable to write to " + tmp.IniFile().string());
    EXPECT_TRUE(fs::is_directory(tmp.IniFile()));
}

TEST(ToolsIni, ReadOnlyIniFolderReportsTheFilesPath) {
    TempProgramDir tmp;
    tmp.WriteIni("[XHBX]\r\nxhzq=30\r\n");
    fs::permissions(tmp.IniDir(), fs::perms::owner_read | fs::perms::owner_exec);
    const fs::path probe = tmp.IniDir() / "probe";
    if (std::ofstream(probe)) {
        fs::remove(probe);
        GTEST_SKIP() << "this user can write a read-only folder";
    }
    auto e = Raised<EIniFileException>([] { TTools::WriteIni("XHBX", "xhzq", "45"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "Unable to write to " + tmp.IniFile().string());
    EXPECT_EQ(tmp.ReadIni(), "[XHBX]\r\nxhzq=30\r\n");
}

TEST(ToolsConfirm, AsksWithCaptionAndStyleAndMapsTheAnswer) {
    struct Case {
        int button;
        int result;
    };
    // Anything but OK (Cancel, the box closed some other way) counts as Cancel.
    for (const Case c : {Case{plat::BoxOk, 1}, Case{plat::BoxCancel, 2}, Case{0, 2}, Case{7, 2}}) {
        SCOPED_TRACE(c.button);
        ScriptedBoxes boxes({c.button});
        EXPECT_EQ(TTools::Confirm("question?"), c.result);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].Text, "question?");
        EXPECT_EQ(boxes.shown[0].Caption, "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE");  // 系统提示
        EXPECT_EQ(boxes.shown[0].Kind, plat::TBoxKind::Question);
    }
}

TEST(ToolsRegistry, AutostartEntryRoundTripWithSpacesInThePath) {
    TempProgramDir tmp;
    const AnsiString exe = (tmp.ProgramDir() / "my programs" / "chime wick").string();
    using plat::RegRoot;
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik"), "");
    TTools::RegWriteString(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik", exe);
    // The value is in the system's own store, where a fresh store object finds it (the registry keeps
    // the text's terminating NUL with it).
    const plat::RegistryValue stored =
        plat::CreateSystemRegistry()->ReadValue(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik");
    EXPECT_TRUE(stored.IsString);
    EXPECT_EQ(std::string(stored.Data.c_str()), exe);
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik"), exe);

    TTools::RegDelete(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik");
    EXPECT_FALSE(
        plat::CreateSystemRegistry()->ReadValue(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik").Found);
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik"), "");
    // Deleting what is not there is no error and changes nothing.
    TTools::RegDelete(RegRoot::LocalMachine, plat::RunKeyPath, "Tovik");
}

TEST(ToolsRegistry, ReadGivesTextUpToTheFirstNulAndEmptyWhenMissing) {
    FakeRegistry reg;
    using plat::RegRoot;
    // The key cannot be opened: empty text, and no value is read.
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, "Some\\Key", "Tovik"), "");
    EXPECT_EQ(reg.calls, (std::vector<std::string>{"open Some\\Key"}));

    reg.Put("Some\\Key", "Tovik", {true, true, std::string("/opt/a b\0junk", 13)});
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, "Some\\Key", "Tovik"), "/opt/a b");
    EXPECT_EQ(TTools::RegReadString(RegRoot::LocalMachine, "Some\\Key", "Other"), "");
}

TEST(ToolsRegistry, NonStringValueIsAnError) {
    FakeRegistry reg;
    reg.Put(plat::RunKeyPath, "Tovik", {true, false, "\x01\x00\x00\x00"});
    auto e = Raised<ERegistryException>(
        [] { TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, "Tovik"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "Invalid data type for 'Tovik'");
}

TEST(ToolsRegistry, FailingWriteRaisesWithTheValueName) {
    FakeRegistry reg;
    reg.refuseOpen = true;
    reg.refuseWrite = true;
    auto e = Raised<ERegistryException>(
        [] { TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, "Tovik", "/x"); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), "Failed to set data for 'Tovik'");
    EXPECT_EQ(reg.calls,
              (std::vector<std::string>{std::string("create ") + plat::RunKeyPath, "write Tovik"}));
}

TEST(ToolsRegistry, DeleteTouchesNothingWhenTheKeyCannotBeOpened) {
    FakeRegistry reg;
    reg.Put("K", "Tovik", {true, true, "/x"});
    reg.refuseOpen = true;
    TTools::RegDelete(plat::RegRoot::LocalMachine, "K", "Tovik");
    EXPECT_EQ(reg.calls, (std::vector<std::string>{"open K"}));
    EXPECT_EQ(reg.keys["K"].count("Tovik"), 1u);
}
