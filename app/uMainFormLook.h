#pragma once
// How the main window looks, the same in every frontend: the colours of its parts (stored values,
// red in the low byte) and the heights of its title strip and banner strip in 96-dpi pixels.
namespace MainFormLook {
constexpr unsigned TitleStripColor = 16776176;  // RGB(240, 251, 255)
constexpr unsigned ContentColor = 15915206;     // RGB(198, 216, 242)
constexpr unsigned ClockColor = 16711680;       // RGB(0, 0, 255)
constexpr int TitleHeight = 22;
constexpr int BannerHeight = 90;
}  // namespace MainFormLook
