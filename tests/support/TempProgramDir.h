#pragma once
// A fresh temporary folder that stands in for the executable's folder (so Ini/ lands inside it), with
// its own XDG_CONFIG_HOME for start-at-login entries. Where that store is shared (the Windows
// registry), the program's own start-at-login value is set aside and put back afterwards. Everything
// is restored and removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "platform/ExePath.h"
#include "platform/Registry.h"
#include "support/TestHost.h"

class TempProgramDir {
public:
    explicit TempProgramDir(const std::string& exeName = "chimewick") {
        std::random_device rd;
        std::ostringstream name;
        name << "chimewick-test-" << std::hex << rd() << rd();
        root_ = std::filesystem::temp_directory_path() / name.str();
        std::filesystem::create_directories(root_ / "program");
        std::filesystem::create_directories(root_ / "config");
        exe_ = (root_ / "program" / exeName).string();
        plat::SetExecutablePathOverride(exe_);
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
        testhost::SetEnv("XDG_CONFIG_HOME", (root_ / "config").string());
        auto store = plat::CreateSystemRegistry();
        savedRun_ = store->ReadValue(plat::RegRoot::LocalMachine, plat::RunKeyPath, kRunValue);
        store->DeleteValue(plat::RegRoot::LocalMachine, plat::RunKeyPath, kRunValue);
    }
    ~TempProgramDir() {
        auto store = plat::CreateSystemRegistry();
        store->DeleteValue(plat::RegRoot::LocalMachine, plat::RunKeyPath, kRunValue);
        if (savedRun_.Found && savedRun_.IsString)
            store->WriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, kRunValue,
                               savedRun_.Data.substr(0, savedRun_.Data.find('\0')));
        plat::SetExecutablePathOverride("");
        if (oldXdg_)
            testhost::SetEnv("XDG_CONFIG_HOME", *oldXdg_);
        else
            testhost::UnsetEnv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        for (auto& p : std::filesystem::recursive_directory_iterator(root_, ec))
            std::filesystem::permissions(p.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    std::filesystem::path Root() const { return root_; }
    std::filesystem::path ProgramDir() const { return root_ / "program"; }
    std::string ExePath() const { return exe_; }
    std::filesystem::path IniDir() const { return ProgramDir() / "Ini"; }
    std::filesystem::path IniFile() const { return IniDir() / "Tovik.ini"; }
    std::filesystem::path AutostartDir() const { return root_ / "config" / "autostart"; }

    // Writes the settings file with these exact bytes (creating Ini/).
    void WriteIni(const std::string& bytes) const {
        std::filesystem::create_directories(IniDir());
        std::ofstream(IniFile(), std::ios::binary) << bytes;
    }
    // The settings file's bytes; empty when it does not exist.
    std::string ReadIni() const { return ReadFile(IniFile()); }

    static std::string ReadFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private:
    static constexpr const char* kRunValue = "Tovik";
    std::filesystem::path root_;
    plat::RegistryValue savedRun_;
    std::string exe_;
    std::optional<std::string> oldXdg_;
};
