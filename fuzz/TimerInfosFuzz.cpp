// Fuzz target: the reminder list and the configuration object loaded from a settings file holding
// arbitrary bytes (the input is the whole file).
//
// Properties:
// - Building TTimerInfos either succeeds or raises EConvertError with one of the two conversion
//   messages; nothing leaks on the failing path (the sanitizer build checks that).
// - A built list has one entry per line of WarnNums (at most one, since a settings value holds no
//   line break), each numbered by its line, and WarnEnable2 always equals WarnEnable.
// - TControl::LoadSettings fails only with EConvertError; LoadSettingsTolerant never fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/Errors.h"
#include "platform/ExePath.h"
#include "platform/Locale.h"
#include "settings/uControlObj.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"

namespace {

namespace fs = std::filesystem;

// A temporary folder that stands in for the executable's folder for the whole run, so the settings
// file is <folder>/Ini/Tovik.ini. Removed at exit.
class ProgramFolder {
public:
    ProgramFolder() {
        std::random_device random;
        for (int attempt = 0; root_.empty(); ++attempt) {
            if (attempt == 100) std::abort();
            const fs::path candidate =
                fs::temp_directory_path() / ("chimewick-fuzz-" + std::to_string(random()));
            if (fs::create_directory(candidate)) root_ = candidate;
        }
        fs::create_directory(root_ / "Ini");
        plat::SetExecutablePathOverride((root_ / "chimewick").string());
    }
    ~ProgramFolder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void WriteSettings(const std::string& bytes) const {
        std::ofstream(root_ / "Ini" / "Tovik.ini", std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    fs::path root_;
};

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsConversionMessage(const std::string& message) {
    return !message.empty() && message.front() == '\'' &&
           (EndsWith(message, "' is not a valid integer value") ||
            EndsWith(message, "' is not a valid time"));
}

void CheckTimerInfos() {
    std::unique_ptr<TTimerInfos> infos;
    try {
        infos = std::make_unique<TTimerInfos>();
    } catch (const EConvertError& e) {
        FUZZ_CHECK(IsConversionMessage(e.Message()));
        return;
    }
    FUZZ_CHECK(infos->NumList.Count() <= 1);
    FUZZ_CHECK(infos->Infos.size() == static_cast<std::size_t>(infos->NumList.Count()));
    for (int i = 0; i < infos->NumList.Count(); ++i) {
        const TTimerInfo* info = infos->Infos[static_cast<std::size_t>(i)];
        FUZZ_CHECK(info != nullptr);
        FUZZ_CHECK(info->GetWarnNumber() == SysUtils::StrToInt(infos->NumList.Strings(i)));
        FUZZ_CHECK(info->TimerInfo().Number == info->GetWarnNumber());
        FUZZ_CHECK(info->TimerInfo().WarnEnable == info->TimerInfo().WarnEnable2);
        FUZZ_CHECK(info->TimerInfo().WarnTime >= 0 && info->TimerInfo().WarnTime < 1);
    }
}

void CheckControl() {
    std::unique_ptr<TControl> control = TControl::CreateUnloaded(nullptr);
    try {
        control->LoadSettings();
    } catch (const EConvertError& e) {
        FUZZ_CHECK(IsConversionMessage(e.Message()));
    }
    for (const std::string& message : TControl::CreateUnloaded(nullptr)->LoadSettingsTolerant())
        FUZZ_CHECK(IsConversionMessage(message));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One program folder for the whole run; each input replaces the settings file.
    static const ProgramFolder folder;
    plat::SetFormatSettings(plat::FormatSettings{});
    folder.WriteSettings(std::string(reinterpret_cast<const char*>(data), size));
    CheckTimerInfos();
    CheckControl();
    return 0;
}
