// Start-at-login entries as XDG autostart desktop files: the Run key is the autostart folder, each
// value a desktop entry whose Exec starts the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Log.h"
#include "platform/Registry.h"
#include "support/TempProgramDir.h"

namespace fs = std::filesystem;

namespace {

constexpr plat::RegRoot kRoot = plat::RegRoot::LocalMachine;

class XdgAutostartTest : public testing::Test {
protected:
    TempProgramDir dir_;
    std::unique_ptr<plat::Registry> reg_ = plat::CreateSystemRegistry();
    fs::path Entry(const std::string& name) const { return dir_.AutostartDir() / (name + ".desktop"); }
    void PutEntry(const std::string& name, const std::string& text) {
        fs::create_directories(dir_.AutostartDir());
        std::ofstream(Entry(name), std::ios::binary) << text;
    }
};

TEST_F(XdgAutostartTest, OpenKeyCreatesTheFolderOnlyWhenAsked) {
    EXPECT_FALSE(reg_->OpenKey(kRoot, plat::RunKeyPath, false));
    EXPECT_FALSE(fs::exists(dir_.AutostartDir()));
    EXPECT_TRUE(reg_->OpenKey(kRoot, plat::RunKeyPath, true));
    EXPECT_TRUE(fs::is_directory(dir_.AutostartDir()));
    EXPECT_TRUE(reg_->OpenKey(plat::RegRoot::CurrentUser, "software\\MICROSOFT\\windows\\CurrentVersion\\run",
                              false));
}

TEST_F(XdgAutostartTest, WriteReadDeleteRoundTrip) {
    const std::string exe = dir_.ExePath();
    EXPECT_FALSE(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Found);
    ASSERT_TRUE(reg_->OpenKey(kRoot, plat::RunKeyPath, true));
    ASSERT_TRUE(reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", exe));
    // A desktop's list of programs started at login shows it with the program's name and icon.
    EXPECT_EQ(
        TempProgramDir::ReadFile(Entry("Tovik")),
        "[Desktop Entry]\nType=Application\nName=Chimewick\nName[zh_CN]=定时提醒\nIcon=chimewick\nExec=\"" +
            exe + "\"\nX-GNOME-Autostart-enabled=true\n");

    plat::RegistryValue v = reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik");
    EXPECT_TRUE(v.Found);
    EXPECT_TRUE(v.IsString);
    EXPECT_EQ(v.Data, exe);
    EXPECT_EQ(fs::directory_iterator(dir_.AutostartDir())->path().filename(),
              "Tovik.desktop");  // no temp left

    reg_->DeleteValue(kRoot, plat::RunKeyPath, "Tovik");
    EXPECT_FALSE(fs::exists(Entry("Tovik")));
    EXPECT_FALSE(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Found);
    reg_->DeleteValue(kRoot, plat::RunKeyPath, "Tovik");  // a missing value is no error
}

TEST_F(XdgAutostartTest, AwkwardPathsRoundTrip) {
    const std::string paths[] = {
        "/opt/my programs/chime wick", "/opt/\"quoted\"/it's",     "/opt/back\\slash\\",
        "/opt/$HOME/`date`/50%/%U",    "/opt/tab\there/new\nline", "/opt/\xe4\xb8\xad\xe6\x96\x87/exe",
    };
    for (const std::string& p : paths) {
        ASSERT_TRUE(reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", p)) << p;
        EXPECT_EQ(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Data, p);
    }
    // The Exec line is what the Desktop Entry rules ask for: quoted, with escapes doubled.
    reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", "/a b/\"q\"/c\\d/$x/`y`/50%");
    const std::string text = TempProgramDir::ReadFile(Entry("Tovik"));
    EXPECT_NE(text.find("\nExec=\"/a b/\\\\\"q\\\\\"/c\\\\\\\\d/\\\\$x/\\\\`y\\\\`/50%%\"\n"),
              std::string::npos)
        << text;
}

TEST_F(XdgAutostartTest, EntriesWrittenByOthers) {
    struct Case {
        const char* text;
        bool found;
        const char* data;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=/usr/bin/tovik\n", true, "/usr/bin/tovik"},
        {"[Desktop Entry]\r\nExec = \"/usr/bin/to vik\"\r\n", true, "/usr/bin/to vik"},
        {"[Desktop Entry]\nExec=/usr/bin/tovik --tray\n", true, "/usr/bin/tovik --tray"},
        {"[Desktop Entry]\nExec=\"/usr/bin/tovik\" %U\n", true, "\"/usr/bin/tovik\" %U"},
        {"[Desktop Entry]\nExec=\"/usr/bin/unclosed\n", true, "\"/usr/bin/unclosed"},
        {"[Desktop Entry]\nExec=/usr/bin/tovik\nHidden=true\n", false, ""},
        {"[Desktop Entry]\nExec=/usr/bin/tovik\nX-GNOME-Autostart-enabled=false\n", false, ""},
        {"[Desktop Entry]\nExec=/usr/bin/tovik\nHidden=false\nX-GNOME-Autostart-enabled=true\n", true,
         "/usr/bin/tovik"},
        {"[Other Group]\nExec=/elsewhere\n[Desktop Entry]\nExec=/usr/bin/tovik\n", true, "/usr/bin/tovik"},
        {"[Desktop Entry]\nType=Application\n", true, ""},
    };
    for (const Case& c : cases) {
        PutEntry("Tovik", c.text);
        plat::RegistryValue v = reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik");
        EXPECT_EQ(v.Found, c.found) << c.text;
        if (c.found) {
            EXPECT_TRUE(v.IsString);
            EXPECT_EQ(v.Data, c.data) << c.text;
        }
    }
}

// A program in a CMake build tree (make run) goes with the tree; writing its entry says so once.
TEST_F(XdgAutostartTest, AnEntryForAProgramInABuildTreeIsLogged) {
    struct Case {
        const char* cacheIn;  // folder below Root() that holds CMakeCache.txt; nullptr: none
        const char* program;  // below Root()
        bool logged;
    } cases[] = {
        {"build", "build/chimewick", true},                  // make run's program
        {"build", "build/sub/chimewick", true},              // further down the tree
        {nullptr, "prefix/lib/chimewick/chimewick", false},  // an installed copy
        {"build", "elsewhere/chimewick", false},  // a tree beside the program's folder is not its tree
    };
    for (const Case& c : cases) {
        const fs::path root = dir_.Root() / "case";
        fs::remove_all(root);
        if (c.cacheIn) {
            fs::create_directories(root / c.cacheIn);
            std::ofstream(root / c.cacheIn / "CMakeCache.txt") << "# CMake cache\n";
        }
        std::vector<std::string> lines;
        plat::SetLogSink([&lines](const std::string& line) { lines.push_back(line); });
        const std::string program = (root / c.program).string();
        ASSERT_TRUE(reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", program));
        plat::SetLogSink({});
        EXPECT_EQ(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Data, program);  // written all the same
        ASSERT_EQ(lines.size(), c.logged ? 1u : 0u) << c.program;
        if (!c.logged) continue;
        EXPECT_NE(lines[0].find(Entry("Tovik").string()), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(" starts " + program + ","), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find("build tree " + (root / c.cacheIn).string() + ";"), std::string::npos)
            << lines[0];
        EXPECT_NE(lines[0].find("make install"), std::string::npos) << lines[0];
    }
}

TEST_F(XdgAutostartTest, OtherKeysDoNotExist) {
    const char* other = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    EXPECT_FALSE(reg_->OpenKey(kRoot, other, true));
    EXPECT_FALSE(reg_->WriteString(kRoot, other, "Tovik", "/x"));
    PutEntry("Tovik", "[Desktop Entry]\nExec=/x\n");
    EXPECT_FALSE(reg_->ReadValue(kRoot, other, "Tovik").Found);
    reg_->DeleteValue(kRoot, other, "Tovik");
    EXPECT_TRUE(fs::exists(Entry("Tovik")));
}

TEST_F(XdgAutostartTest, NamesThatWouldLeaveTheFolderAreRefused) {
    EXPECT_FALSE(reg_->WriteString(kRoot, plat::RunKeyPath, "../escape", "/x"));
    EXPECT_FALSE(reg_->WriteString(kRoot, plat::RunKeyPath, "", "/x"));
    EXPECT_FALSE(fs::exists(dir_.Root() / "config" / "escape.desktop"));
    EXPECT_FALSE(reg_->ReadValue(kRoot, plat::RunKeyPath, "../autostart/x").Found);
}

TEST_F(XdgAutostartTest, FolderFollowsTheEnvironmentOnEveryCall) {
    ASSERT_TRUE(reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", "/first"));

    // Another XDG_CONFIG_HOME: a different folder, without the entry.
    const fs::path other = dir_.Root() / "other-config";
    setenv("XDG_CONFIG_HOME", other.c_str(), 1);
    EXPECT_FALSE(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Found);

    // Unset, empty or relative: $HOME/.config/autostart.
    std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const fs::path home = dir_.Root() / "home";
    setenv("HOME", home.c_str(), 1);
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        if (xdg)
            setenv("XDG_CONFIG_HOME", xdg, 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        const std::string exe = std::string("/home-") + (xdg ? xdg : "unset");
        ASSERT_TRUE(reg_->WriteString(kRoot, plat::RunKeyPath, "Tovik", exe));
        const std::string file = (home / ".config" / "autostart" / "Tovik.desktop").string();
        EXPECT_NE(TempProgramDir::ReadFile(file).find(exe), std::string::npos) << (xdg ? xdg : "unset");
        EXPECT_EQ(reg_->ReadValue(kRoot, plat::RunKeyPath, "Tovik").Data, exe);
    }
    if (oldHome.empty())
        unsetenv("HOME");
    else
        setenv("HOME", oldHome.c_str(), 1);
    EXPECT_FALSE(fs::exists(fs::current_path() / "relative"));
}

}  // namespace
