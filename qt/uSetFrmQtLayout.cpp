// Builds the settings dialog's controls and binds their events to the dialog's handlers.
#include <initializer_list>

#include "qt/uMouseButton.h"
#include "qt/uSetControls.h"
#include "qt/uSetFrmLook.h"
#include "qt/uSetFrmQt.h"
#include "qt/uSetPictures.h"
#include "qt/uTimeEdit.h"

using namespace setdlg;

namespace {

void TabOrder(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

}  // namespace

// ---- building ------------------------------------------------------------------------------------

void TSetFrmQt::CreateComponents() {
    CreateTitleStrip();
    CreateNavigation();
    CreatePageArea();
    ImageList = Own(new TImageList(this, ListButtonPictures()), "ImageList");
    CreateReminderPage();
    CreateAnimationGroup();
    CreateListPage();
    CreateSystemPage();
    pgc1->SetActivePage(tsdsbx);
}

void TSetFrmQt::CreateTitleStrip() {
    pnl3 = Own(new TPanel(this), "pnl3");
    pnl3->setGeometry(0, 0, 703, 22);
    pnl3->SetColor(kTitleColor);
    SetAlign(pnl3, TAlign::Top);

    pnl_TOP = Own(new TPanel(pnl3), "pnl_TOP");
    pnl_TOP->setGeometry(0, 0, 703, 22);
    SetAlign(pnl_TOP, TAlign::Top);

    pnl_TOP_R2 = Own(new TPanel(pnl_TOP), "pnl_TOP_R2");
    pnl_TOP_R2->setGeometry(676, 0, 27, 22);
    pnl_TOP_R2->SetColor(kTitleColor);
    SetAlign(pnl_TOP_R2, TAlign::Right);

    img3 = Own(new TImage(pnl_TOP_R2), "img3");
    img3->setGeometry(0, 0, 25, 22);
    img3->SetPicture(ClosePicture());
    img3->SetStretch(true);
    img3->setCursor(Qt::PointingHandCursor);

    pnl_TOP_CLIENT = Own(new TPanel(pnl_TOP), "pnl_TOP_CLIENT");
    pnl_TOP_CLIENT->setGeometry(0, 0, 676, 22);
    pnl_TOP_CLIENT->SetColor(kTitleColor);
    SetAlign(pnl_TOP_CLIENT, TAlign::Client);

    img1 = Own(new TImage(pnl_TOP_CLIENT), "img1");
    img1->setGeometry(0, 0, 676, 22);
    SetAlign(img1, TAlign::Client);

    // Created after img1, so it lies above it and a press on it starts no drag.
    lbl_3 = Own(new TLabel(pnl_TOP_CLIENT, Q("参数设置")), "lbl_3");
    lbl_3->setFont(Face(12, true));
    lbl_3->setGeometry(15, 7, 52, 12);
}

void TSetFrmQt::CreateNavigation() {
    pnl1 = Own(new TPanel(this), "pnl1");
    pnl1->setGeometry(0, 22, 137, 319);
    pnl1->SetColor(kNavColor);
    SetAlign(pnl1, TAlign::Left);

    struct Entry {
        TPanel*& panel;
        const char* panelName;
        int top;
        TImage*& image;
        const char* imageName;
        TLabel*& label;
        const char* labelName;
        const char* caption;
        bool hidden;
    };
    const Entry entries[] = {
        {pnl_leftbtn_xhbx, "pnl_leftbtn_xhbx", 0, img_leftbtn_XHBX, "img_leftbtn_XHBX", lbl_11, "lbl_11",
         "提醒设置", false},
        {pnl_leftbtn_dsbx, "pnl_leftbtn_dsbx", 41, img_leftbtn_DSBX, "img_leftbtn_DSBX", lbl_12, "lbl_12",
         "定时报醒", true},
        {pnl_leftbtn_xtsz, "pnl_leftbtn_xtsz", 82, img_leftbtn_XTSZ, "img_leftbtn_XTSZ", lbl_1, "lbl_1",
         "系统设置", false},
    };
    const QPixmap bar = HighlightBarPicture();
    for (const Entry& e : entries) {
        e.panel = Own(new TPanel(pnl1), e.panelName);
        e.panel->setFont(Face(14, true));
        e.panel->setGeometry(0, e.top, 137, 41);
        e.panel->SetColor(kNavColor);
        if (e.hidden) e.panel->hide();
        SetAlign(e.panel, TAlign::Top);

        // The image is created first so the caption stays readable above the highlight.
        e.image = Own(new TImage(e.panel), e.imageName);
        e.image->setGeometry(114, 8, 80, 23);
        e.image->SetPicture(bar);
        e.image->SetStretch(true);
        e.image->setCursor(Qt::PointingHandCursor);
        e.image->hide();
        SetAlign(e.image, TAlign::Client);  // the bar covers the whole entry when it shows

        e.label = Own(new TLabel(e.panel, Q(e.caption)), e.labelName);
        e.label->setGeometry(35, 14, 60, 14);
        e.label->setCursor(Qt::PointingHandCursor);
    }
}

void TSetFrmQt::CreatePageArea() {
    pnl2 = Own(new TPanel(this), "pnl2");
    pnl2->setGeometry(137, 22, 566, 319);
    pnl2->SetColor(kPageColor);
    QPalette black = pnl2->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    pnl2->setPalette(black);
    pnl2->setFont(Face(12, false));
    SetAlign(pnl2, TAlign::Client);

    Panel1 = Own(new TPanel(pnl2), "Panel1");
    Panel1->setGeometry(0, 0, 566, 3);
    Panel1->SetColor(kNavColor);
    SetAlign(Panel1, TAlign::Top);

    pnl4 = Own(new TPanel(pnl2), "pnl4");
    pnl4->setGeometry(563, 3, 3, 313);
    pnl4->SetColor(kNavColor);
    SetAlign(pnl4, TAlign::Right);

    pnl_bottom = Own(new TPanel(pnl2), "pnl_bottom");
    pnl_bottom->setGeometry(0, 316, 566, 3);
    pnl_bottom->SetColor(kNavColor);
    SetAlign(pnl_bottom, TAlign::Bottom);

    pgc1 = Own(new TPageControl(pnl2), "pgc1");
    pgc1->setGeometry(0, 3, 563, 313);
    pgc1->setContentsMargins(4, 5, 4, 5);  // pages of 555 x 303
    SetAlign(pgc1, TAlign::Client);
    tsxhbx = Own(pgc1->AddPage("tsxhbx"), "tsxhbx");
    tsdsbx = Own(pgc1->AddPage("tsdsbx"), "tsdsbx");
    tsxtsz = Own(pgc1->AddPage("tsxtsz"), "tsxtsz");
}

void TSetFrmQt::CreateReminderPage() {
    GroupBox2 = Own(new TGroupBox(tsxhbx, Q("提醒设置")), "GroupBox2");
    GroupBox2->setGeometry(8, 8, 539, 257);
    QWidget* g = GroupBox2;

    auto label = [&](TLabel*& field, const char* name, const char* caption, int left, int top) {
        field = Own(new TLabel(g, Q(caption)), name);
        field->move(left, top);
    };
    auto check = [&](TRzCheckBox*& field, const char* name, const char* caption, QRect r) {
        field = Own(new TRzCheckBox(g, Q(caption)), name);
        field->setGeometry(r);
        field->CenterCaption = true;
    };
    auto edit = [&](TRzEdit*& field, const char* name, const char* text, QRect r) {
        field = Own(new TRzEdit(g), name);
        field->setGeometry(r);
        field->setText(Q(text));
    };
    auto time = [&](QTimeEdit*& field, const char* name, int left, int top) {
        field = Own(new TTimeEdit(g), name);
        field->setTime(QTime(0, 0));
        field->setGeometry(left, top, 81, 20);
    };

    check(chk_startxhbx, "chk_startxhbx", "循环提醒", QRect(16, 18, 67, 20));
    label(lbl_xhbxzq, "lbl_xhbxzq", "循环周期：", 92, 22);
    edt_XHBX_XHZQ = Own(new TRzNumericEdit(g, TSetFrm::PeriodMin, TSetFrm::PeriodMax), "edt_XHBX_XHZQ");
    edt_XHBX_XHZQ->setGeometry(151, 18, 81, 20);
    edt_XHBX_XHZQ->SetValue(0);
    label(lbl_2, "lbl_2", "分钟", 240, 22);
    label(lbl_13, "lbl_13", "提醒内容：", 33, 49);
    edit(edt_XHBX_TXNR, "edt_XHBX_TXNR", "主人，工作半天了，可以出去溜达下了", QRect(92, 45, 415, 20));
    check(cbDsbj, "cbDsbj", "定时提醒", QRect(16, 81, 67, 16));
    label(Label6, "Label6", "定点时间：", 92, 83);
    time(edt_OnTime, "edt_OnTime", 151, 79);
    label(Label9, "Label9", "提醒内容：", 33, 109);
    edit(edtOnTimeTXNR, "edtOnTimeTXNR", "副本已重置，开始新的征程", QRect(92, 105, 415, 20));
    check(cbDsbj2, "cbDsbj2", "定时提醒", QRect(16, 141, 73, 16));
    label(Label7, "Label7", "定点时间：", 92, 143);
    time(edt_OnTime2, "edt_OnTime2", 151, 139);
    label(Label10, "Label10", "提醒内容：", 33, 168);
    edit(edtOnTimeTXNR2, "edtOnTimeTXNR2", "", QRect(92, 164, 415, 20));
    check(cbDsbj3, "cbDsbj3", "定时提醒", QRect(16, 201, 73, 16));
    label(Label8, "Label8", "定点时间：", 92, 203);
    time(edt_OnTime3, "edt_OnTime3", 151, 199);
    label(Label11, "Label11", "提醒内容：", 33, 228);
    edit(edtOnTimeTXNR3, "edtOnTimeTXNR3", "", QRect(92, 224, 415, 20));

    TabOrder({edt_OnTime, edt_OnTime2, edt_OnTime3, chk_startxhbx, cbDsbj3, cbDsbj, cbDsbj2, edt_XHBX_TXNR,
              edtOnTimeTXNR, edtOnTimeTXNR2, edtOnTimeTXNR3, edt_XHBX_XHZQ});
}

void TSetFrmQt::CreateAnimationGroup() {
    // Lies below the page's bottom edge and stays hidden; its controls are still filled and saved.
    GroupBox1 = Own(new TGroupBox(tsxhbx, Q("动画播放")), "GroupBox1");
    GroupBox1->setGeometry(8, 312, 401, 65);
    GroupBox1->hide();
    QWidget* g = GroupBox1;
    const QString flatBorder = QStringLiteral("QLineEdit { border: 1px solid #808080; }");

    chk_XHFlash = Own(new TCheckBox(g, Q("启用循环报醒动画")), "chk_XHFlash");
    chk_XHFlash->setGeometry(21, 18, 124, 17);
    Label4 = Own(new TLabel(g, Q("动画时长：")), "Label4");
    Label4->move(21, 49);
    edt_flashlonger = Own(new TEdit(g), "edt_flashlonger");
    edt_flashlonger->setGeometry(86, 45, 81, 20);
    edt_flashlonger->setLayoutDirection(Qt::RightToLeft);
    edt_flashlonger->setStyleSheet(flatBorder);
    edt_flashlonger->setText(QStringLiteral("20"));  // before its change handler is bound
    Label5 = Own(new TLabel(g, Q("秒 (范围 0-45 秒)")), "Label5");
    Label5->move(174, 49);
    Label1 = Own(new TLabel(g, Q("自选动画：")), "Label1");
    Label1->move(21, 80);
    edt_XHBX_Flash = Own(new TEdit(g), "edt_XHBX_Flash");
    edt_XHBX_Flash->setGeometry(86, 77, 247, 20);
    img_XHBX_Flash = Own(new TImage(g), "img_XHBX_Flash");
    img_XHBX_Flash->setGeometry(333, 76, 20, 20);
    img_XHBX_Flash->SetPicture(BrowsePicture());
    img_XHBX_Flash->setCursor(Qt::PointingHandCursor);
    Label2 = Own(new TLabel(g, Q("动画文字：")), "Label2");
    Label2->move(21, 113);
    edt_XHBX_FlashWord = Own(new TEdit(g), "edt_XHBX_FlashWord");
    edt_XHBX_FlashWord->setGeometry(86, 109, 243, 20);
    edt_XHBX_FlashWord->setLayoutDirection(Qt::RightToLeft);
    edt_XHBX_FlashWord->setStyleSheet(flatBorder);
    edt_XHBX_FlashWord->setText(Q("到 点 啦！！"));

    TabOrder({chk_XHFlash, edt_XHBX_Flash, edt_XHBX_FlashWord, edt_flashlonger});
}

void TSetFrmQt::CreateListPage() {
    RzPanel1 = Own(new TRzPanel(tsdsbx, TRzPanel::Border::None), "RzPanel1");
    RzPanel1->SetColor(kPageColor);
    SetAlign(RzPanel1, TAlign::Client);

    RzBitBtn1 = Own(new TRzBitBtn(RzPanel1, QStringLiteral("Insert Record"), ImageList, 0, 3), "RzBitBtn1");
    RzBitBtn1->setGeometry(8, 0, 33, 33);
    RzBitBtn2 = Own(new TRzBitBtn(RzPanel1, QStringLiteral("Delete Record"), ImageList, 2, 5), "RzBitBtn2");
    RzBitBtn2->setGeometry(48, 0, 33, 33);

    RzPanel2 = Own(new TRzPanel(RzPanel1, TRzPanel::Border::FlatRounded), "RzPanel2");
    RzPanel2->SetColor(kPageColor);
    RzPanel2->setContentsMargins(2, 2, 2, 2);
    RzPanel2->setGeometry(8, 38, 541, 261);

    const QFont listFont = Face(14, false);
    RzCheckList1 = Own(new TRzCheckList(RzPanel2), "RzCheckList1");
    RzCheckList1->setFont(listFont);
    RzCheckList1->setGeometry(2, 2, 157, 257);
    SetAlign(RzCheckList1, TAlign::Left);
    RzCheckList1->AddItem(QStringLiteral("asd"));
    RzCheckList1->AddItem(QStringLiteral("asdf"));

    RzPanel3 = Own(new TRzPanel(RzPanel2, TRzPanel::Border::FlatLeft), "RzPanel3");
    RzPanel3->SetColor(kPageColor);
    RzPanel3->setFont(listFont);
    SetAlign(RzPanel3, TAlign::Client);
    QWidget* p = RzPanel3;

    rbOnTime = Own(new TRadioButton(p, Q("定点时间：")), "rbOnTime");
    rbOnTime->setGeometry(8, 13, 89, 14);
    cxTimeEdit1 = Own(new TTimeEdit(p), "cxTimeEdit1");
    cxTimeEdit1->setTime(QTime(0, 0));
    cxTimeEdit1->setGeometry(91, 10, 66, 22);
    rbLoopTime = Own(new TRadioButton(p, Q("循环分钟：")), "rbLoopTime");
    rbLoopTime->setGeometry(184, 12, 90, 17);
    RzNumericEdit1 = Own(new TRzNumericEdit(p, 0, INT32_MAX), "RzNumericEdit1");
    RzNumericEdit1->setGeometry(269, 10, 66, 22);
    RzNumericEdit1->SetValue(0);
    RzRadioButton4 = Own(new TRadioButton(p, Q("提醒内容：")), "RzRadioButton4");
    RzRadioButton4->setGeometry(8, 45, 89, 14);
    RzRadioButton4->setChecked(true);
    RzEdit1 = Own(new TRzEdit(p), "RzEdit1");
    RzEdit1->setGeometry(91, 41, 268, 22);
    RzRadioButton3 = Own(new TRadioButton(p, Q("执行程序：")), "RzRadioButton3");
    RzRadioButton3->setGeometry(8, 77, 89, 14);
    RzButtonEdit1 = Own(new TRzButtonEdit(p), "RzButtonEdit1");
    RzButtonEdit1->setGeometry(91, 73, 268, 22);

    struct Day {
        TRzCheckBox*& box;
        const char* name;
        const char* caption;
        int left;
        int top;
    };
    const Day days[] = {
        {RzCheckBox1, "RzCheckBox1", "星期一", 8, 104},   {RzCheckBox2, "RzCheckBox2", "星期二", 84, 104},
        {RzCheckBox3, "RzCheckBox3", "星期三", 156, 104}, {RzCheckBox4, "RzCheckBox4", "星期四", 220, 104},
        {RzCheckBox5, "RzCheckBox5", "星期五", 8, 131},   {RzCheckBox6, "RzCheckBox6", "星期六", 84, 131},
        {RzCheckBox7, "RzCheckBox7", "星期日", 156, 131},
    };
    for (const Day& d : days) {
        d.box = Own(new TRzCheckBox(p, Q(d.caption)), d.name);
        d.box->setGeometry(d.left, d.top, 61, 17);
    }

    TabOrder({RzEdit1, cxTimeEdit1, RzButtonEdit1, RzCheckBox1, RzCheckBox2, RzCheckBox3, RzCheckBox4,
              RzCheckBox5, RzCheckBox6, RzCheckBox7, rbOnTime, rbLoopTime, RzNumericEdit1, RzRadioButton3,
              RzRadioButton4});
}

void TSetFrmQt::CreateSystemPage() {
    chk_KJQD = Own(new TRzCheckBox(tsxtsz, Q("开机启动")), "chk_KJQD");
    chk_KJQD->setGeometry(18, 16, 115, 17);
    lbl_4 = Own(new TLabel(tsxtsz, Q("界面背景：")), "lbl_4");
    lbl_4->move(18, 50);
    edt_BJTP = Own(new TRzButtonEdit(tsxtsz), "edt_BJTP");
    edt_BJTP->setGeometry(80, 46, 443, 20);
}

void TSetFrmQt::BindHandlers() {
    img1->OnMouseDown = [this](QObject*, Qt::MouseButton button, int x, int y) {
        Form.img1MouseDown(x, y, ToMouseButton(button), {0, 0, img1->width(), img1->height()});
    };
    img1->OnMouseMove = [this](QObject*, int x, int y) { Form.img1MouseMove(x, y); };
    img1->OnMouseUp = [this](QObject*, Qt::MouseButton, int, int) { Form.img1MouseUp(); };
    img1->setMouseTracking(true);
    img3->OnClick = [this](QObject*) { Form.img3Click(); };

    auto track = [](TPanel* panel, TMouseMoveEvent handler) {
        panel->OnMouseMove = std::move(handler);
        panel->setMouseTracking(true);
    };
    track(pnl_leftbtn_xhbx, [this](QObject*, int, int) { Form.pnl_leftbtn_xhbxMouseMove(); });
    track(pnl_leftbtn_dsbx, [this](QObject*, int, int) { Form.pnl_leftbtn_dsbxMouseMove(); });
    track(pnl_leftbtn_xtsz, [this](QObject*, int, int) { Form.pnl_leftbtn_xtszMouseMove(); });
    track(pnl1, [this](QObject*, int, int) { Form.pnl1MouseMove(); });
    track(pnl3, [this](QObject*, int, int) { Form.pnl3MouseMove(); });

    const TNotifyEvent xhbx = [this](QObject*) { Form.img_leftbtn_XHBXClick(); };
    const TNotifyEvent dsbx = [this](QObject*) { Form.img_leftbtn_DSBXClick(); };
    const TNotifyEvent xtsz = [this](QObject*) { Form.img_leftbtn_XTSZClick(); };
    img_leftbtn_XHBX->OnClick = lbl_11->OnClick = xhbx;
    img_leftbtn_DSBX->OnClick = lbl_12->OnClick = dsbx;
    img_leftbtn_XTSZ->OnClick = lbl_1->OnClick = xtsz;

    edt_flashlonger->OnChange = [this](QObject*) { Form.edt_flashlongerChange(); };
    edt_flashlonger->OnKeyPress = [this](QObject*, char& key) { Form.edt_XHBX_XHZQ1KeyPress(key); };
    img_XHBX_Flash->OnClick = [this](QObject*) { Form.img_XHBX_FlashClick(); };
    edt_BJTP->OnButtonClick = [this](QObject*) { Form.edt_BJTPButtonClick(); };
}
