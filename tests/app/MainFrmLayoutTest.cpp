// The main window's layout table: a parent comes before its children, names are unique, and the
// strips, content and banner follow the window's edges as designed when it is resized.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/uMainForm.h"
#include "app/uMainFormLook.h"
#include "app/uMainFrmLayout.h"

namespace {

using MainFrmLayout::Controls;
using MainFrmLayout::Find;
using MainFrmLayout::Place;

TEST(MainFrmLayout, ParentsComeFirstAndNamesAreUnique) {
    std::set<std::string> seen;
    for (const MainFrmLayout::TControl& row : Controls()) {
        if (row.Parent) {
            EXPECT_TRUE(seen.count(row.Parent)) << row.Name << " before its parent " << row.Parent;
        }
        EXPECT_TRUE(seen.insert(row.Name).second) << row.Name << " twice";
    }
    EXPECT_EQ(Find("nothing"), nullptr);
    ASSERT_NE(Find("lbl_1"), nullptr);
    EXPECT_EQ(Find("lbl_1")->Kind, MainFrmLayout::TKind::WrapLabel);
}

TEST(MainFrmLayout, DesignSizeGivesTheDesignRectangles) {
    const std::vector<TRect> placed = Place(TMainFrm::DesignWidth, TMainFrm::DesignHeight);
    ASSERT_EQ(placed.size(), Controls().size());
    for (size_t i = 0; i < placed.size(); ++i)
        EXPECT_EQ(placed[i], Controls()[i].Bounds) << Controls()[i].Name;
}

TEST(MainFrmLayout, ControlsFollowTheEdges) {
    constexpr int kTitle = MainFormLook::TitleHeight;
    constexpr int kBanner = MainFormLook::BannerHeight;
    struct Case {
        int w, h;
        const char* name;
        TRect want;
    } cases[] = {
        {600, 400, "pnl_TOP", {0, 0, 600, kTitle}},
        {600, 400, "pnl_TOP_R3", {591, 0, 9, kTitle}},
        {600, 400, "pnl_TOP_R2", {567, 0, 24, kTitle}},
        {600, 400, "pnl_TOP_R1", {541, 0, 26, kTitle}},
        {600, 400, "pnl_TOP_CLIENT", {0, 0, 541, kTitle}},
        {600, 400, "img1", {0, 0, 541, kTitle}},
        {600, 400, "img_set", {516, 0, 22, 22}},
        {600, 400, "img3", {0, 0, 25, 22}},
        {600, 400, "Panel1", {0, kTitle, 600, 400 - kTitle - kBanner}},
        {600, 400, "img_BJTP", {0, 0, 600, 400 - kTitle - kBanner}},
        {600, 400, "lbl_1", {8, 88, 580, 400 - kTitle - kBanner - 96}},
        {600, 400, "lbl_2", {8, 1, 196, 56}},
        {600, 400, "Panel2", {0, 400 - kBanner, 600, kBanner}},
        {600, 400, "WebBrowser", {-16, -16, 586, 139}},
        // Smaller than the strips: nothing gets a negative size.
        {40, 100, "pnl_TOP_CLIENT", {0, 0, 0, kTitle}},
        {40, 100, "img_set", {-25, 0, 22, 22}},
        {40, 100, "Panel1", {0, kTitle, 40, 0}},
        {40, 100, "lbl_1", {8, 88, 20, 0}},
        {40, 100, "Panel2", {0, 100 - kBanner, 40, kBanner}},
    };
    for (const Case& c : cases) {
        const std::vector<TRect> placed = Place(c.w, c.h);
        const MainFrmLayout::TControl* row = Find(c.name);
        ASSERT_NE(row, nullptr) << c.name;
        const TRect got = placed[static_cast<size_t>(row - Controls().data())];
        EXPECT_EQ(got, c.want) << c.name << " at " << c.w << " x " << c.h << ": " << got.Left << ","
                               << got.Top << " " << got.Width << "x" << got.Height;
    }
}

}  // namespace
