#pragma once
// The program's message and question boxes, as the core asks for them (platform/Dialogs.h). Their
// buttons read 确定 and 取消 in every language, like the rest of the program and like the boxes of the
// Windows program; Qt's own button texts would follow the locale.
#include <QMessageBox>
#include <memory>

#include "platform/Types.h"

// The box for a text and caption (GBK) in a style of plat::MB_* flags: a question or error icon, and
// 确定 alone or 确定 and 取消 (MB_OKCANCEL). 确定 is the default button; Escape and closing the box
// count as 取消 where there is one.
std::unique_ptr<QMessageBox> MakeMessageBox(const AnsiString& text, const AnsiString& caption,
                                            unsigned style);
// Shows that box modally: plat::IDOK when 确定 was chosen, else plat::IDCANCEL.
int ShowMessageBoxQt(const AnsiString& text, const AnsiString& caption, unsigned style);
