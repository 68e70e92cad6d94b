// Whole settings files from tests/fixtures/settings/, each NAME.ini (the exact bytes: GBK, CRLF) with
// NAME.values (UTF-8) listing what a fresh configuration object holds after LoadSettings:
//   field=value         one line for each of the 18 fields (all must be listed)
//   error=message       LoadSettings must fail with this message (the fields then show the state it left)
//   entries=N           the reminder list made from the file has N entries
//   entries.error=msg   making the reminder list fails with this message
//   entry.field=value   a field of the first reminder entry
// Booleans are 1/0, times HH:MM:SS, texts as written. Lines starting with '#' are comments.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Raises.h"
#include "SettingsFields.h"
#include "platform/Errors.h"
#include "platform/Gbk.h"
#include "platform/Locale.h"
#include "settings/uControlObj.h"
#include "settings/uTimerInfo.h"
#include "support/TempProgramDir.h"
#include "support/TestHost.h"

namespace fs = std::filesystem;

namespace {

struct Expected {
    std::optional<std::string> error;
    std::map<std::string, std::string> fields;
    std::optional<int> entries;
    std::optional<std::string> entriesError;
    std::map<std::string, std::string> entry;
};

Expected ReadValues(const fs::path& path) {
    Expected e;
    std::istringstream in(plat::Utf8ToGbk(TempProgramDir::ReadFile(path)));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            ADD_FAILURE() << path << ": no '=' in line: " << line;
            continue;
        }
        const std::string name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "error")
            e.error = value;
        else if (name == "entries")
            e.entries = std::stoi(value);
        else if (name == "entries.error")
            e.entriesError = value;
        else if (name.rfind("entry.", 0) == 0)
            e.entry[name.substr(6)] = value;
        else
            e.fields[name] = value;
    }
    return e;
}

std::vector<fs::path> Fixtures() {
    std::vector<fs::path> files;
    for (const auto& f : fs::directory_iterator(fs::path(CHIMEWICK_FIXTURES) / "settings")) {
        if (f.path().extension() == ".ini") files.push_back(f.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(SettingsFixtures, EachFileLoadsToItsListedValues) {
    plat::SetFormatSettings(plat::FormatSettings{});
    const auto files = Fixtures();
    ASSERT_GE(files.size(), 4u);
    for (const fs::path& ini : files) {
        SCOPED_TRACE(ini.filename().string());
        // Wine's profile reader takes a UTF-8 byte-order mark as the encoding; Windows reads it as bytes.
        if (ini.filename() == "bom.ini" && testhost::UnderWine()) continue;
        fs::path valuesPath = ini;
        valuesPath.replace_extension(".values");
        ASSERT_TRUE(fs::exists(valuesPath));
        const Expected expected = ReadValues(valuesPath);

        TempProgramDir tmp;
        tmp.WriteIni(TempProgramDir::ReadFile(ini));
        auto control = TControl::CreateUnloaded(nullptr);
        auto error = Raised<EConvertError>([&] { control->LoadSettings(); });
        EXPECT_EQ(error ? std::optional<std::string>(error->Message()) : std::nullopt, expected.error);
        // Every field is listed, so a fixture cannot silently skip one.
        EXPECT_EQ(ControlFields(*control), expected.fields);

        if (expected.entries || expected.entriesError) {
            std::unique_ptr<TTimerInfos> list;
            auto listError = Raised<EConvertError>([&] { list = std::make_unique<TTimerInfos>(); });
            EXPECT_EQ(listError ? std::optional<std::string>(listError->Message()) : std::nullopt,
                      expected.entriesError);
            if (list && expected.entries) {
                ASSERT_EQ(list->Infos.size(), static_cast<std::size_t>(*expected.entries));
                if (!expected.entry.empty()) {
                    ASSERT_FALSE(list->Infos.empty());
                    EXPECT_EQ(TimerInfoFields(list->Infos[0]->TimerInfo()), expected.entry);
                }
            }
        }
    }
    plat::SetFormatSettings(plat::SystemFormatSettings());
}
