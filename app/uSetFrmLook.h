#pragma once
// How the settings dialog looks, the same in every frontend: the colours of its parts (stored values,
// red in the low byte).
namespace SetFrmLook {
constexpr unsigned TitleStripColor = 16776176;   // RGB(240, 251, 255)
constexpr unsigned PageColor = 15923179;         // RGB(235, 247, 242)
constexpr unsigned NavColor = 7920312;           // RGB(184, 218, 120)
constexpr unsigned NavSelectedColor = 12377261;  // RGB(173, 220, 188)
// The framed check boxes (alone and in the weekday list): the box's frame, and the box under the pointer.
constexpr unsigned CheckFrameColor = 8409372;      // RGB(28, 82, 128)
constexpr unsigned CheckHighlightColor = 2203937;  // RGB(33, 161, 33)
}  // namespace SetFrmLook
