#pragma once
// A settings file in a fresh program folder, and the message a failing write raises; shared by the
// portable and the per-system tests of the settings file on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/Errors.h"
#include "support/TempProgramDir.h"

// GBK text, mixed line ends, junk before the first section, no final line break.
inline const std::string kMixedIniFixture = std::string(CHIMEWICK_FIXTURES) + "/platform/Tovik-mixed.ini";

inline std::string WriteErrorOf(const std::function<void()>& write) {
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
    std::filesystem::path ini_ = dir_.IniFile();
    std::string path_ = ini_.string();
};
