#pragma once
// Plain values the windows' behaviour and their views exchange: points, rectangles and colours, in
// device-independent pixels (96 per inch) and screen coordinates unless a comment says otherwise.
#include <cstdint>

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Right() const { return Left + Width; }   // one past the last column
    int32_t Bottom() const { return Top + Height; }  // one past the last row
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right() && p.Y >= Top && p.Y < Bottom(); }
    bool operator==(const TRect&) const = default;
};

// The mouse button that pressed or let go.
enum class TMouseButton { Left, Right, Middle, Other };

// A colour as the settings and the layout tables store it: 24 bits with red in the low byte
// (0x00BBGGRR), the same layout as a Windows COLORREF.
using TColor = uint32_t;
