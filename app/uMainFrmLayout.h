#pragma once
// The main window's layout as data, the same for every frontend: one row per control in creation
// order (a parent before its children, earlier siblings beneath later ones), each with its kind, its
// parent, its rectangle at the design size (442 x 259, 96-dpi pixels, relative to the parent), the
// edges it follows when the window is resized, and its fill, font or picture. Each frontend walks the
// rows and builds one widget per kind; Place() gives every control's rectangle for a window size.
#include <cstdint>
#include <string_view>
#include <vector>

#include "app/uViewTypes.h"

namespace MainFrmLayout {

enum class TKind {
    Panel,      // a flat panel filled with Color
    Image,      // a stretched picture leaving out its key colour; Picture names its file, if any
    Label,      // a one-line label sized to its text: only its origin is placed
    WrapLabel,  // a label that breaks its text at its width and shows Lines whole lines
    Browser,    // the banner page's view
};

// The parent's edges a control keeps its distance to. Left and right together stretch it with its
// parent's width, right alone moves it; the same for top and bottom.
enum TAnchor : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
constexpr unsigned AnchorTopLeft = AnchorLeft | AnchorTop;

// Colours that follow the system's scheme rather than a stored value.
constexpr TColor SystemButtonFace = 0x8000000F;
constexpr TColor SystemWindowText = 0x80000008;
constexpr bool IsSystemColor(TColor color) {
    return (color & 0x80000000U) != 0;
}

struct TFontLook {
    const char* Face = nullptr;  // UTF-8
    int Pixels = 12;             // character height in design pixels
    bool Bold = false;
    bool Gb2312 = false;  // asks for the GB2312 character set (else the ANSI one)
    TColor Color = SystemWindowText;
};

struct TControl {
    const char* Name;
    TKind Kind;
    const char* Parent;  // null: the window itself
    TRect Bounds;        // at the design size, relative to the parent
    unsigned Anchors = AnchorTopLeft;
    TColor Color = SystemButtonFace;  // a panel's fill
    TFontLook Font{};                 // a label's font
    const char* Picture = nullptr;    // an image's picture file in the resources
    bool Button = false;              // clicked: shows the pointing hand
    int Lines = 0;                    // a wrapping label's whole lines
};

// The pop-up menu pm_set: the captions (UTF-8) of its two commands, a separator between them.
constexpr const char* SetCommandCaption = "设置(&S)";
constexpr const char* ExitCommandCaption = "退出(&E)";

const std::vector<TControl>& Controls();
// The row of the named control; null when there is none.
const TControl* Find(std::string_view name);
// Every control's rectangle, in the order of Controls(), for a window of the given size.
std::vector<TRect> Place(int width, int height);

}  // namespace MainFrmLayout
