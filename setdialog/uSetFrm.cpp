#include "setdialog/uSetFrm.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <QShowEvent>
#include <QTimeEdit>

#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "setdialog/uSetControls.h"
#include "setdialog/uSetFrmLook.h"
#include "settings/uStrings.h"
#include "settings/uSysUtils.h"
#include "settings/uTimerInfo.h"
#include "settings/uToolsObj.h"
#include "window/uFormMove.h"
#include "window/uQtText.h"

using namespace setdlg;

TSetFrm* SetFrm = nullptr;

namespace {

// Upper-cases the ASCII letters a to z only; every other byte stays as it is.
AnsiString UpperAscii(AnsiString text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

QTime ToQTime(TDateTime value) {
    int hour = 0, minute = 0, second = 0, ms = 0;
    SysUtils::DecodeTime(value, hour, minute, second, ms);
    return QTime(hour, minute);
}

// The editor's time of day in the user's long time format ("07:30:00").
AnsiString LongTimeText(const QTimeEdit* editor) {
    const QTime t = editor->time();
    const TDateTime value = SysUtils::EncodeTime(t.hour(), t.minute(), 0, 0);
    return SysUtils::FormatDateTime(plat::CurrentFormatSettings().LongTimeFormat, value);
}

AnsiString Checked(const QAbstractButton* box) {
    return TTools::IIF(box->isChecked(), "1", "0");
}

AnsiString TrimmedText(const QLineEdit* edit) {
    return SysUtils::Trim(FromQ(edit->text()));
}

// Every picture format the toolkit can read, all together first, then one by one, named in Chinese
// like the rest of the chooser.
QString PictureFilter() {
    QStringList patterns;
    QStringList single;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
        patterns << pattern;
        single << Q("%1 图片 (%2)").arg(QString::fromLatin1(format).toUpper(), pattern);
    }
    return Q("所有图片 (%1);;").arg(patterns.join(u' ')) + single.join(QStringLiteral(";;"));
}

}  // namespace

QString TSetFrm::ClassName(const QObject* component) {
    const QString full = QString::fromLatin1(component->metaObject()->className());
    const qsizetype colon = full.lastIndexOf(u':');
    return colon < 0 ? full : full.mid(colon + 1);
}

TSetFrm::TSetFrm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SetFrm"));
    setWindowTitle(Q("设置"));
    setFont(Face(12, false));
    setFixedSize(703, 341);
    CreateComponents();
    BindHandlers();
    FormCreate();
}

TSetFrm::~TSetFrm() {
    FormDestroy();
}

void TSetFrm::FormCreate() {
    FormMove = std::make_unique<TFormMove>();
}

void TSetFrm::FormDestroy() {
    FormMove.reset();
}

void TSetFrm::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        if (s) move(s->geometry().center() - QPoint(width() / 2, height() / 2));
        // The first control of the tab order of the page the dialog opens on, as if tabbed to: a time
        // editor then has its hour selected, ready to be typed over.
        edt_OnTime->setFocus(Qt::TabFocusReason);
    }
    QDialog::showEvent(event);
}

// ---- navigation ----------------------------------------------------------------------------------

void TSetFrm::ShowHoverImage(const AnsiString& name) {
    const AnsiString wanted = UpperAscii(name);
    for (QObject* component : FComponents) {
        if (UpperAscii(FromQ(ClassName(component))) != "TIMAGE") continue;
        const AnsiString componentName = FromQ(component->objectName());
        if (componentName.find("_leftbtn_") == AnsiString::npos) continue;
        auto* image = static_cast<TImage*>(component);
        image->setVisible(UpperAscii(componentName) == wanted);
        SetAlign(image, TAlign::Client);
    }
}

void TSetFrm::SelectNavButton(const AnsiString& name) {
    const AnsiString wanted = UpperAscii(name);
    for (QObject* component : FComponents) {
        if (UpperAscii(FromQ(ClassName(component))) != "TPANEL") continue;
        const AnsiString componentName = FromQ(component->objectName());
        if (componentName.find("_leftbtn_") == AnsiString::npos) continue;
        static_cast<TPanel*>(component)->SetColor(UpperAscii(componentName) == wanted ? kNavSelectedColor
                                                                                      : kNavColor);
    }
}

void TSetFrm::img1MouseDown(Qt::MouseButton button, int x, int y) {
    FormMove->BeginMove(this, x, y, button, img1->geometry());
}

void TSetFrm::img1MouseMove(int x, int y) {
    FormMove->MoveTo(x, y);
}

void TSetFrm::img1MouseUp(Qt::MouseButton, int, int) {
    FormMove->EndMove();
}

void TSetFrm::pnl_leftbtn_xhbxMouseMove(int, int) {
    ShowHoverImage("img_leftbtn_XHBX");
}

void TSetFrm::pnl_leftbtn_dsbxMouseMove(int, int) {
    ShowHoverImage("img_leftbtn_DSBX");
}

void TSetFrm::pnl_leftbtn_xtszMouseMove(int, int) {
    ShowHoverImage("img_leftbtn_XTSZ");
}

void TSetFrm::pnl1MouseMove(int, int) {
    ShowHoverImage("NUN");
}

void TSetFrm::pnl3MouseMove(int, int) {
    ShowHoverImage("NUN");
}

void TSetFrm::img_leftbtn_XHBXClick(QObject*) {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_XHBX");
    pgc1->SetActivePage(tsxhbx);
}

void TSetFrm::img_leftbtn_DSBXClick(QObject*) {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_dsBX");
    pgc1->SetActivePage(tsdsbx);
}

void TSetFrm::img_leftbtn_XTSZClick(QObject*) {
    ShowHoverImage("NUN");
    SelectNavButton("pnl_leftbtn_Xtsz");
    pgc1->SetActivePage(tsxtsz);
}

void TSetFrm::img3Click(QObject*) {
    SaveAll();  // raises on a failed write: the dialog then stays open
    accept();
}

// ---- filling -------------------------------------------------------------------------------------

namespace {
// Puts a text into an edit showing its beginning (setText leaves the caret, and the view, at the end).
void SetEditText(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}
}  // namespace

void TSetFrm::LoadData(TXHBX settings, TTimerInfos* list) {
    TimerInfos = list;
    chk_startxhbx->setChecked(settings.startXHBJ);
    edt_XHBX_XHZQ->SetValue(settings.xhzq);
    SetEditText(edt_XHBX_TXNR, ToQ(settings.txnr));
    cbDsbj->setChecked(settings.startDSBJ);
    edt_OnTime->setTime(ToQTime(settings.OnTime));
    SetEditText(edtOnTimeTXNR, ToQ(settings.OnTimeTxnr));
    cbDsbj2->setChecked(settings.startDSBJ2);
    edt_OnTime2->setTime(ToQTime(settings.OnTime2));
    SetEditText(edtOnTimeTXNR2, ToQ(settings.OnTimeTxnr2));
    cbDsbj3->setChecked(settings.startDSBJ3);
    edt_OnTime3->setTime(ToQTime(settings.OnTime3));
    SetEditText(edtOnTimeTXNR3, ToQ(settings.OnTimeTxnr3));
    chk_XHFlash->setChecked(settings.startXHBJFlash);
    SetEditText(edt_XHBX_Flash, ToQ(settings.XHBXFlashSetByUser));
    SetEditText(edt_XHBX_FlashWord, ToQ(settings.XHBXFlashWord));
    // A changed text runs the range check, which may reset it to "20".
    edt_flashlonger->setText(ToQ(SysUtils::IntToStr(settings.flashLonger)));
}

void TSetFrm::LoadAutoRun() {
    const AnsiString value =
        TTools::RegReadString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName);
    chk_KJQD->setChecked(value == TTools::GetExeName());
}

void TSetFrm::LoadBackground(const AnsiString& path) {
    SetEditText(edt_BJTP, ToQ(path));
}

// ---- saving --------------------------------------------------------------------------------------

bool TSetFrm::SaveAll() {
    SaveXHBX();
    SaveTimerInfos();
    SaveXTSZ();
    return true;
}

void TSetFrm::SaveXHBX() {
    auto write = [](const char* key, const AnsiString& value) { TTools::WriteIni("XHBX", key, value); };
    // The period box holds plain digits within its range; an emptied box stands for one minute.
    const bool periodEmpty = TrimmedText(edt_XHBX_XHZQ).empty();
    // The animation length is written as its check reads it: an empty box is 0.
    AnsiString flashLonger = TrimmedText(edt_flashlonger);
    if (flashLonger.empty()) flashLonger = "0";

    write("startXHBJ", Checked(chk_startxhbx));
    write("xhzq", periodEmpty ? AnsiString("1") : SysUtils::IntToStr(edt_XHBX_XHZQ->Value()));
    write("startDSBJ", Checked(cbDsbj));
    write("OnTime", LongTimeText(edt_OnTime));
    write("OnTimeTxnr", TrimmedText(edtOnTimeTXNR));
    write("startDSBJ2", Checked(cbDsbj2));
    write("OnTime2", LongTimeText(edt_OnTime2));
    write("OnTimeTxnr2", TrimmedText(edtOnTimeTXNR2));
    write("startDSBJ3", Checked(cbDsbj3));
    write("OnTime3", LongTimeText(edt_OnTime3));
    write("OnTimeTxnr3", TrimmedText(edtOnTimeTXNR3));
    write("txnr", FromQ(edt_XHBX_TXNR->text()));
    write("startXHBJFlash", Checked(chk_XHFlash));
    write("XHBXFlashSetByUser", TrimmedText(edt_XHBX_Flash));
    write("XHBXFlashWord", TrimmedText(edt_XHBX_FlashWord));
    write("flashLonger", flashLonger);
}

bool TSetFrm::SaveTimerInfos() {
    return true;
}

void TSetFrm::SaveXTSZ() {
    TTools::WriteIni("XTSZ", "NotFirstStart", "1");
    if (chk_KJQD->isChecked())
        TTools::RegWriteString(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName,
                               TTools::GetExeName());
    else
        TTools::RegDelete(plat::RegRoot::LocalMachine, plat::RunKeyPath, AutoRunValueName);
    TTools::WriteIni("XTSZ", "BJTP", TrimmedText(edt_BJTP));
}

// ---- input help ----------------------------------------------------------------------------------

void TSetFrm::edt_XHBX_XHZQ1KeyPress(QObject*, char& key) {
    if (key != 8 && (key < '0' || key > '9')) key = 0;
}

void TSetFrm::edt_flashlongerChange(QObject*) {
    AnsiString text = FromQ(edt_flashlonger->text());
    if (text.empty()) text = "0";
    const int32_t seconds = SysUtils::StrToInt(text);
    if (seconds < 0 || seconds > 45) {
        plat::ShowMessageBox(Texts::Gbk("输入范围: 0-45 之间的一个值"),
                             FromQ(QGuiApplication::applicationDisplayName()), plat::MB_OK);
        edt_flashlonger->setText(QStringLiteral("20"));
    }
}

void TSetFrm::img_XHBX_FlashClick(QObject*) {
    if (!od_xhbx) {
        od_xhbx = Own(new QFileDialog(this), "od_xhbx");
        od_xhbx->setAcceptMode(QFileDialog::AcceptOpen);
        od_xhbx->setFileMode(QFileDialog::ExistingFile);
        od_xhbx->setNameFilter(Q("flash文件") + QStringLiteral(" (*.swf)"));
    }
    if (od_xhbx->exec() == QDialog::Accepted && !od_xhbx->selectedFiles().isEmpty())
        edt_XHBX_Flash->setText(QDir::toNativeSeparators(od_xhbx->selectedFiles().constFirst()));
}

void TSetFrm::edt_BJTPButtonClick(QObject*) {
    if (!OpenPic) {
        OpenPic = Own(new QFileDialog(this), "OpenPic");
        OpenPic->setWindowTitle(Q("界面背景"));
        OpenPic->setAcceptMode(QFileDialog::AcceptOpen);
        OpenPic->setFileMode(QFileDialog::ExistingFile);
        OpenPic->setNameFilter(PictureFilter());
    }
    if (OpenPic->exec() == QDialog::Accepted && !OpenPic->selectedFiles().isEmpty())
        edt_BJTP->setText(QDir::toNativeSeparators(OpenPic->selectedFiles().constFirst()));
}

// ---- the settings command's dialog ---------------------------------------------------------------

bool ShowSetForm(TXHBX settings, TTimerInfos* list) {
    const TXHBX copy = settings;
    SetFrm = new TSetFrm(nullptr);
    // The dialog goes away however the opening ends, even when filling it raises.
    struct Release {
        ~Release() {
            delete SetFrm;
            SetFrm = nullptr;
        }
    } release;
    SetFrm->img_leftbtn_XHBXClick(SetFrm->img_leftbtn_XHBX);
    SetFrm->LoadData(copy, list);
    SetFrm->LoadBackground(AppControl ? AppControl->BJTP : AnsiString());
    SetFrm->LoadAutoRun();
    SetFrm->exec();
    return true;
}
