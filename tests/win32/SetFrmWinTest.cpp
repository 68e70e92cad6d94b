// The Windows settings dialog against the settings table: every setting's control is a child window of
// its conversion's kind, and every key goes from the file through its window back into the file
// unchanged.
// The core's headers before windows.h, where the platform's box names (plat::MB_OK, ...) are macros.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/uSetFrm.h"
#include "app/uSetFrmLayout.h"
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

namespace {

// A child window's text as UTF-8.
std::string Utf8Text(HWND hwnd) {
    wchar_t wide[256] = {};
    const int n = ::GetWindowTextW(hwnd, wide, 256);
    char utf8[1024] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8 - 1, nullptr, nullptr);
    return utf8;
}

}  // namespace

// Every box of the layout table is a child window of its kind at the table's place (its parents'
// places added, from the page's corner at 141, 30 in the dialog), with its caption or default text, and
// the child windows follow each other in the table's tab order.
TEST(SetFrmWin, EveryBoxOfTheLayoutTableWhereTheTablePlacesIt) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    TSetFrm form;
    TSetFrmWin frm(form, nullptr);
    using SetFrmLayout::TKind;
    HWND previous = nullptr;
    for (const SetFrmLayout::TControl* row : SetFrmLayout::TabOrder()) {
        const std::optional<TSetControl> control = SetFrmLayout::ControlOf(row->Name);
        ASSERT_TRUE(control) << row->Name;
        const HWND hwnd = frm.Window(*control);
        ASSERT_NE(hwnd, nullptr) << row->Name;
        if (previous) {
            EXPECT_EQ(::GetWindow(previous, GW_HWNDNEXT), hwnd) << row->Name;
        }
        previous = hwnd;

        const std::string cls = ClassOf(hwnd);
        if (row->Kind == TKind::Check)
            EXPECT_STRCASEEQ(cls.c_str(), "Button") << row->Name;
        else if (row->Kind == TKind::Time)
            EXPECT_STRCASEEQ(cls.c_str(), DATETIMEPICK_CLASSA) << row->Name;
        else
            EXPECT_STRCASEEQ(cls.c_str(), "Edit") << row->Name;

        int left = 141 + row->Bounds.Left;
        int top = 30 + row->Bounds.Top;
        for (const SetFrmLayout::TControl* p = SetFrmLayout::Find(row->Parent); p;
             p = SetFrmLayout::Find(p->Parent)) {
            left += p->Bounds.Left;
            top += p->Bounds.Top;
        }
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::MapWindowPoints(HWND_DESKTOP, frm.Handle(), reinterpret_cast<POINT*>(&r), 2);
        int width = row->Bounds.Width;
        if (row->Kind == TKind::ButtonEdit) {
            // The browse button follows the box and ends where the row's rectangle does.
            const HWND button = ::GetWindow(hwnd, GW_HWNDNEXT);
            RECT b{};
            ::GetWindowRect(button, &b);
            ::MapWindowPoints(HWND_DESKTOP, frm.Handle(), reinterpret_cast<POINT*>(&b), 2);
            EXPECT_EQ(b.right, left + width) << row->Name;
            EXPECT_EQ(b.left, r.right) << row->Name;
            width = r.right - r.left;
            previous = button;
        }
        EXPECT_EQ(r.left, left) << row->Name;
        EXPECT_EQ(r.top, top) << row->Name;
        EXPECT_EQ(r.right - r.left, width) << row->Name;
        EXPECT_EQ(r.bottom - r.top, row->Bounds.Height) << row->Name;

        if (row->Kind == TKind::Time) {
            SYSTEMTIME st{};
            ::SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
            char shown[8];
            std::snprintf(shown, sizeof shown, "%02u:%02u", static_cast<unsigned>(st.wHour),
                          static_cast<unsigned>(st.wMinute));
            EXPECT_STREQ(shown, row->Text) << row->Name;
        } else {
            EXPECT_EQ(Utf8Text(hwnd), row->Text) << row->Name;
        }
    }
    EXPECT_EQ(previous ? ::GetWindow(previous, GW_HWNDNEXT) : nullptr, nullptr);
}
