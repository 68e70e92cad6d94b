// The settings file: one value read and one written on a file of 100 keys, and the configuration's
// full load. Every access opens and parses the file afresh, as the program does.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchProgramDir.h"
#include "settings/uControlObj.h"
#include "settings/uToolsObj.h"

namespace {

// Five sections of 20 keys each; the key looked up is the last one, so a read scans the whole file.
std::string HundredKeyFile() {
    std::string text;
    for (int s = 0; s < 5; ++s) {
        text += "[Section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 20; ++k)
            text += "Key" + std::to_string(k) + "=value number " + std::to_string(s * 20 + k) + "\r\n";
    }
    return text;
}

void BM_ReadIni_100Keys(benchmark::State& state) {
    BenchProgramDir dir;
    dir.WriteIni(HundredKeyFile());
    for (auto _ : state) benchmark::DoNotOptimize(TTools::ReadIni("Section4", "Key19", "none"));
}
BENCHMARK(BM_ReadIni_100Keys);

// Rewrites one value in place; the file is replaced atomically (temp file, fsync, rename) each time.
void BM_WriteIni_100Keys(benchmark::State& state) {
    BenchProgramDir dir;
    dir.WriteIni(HundredKeyFile());
    int n = 0;
    for (auto _ : state) TTools::WriteIni("Section2", "Key10", (n++ & 1) ? "one" : "two");
}
BENCHMARK(BM_WriteIni_100Keys)->Unit(benchmark::kMicrosecond);

// The program's own settings file with every key set: 18 reads through the file.
void BM_LoadSettings(benchmark::State& state) {
    BenchProgramDir dir;
    dir.WriteIni(
        "[XHBX]\r\nstartXHBJ=1\r\nxhzq=45\r\nstartDSBJ=1\r\nOnTime=12:00\r\nOnTimeTxnr=lunch\r\n"
        "startDSBJ2=1\r\nOnTime2=17:30\r\nOnTimeTxnr2=home\r\nstartDSBJ3=0\r\nOnTime3=21:00\r\n"
        "OnTimeTxnr3=raid\r\ntxnr=look at the sky\r\nstartXHBJFlash=0\r\nXHBXFlashSetByUser=\r\n"
        "XHBXFlashWord=\r\nflashLonger=20\r\n[XTSZ]\r\nNotFirstStart=1\r\nBJTP=\r\n");
    const std::unique_ptr<TControl> control = TControl::CreateUnloaded(nullptr);
    for (auto _ : state) {
        control->LoadSettings();
        benchmark::DoNotOptimize(control->XHBX.xhzq);
    }
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

}  // namespace
