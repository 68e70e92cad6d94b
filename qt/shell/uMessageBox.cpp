#include "qt/shell/uMessageBox.h"

#include <QPushButton>

#include "platform/Dialogs.h"
#include "qt/shell/uE2EDump.h"
#include "qt/shell/uQtText.h"

std::unique_ptr<QMessageBox> MakeMessageBox(const AnsiString& text, const AnsiString& caption,
                                            plat::TBoxKind kind) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, ToQ(caption), ToQ(text));
    if (kind == plat::TBoxKind::Question) box->setIcon(QMessageBox::Question);
    if (kind == plat::TBoxKind::Error) box->setIcon(QMessageBox::Critical);
    QPushButton* ok = box->addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    if (kind == plat::TBoxKind::Question)
        box->setEscapeButton(box->addButton(QStringLiteral("取消"), QMessageBox::RejectRole));
    else
        box->setEscapeButton(ok);
    return box;
}

int ShowMessageBoxQt(const AnsiString& text, const AnsiString& caption, plat::TBoxKind kind) {
    const auto box = MakeMessageBox(text, caption, kind);
    E2EDump::Set(QStringLiteral("message"), box->text());  // for the end-to-end cases, as on Windows
    box->exec();
    // Closing the box any other way counts as 取消.
    return box->clickedButton() == box->defaultButton() ? plat::BoxOk : plat::BoxCancel;
}
