#pragma once
// How a word-wrapped text box of fixed height shows its lines. The reminder text box is designed for
// three lines of its font; a fallback font whose natural line height is taller would leave the last
// of them cut in half. So the pitch from line to line is tightened until the design's lines fit,
// and only lines that fit whole are drawn: the box never shows part of a line.
#include <algorithm>
#include <cstdint>

struct TLineFit {
    int32_t Pitch = 0;  // pixels from the top of one line to the top of the next
    int32_t Lines = 0;  // how many whole lines the box shows
    bool operator==(const TLineFit&) const = default;
};

// boxHeight: the box's height; naturalPitch: the font's own line spacing; designLines: how many lines
// the box is designed to hold.
inline TLineFit FitLines(int32_t boxHeight, int32_t naturalPitch, int32_t designLines) {
    TLineFit fit;
    fit.Pitch = std::max<int32_t>(1, naturalPitch);
    if (designLines > 0 && int64_t{fit.Pitch} * designLines > boxHeight)
        fit.Pitch = std::max<int32_t>(1, boxHeight / designLines);
    fit.Lines = std::max<int32_t>(0, boxHeight) / fit.Pitch;
    return fit;
}
