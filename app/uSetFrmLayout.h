#pragma once
// The settings dialog's pages as data, the same for every frontend: one row per control in creation
// order (a parent before its children), each with its kind, its parent (another row, or a page the
// frontend builds: "tsxhbx", "tsdsbx", "tsxtsz"), its rectangle at the design size (96-dpi pixels,
// relative to the parent; a label's width and height are left to its text), its caption or default
// text (UTF-8) and its place in the dialog's tab order. The dialog has a fixed size, so a rectangle is
// all a control needs to be placed.
#include <optional>
#include <string_view>
#include <vector>

#include "app/uViewTypes.h"
#include "settings/uSetControl.h"

namespace SetFrmLayout {

enum class TKind {
    Group,       // a framed group box with its caption
    Label,       // a one-line label sized to its text: only its origin is placed
    Check,       // a check box with its caption
    Edit,        // a one-line text box with its default text
    Number,      // a box for whole minutes, right-aligned, with its default value
    Time,        // a time-of-day editor showing "HH:MM"
    ButtonEdit,  // a text box with a browse button at its right end, inside the rectangle
    Image,       // a clickable picture; Picture names it
};

constexpr int NoTab = -1;

struct TControl {
    const char* Name;
    TKind Kind;
    const char* Parent;
    TRect Bounds;
    const char* Text = "";          // caption or default text
    int Tab = NoTab;                // place in the dialog's tab order, from 0
    bool Hidden = false;            // never shown (its controls are still filled and saved)
    bool Framed = true;             // a check box or text box with the dialog's own flat frame
    bool Centered = false;          // a check box whose caption is centred on the box's height
    bool RightAligned = false;      // a text box whose text keeps to its right edge
    const char* Picture = nullptr;  // an image's picture
};

const std::vector<TControl>& Controls();
// The row of the named control; null when there is none.
const TControl* Find(std::string_view name);
// The controls that take the keyboard, in tab order.
std::vector<const TControl*> TabOrder();
// The behaviour's id of a row's control, when the behaviour reaches it.
std::optional<TSetControl> ControlOf(std::string_view name);
// The page a row lies on (the parent that is not a row).
const char* PageOf(const TControl& control);
// Whether a row or one of its parents is never shown.
bool HiddenFor(const TControl& control);

}  // namespace SetFrmLayout
