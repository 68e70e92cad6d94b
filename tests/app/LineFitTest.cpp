// The reminder text box's line pitch: the design's lines always fit whole, whatever the font.
#include <gtest/gtest.h>

#include "app/uLineFit.h"

namespace {

TEST(LineFit, DesignLinesFitWhole) {
    struct Case {
        int32_t box, natural, design;
        TLineFit want;
    } cases[] = {
        {51, 16, 3, {16, 3}},  // the design face: its own spacing, three lines
        {51, 17, 3, {17, 3}},  // exactly fits
        {51, 19, 3, {17, 3}},  // a taller fallback face: tightened, not a line and a half
        {51, 30, 3, {17, 3}},
        {60, 16, 3, {16, 3}},  // a taller box shows what else fits whole (60 / 16 = 3)
        {64, 16, 3, {16, 4}},
        {40, 19, 3, {13, 3}},  // a box shrunk below the design keeps its lines, tighter still
        {2, 19, 3, {1, 2}},    // a sliver of a box during the slide: no pitch of 0
        {0, 19, 3, {1, 0}},    // nothing to show
        {-5, 19, 3, {1, 0}},
        {51, 19, 0, {19, 2}},  // no design lines: the font's own spacing, whole lines only
    };
    for (const Case& c : cases) {
        const TLineFit fit = FitLines(c.box, c.natural, c.design);
        EXPECT_EQ(fit, c.want) << c.box << " / " << c.natural << " / " << c.design << ": got " << fit.Pitch
                               << ", " << fit.Lines;
        EXPECT_LE(int64_t{fit.Pitch} * fit.Lines, std::max(0, c.box));  // never part of a line
    }
}

}  // namespace
