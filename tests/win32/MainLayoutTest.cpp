// The Windows main window's elements built from the layout table: one element of each row's kind,
// under its parent, placed where the table says at the design size and after a resize.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/uMainFrmLayout.h"
#include "win32/uMainLayoutWin.h"
#include "win32/uWinForm.h"

namespace {

bool KindMatches(MainFrmLayout::TKind kind, TElement& element) {
    switch (kind) {
        case MainFrmLayout::TKind::Panel:
            return dynamic_cast<TPanel*>(&element) != nullptr;
        case MainFrmLayout::TKind::Image:
            return dynamic_cast<TImage*>(&element) != nullptr;
        case MainFrmLayout::TKind::Label:
            return dynamic_cast<TLabel*>(&element) && dynamic_cast<TLabel*>(&element)->AutoSize;
        case MainFrmLayout::TKind::WrapLabel:
            return dynamic_cast<TLabel*>(&element) && dynamic_cast<TLabel*>(&element)->WordWrap;
        case MainFrmLayout::TKind::Browser:
            return !dynamic_cast<TPanel*>(&element) && !dynamic_cast<TImage*>(&element) &&
                   !dynamic_cast<TLabel*>(&element);
    }
    return false;
}

TEST(MainLayoutWin, EveryRowIsOneElementOfItsKindWhereTheTablePlacesIt) {
    TWinForm form;
    std::vector<std::unique_ptr<TElement>> elements = BuildMainLayout(form.Root());
    const std::vector<MainFrmLayout::TControl>& rows = MainFrmLayout::Controls();
    ASSERT_EQ(elements.size(), rows.size());
    for (const auto& [w, h] : {std::pair{442, 259}, std::pair{600, 400}}) {
        PlaceMainLayout(elements, w, h);
        const std::vector<TRect> places = MainFrmLayout::Place(w, h);
        for (size_t i = 0; i < rows.size(); ++i) {
            const MainFrmLayout::TControl& row = rows[i];
            TElement& element = *elements[i];
            EXPECT_TRUE(KindMatches(row.Kind, element)) << row.Name;
            const TElement* parent = row.Parent ? elements[MainLayoutIndex(row.Parent)].get() : &form.Root();
            EXPECT_EQ(element.Parent(), parent) << row.Name;
            const RECT& b = element.Bounds();
            EXPECT_EQ(b.left, places[i].Left) << row.Name;
            EXPECT_EQ(b.top, places[i].Top) << row.Name;
            if (row.Kind != MainFrmLayout::TKind::Label) {
                EXPECT_EQ(element.Width(), places[i].Width) << row.Name << " at " << w;
                EXPECT_EQ(element.Height(), places[i].Height) << row.Name << " at " << w;
            }
        }
    }
    while (!elements.empty()) elements.pop_back();  // children before their parents
}

}  // namespace
