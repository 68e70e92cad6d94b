#pragma once
// A temporary folder that stands in for the executable's folder while a benchmark runs, so the
// settings file (Ini/Tovik.ini beside the executable) lands in it. Removed afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/ExePath.h"

class BenchProgramDir {
public:
    BenchProgramDir() {
        std::random_device rd;
        root_ = std::filesystem::temp_directory_path() /
                ("chimewick-bench-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(root_ / "Ini");
        plat::SetExecutablePathOverride((root_ / "chimewick").string());
    }
    ~BenchProgramDir() {
        plat::SetExecutablePathOverride("");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    BenchProgramDir(const BenchProgramDir&) = delete;
    BenchProgramDir& operator=(const BenchProgramDir&) = delete;

    void WriteIni(const std::string& bytes) const {
        std::ofstream(root_ / "Ini" / "Tovik.ini", std::ios::binary) << bytes;
    }

private:
    std::filesystem::path root_;
};
