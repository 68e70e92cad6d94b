#pragma once
// Colours, faces and caption text shared by the settings dialog's source files.
#include <QFont>
#include <QString>

#include "app/uSetFrmLook.h"
#include "qt/shell/uQtText.h"
#include "qt/uSetControls.h"
#include "settings/uStrings.h"

namespace setdlg {

inline constexpr TColor kNavColor = SetFrmLook::NavColor;
inline constexpr TColor kNavSelectedColor = SetFrmLook::NavSelectedColor;
inline constexpr TColor kTitleColor = SetFrmLook::TitleStripColor;
inline constexpr TColor kPageColor = SetFrmLook::PageColor;

// A fixed caption, written in the source as UTF-8.
inline QString Q(const char* utf8) {
    return ToQ(Texts::Gbk(utf8));
}

// The dialog's face at a pixel height.
inline QFont Face(int pixelSize, bool bold) {
    QFont font(Q("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace setdlg
