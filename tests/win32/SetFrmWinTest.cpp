// The Windows settings dialog against the settings table: every setting's control is a child window of
// its conversion's kind, and every key goes from the file through its window back into the file
// unchanged.
// The core's headers before windows.h, where the platform's box names (plat::MB_OK, ...) are macros.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/uSetFrm.h"
#include "platform/Locale.h"
#include "settings/uControlObj.h"
#include "support/ScriptedBoxes.h"
#include "support/SettingsTableFiles.h"
#include "support/TempProgramDir.h"
// Now windows.h, and the common controls that build on it.
#include <windows.h>
// windows.h first.
#include <commctrl.h>

#include "win32/uSetFrmWin.h"

namespace {

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

}  // namespace

TEST(SetFrmWin, EverySettingHasItsWindowAndRoundTrips) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    for (int variant = 0; variant < settingsfiles::Variants; ++variant) {
        const std::string file = settingsfiles::File(variant);
        TempProgramDir dir;
        dir.WriteIni(file);
        plat::SetFormatSettings(plat::FormatSettings{});
        const std::unique_ptr<TControl> config = TControl::CreateUnloaded(nullptr);
        config->LoadSettings();
        ScriptedBoxes boxes;
        TSetFrm form;
        TSetFrmWin frm(form, nullptr);
        form.FormCreate(frm);
        form.LoadData(config->XHBX, nullptr, config->BJTP);
        form.LoadAutoRun();
        for (const TSetting& row : SettingsTable()) {
            if (!row.Control) continue;
            const HWND hwnd = frm.Window(*row.Control);
            ASSERT_NE(hwnd, nullptr) << row.Key;
            const std::string cls = ClassOf(hwnd);
            if (row.Text == TSettingText::Flag)
                EXPECT_STRCASEEQ(cls.c_str(), "Button") << row.Key;
            else if (row.Text == TSettingText::TimeOfDay)
                EXPECT_STRCASEEQ(cls.c_str(), DATETIMEPICK_CLASSA) << row.Key;
            else
                EXPECT_STRCASEEQ(cls.c_str(), "Edit") << row.Key;
        }
        form.img3Click();
        EXPECT_TRUE(form.Saved) << variant;
        EXPECT_TRUE(boxes.shown.empty()) << variant;
        EXPECT_EQ(dir.ReadIni(), file) << variant;
    }
}
