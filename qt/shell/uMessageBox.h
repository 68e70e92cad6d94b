#pragma once
// The program's message and question boxes, as the core asks for them (platform/Dialogs.h). Their
// buttons read 确定 and 取消 in every language, like the rest of the program and like the boxes of the
// Windows program; Qt's own button texts would follow the locale.
#include <QMessageBox>
#include <memory>

#include "platform/Dialogs.h"

// The box of a kind for a text and caption (GBK): a notice (确定 alone), an error (确定 and the error
// icon) or a question (确定 and 取消, the question icon). 确定 is the default button; Escape and
// closing the box count as 取消 where there is one.
std::unique_ptr<QMessageBox> MakeMessageBox(const AnsiString& text, const AnsiString& caption,
                                            plat::TBoxKind kind);
// Shows that box modally: plat::BoxOk when 确定 was chosen, else plat::BoxCancel.
int ShowMessageBoxQt(const AnsiString& text, const AnsiString& caption, plat::TBoxKind kind);
