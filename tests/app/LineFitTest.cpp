// The reminder text box's line pitch: the design's lines always fit whole, whatever the font.
#include <gtest/gtest.h>

#include "app/uLineFit.h"

namespace {

TEST(LineFit, DesignLinesFitWhole) {
    struct Case {
        int32_t box, height, spacing, design;
        TLineFit want;
    } cases[] = {
        {51, 16, 16, 3, {16, 3}},  // the design face: its own spacing, three lines
        {51, 17, 17, 3, {17, 3}},  // exactly fits: 17 + 17 + 17
        {51, 19, 19, 3, {16, 3}},  // a taller fallback face: tightened, not two lines and a half
        {51, 19, 22, 3, {16, 3}},  // its leading goes first
        {51, 16, 18, 3, {17, 3}},  // and only as far as needed
        {51, 30, 30, 3, {10, 3}},
        {60, 16, 16, 3, {16, 3}},  // a taller box shows what else fits whole
        {64, 16, 16, 3, {16, 4}},
        {40, 19, 19, 3, {10, 3}},  // a box shrunk below the design keeps its lines, tighter still
        {18, 19, 19, 3, {1, 0}},   // a sliver of a box during the slide: no line, and no pitch of 0
        {0, 19, 19, 3, {1, 0}},
        {-5, 19, 19, 3, {1, 0}},
        {51, 19, 19, 1, {19, 2}},  // one design line: the font's own spacing, whole lines only
        {51, 19, 19, 0, {19, 2}},
    };
    for (const Case& c : cases) {
        const TLineFit fit = FitLines(c.box, c.height, c.spacing, c.design);
        EXPECT_EQ(fit, c.want) << c.box << " / " << c.height << " / " << c.spacing << " / " << c.design
                               << ": got " << fit.Pitch << ", " << fit.Lines;
        if (fit.Lines > 0) {
            EXPECT_LE((fit.Lines - 1) * fit.Pitch + c.height, c.box);  // never part of a line
        }
    }
}

}  // namespace
