#pragma once
// How a word-wrapped text box of fixed height shows its lines. The reminder text box is designed for
// three lines of its font; a fallback font whose lines are taller would leave the last of them cut in
// half. So the pitch from line to line is tightened until the design's lines fit, the first line's top
// and the last line's bottom inside the box, and only lines that fit whole are drawn: the box never
// shows part of a line.
#include <algorithm>
#include <cstdint>

struct TLineFit {
    int32_t Pitch = 0;  // pixels from the top of one line to the top of the next
    int32_t Lines = 0;  // how many whole lines the box shows
    bool operator==(const TLineFit&) const = default;
};

// boxHeight: the box's height; lineHeight: the height of one line's glyphs (ascent and descent);
// lineSpacing: the font's own pitch (lineHeight and the leading); designLines: the lines the box is
// designed to hold.
inline TLineFit FitLines(int32_t boxHeight, int32_t lineHeight, int32_t lineSpacing, int32_t designLines) {
    TLineFit fit;
    lineHeight = std::max<int32_t>(1, lineHeight);
    fit.Pitch = std::max(lineHeight, lineSpacing);
    if (designLines > 1 && int64_t{designLines - 1} * fit.Pitch + lineHeight > boxHeight)
        fit.Pitch = std::max<int32_t>(1, (boxHeight - lineHeight) / (designLines - 1));
    fit.Lines = boxHeight < lineHeight ? 0 : (boxHeight - lineHeight) / fit.Pitch + 1;
    return fit;
}
