// Builds the settings dialog's controls and binds their events to the dialog's handlers.
#include <algorithm>
#include <initializer_list>
#include <map>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/uSetFrmLayout.h"
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
    CreatePageRows(tsxhbx, "tsxhbx");
    CreateListPage();
    CreatePageRows(tsxtsz, "tsxtsz");
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

void TSetFrmQt::CreatePageRows(QWidget* page, const char* pageName) {
    using SetFrmLayout::TKind;
    std::map<std::string_view, QWidget*> built;
    std::map<QWidget*, std::vector<std::pair<int, QWidget*>>> chains;  // each parent's tab order
    const QString flatBorder = QStringLiteral("QLineEdit { border: 1px solid #808080; }");
    for (const SetFrmLayout::TControl& row : SetFrmLayout::Controls()) {
        if (std::string_view(SetFrmLayout::PageOf(row)) != pageName) continue;
        const auto found = built.find(row.Parent);
        QWidget* parent = found == built.end() ? page : found->second;
        const QRect r(row.Bounds.Left, row.Bounds.Top, row.Bounds.Width, row.Bounds.Height);
        QWidget* w = nullptr;
        switch (row.Kind) {
            case TKind::Group:
                w = new TGroupBox(parent, Q(row.Text));
                break;
            case TKind::Label:
                w = new TLabel(parent, Q(row.Text));
                break;
            case TKind::Check:
                if (row.Framed) {
                    auto* box = new TRzCheckBox(parent, Q(row.Text));
                    box->CenterCaption = row.Centered;
                    w = box;
                } else {
                    w = new TCheckBox(parent, Q(row.Text));
                }
                break;
            case TKind::Edit: {
                TEdit* edit = row.Framed ? new TRzEdit(parent) : new TEdit(parent);
                if (row.RightAligned) {
                    edit->setLayoutDirection(Qt::RightToLeft);
                    edit->setStyleSheet(flatBorder);
                }
                edit->setText(Q(row.Text));  // before its change handler is bound
                w = edit;
                break;
            }
            case TKind::Number: {
                auto* number = new TRzNumericEdit(parent, TSetFrm::PeriodMin, TSetFrm::PeriodMax);
                number->SetValue(QString::fromLatin1(row.Text).toInt());
                w = number;
                break;
            }
            case TKind::Time: {
                auto* time = new TTimeEdit(parent);
                time->setTime(QTime::fromString(QString::fromLatin1(row.Text), QStringLiteral("HH:mm")));
                w = time;
                break;
            }
            case TKind::ButtonEdit:
                w = new TRzButtonEdit(parent);
                break;
            case TKind::Image: {
                auto* image = new TImage(parent);
                image->SetPicture(BrowsePicture());  // the only picture on the pages
                image->setCursor(Qt::PointingHandCursor);
                w = image;
                break;
            }
        }
        Own(w, row.Name);
        if (row.Kind == TKind::Label) {
            w->move(r.topLeft());
        } else {
            w->setGeometry(r);
        }
        if (row.Hidden) w->hide();
        if (row.Tab != SetFrmLayout::NoTab) chains[parent].emplace_back(row.Tab, w);
        built[row.Name] = w;
    }
    // The fields that name the widgets the page's rows made.
    const auto take = [&built](auto*& field, const char* name) {
        const auto it = built.find(name);
        if (it != built.end()) field = static_cast<std::remove_reference_t<decltype(field)>>(it->second);
    };
    take(GroupBox2, "GroupBox2");
    take(chk_startxhbx, "chk_startxhbx");
    take(lbl_xhbxzq, "lbl_xhbxzq");
    take(edt_XHBX_XHZQ, "edt_XHBX_XHZQ");
    take(lbl_2, "lbl_2");
    take(lbl_13, "lbl_13");
    take(edt_XHBX_TXNR, "edt_XHBX_TXNR");
    take(cbDsbj, "cbDsbj");
    take(Label6, "Label6");
    take(edt_OnTime, "edt_OnTime");
    take(Label9, "Label9");
    take(edtOnTimeTXNR, "edtOnTimeTXNR");
    take(cbDsbj2, "cbDsbj2");
    take(Label7, "Label7");
    take(edt_OnTime2, "edt_OnTime2");
    take(Label10, "Label10");
    take(edtOnTimeTXNR2, "edtOnTimeTXNR2");
    take(cbDsbj3, "cbDsbj3");
    take(Label8, "Label8");
    take(edt_OnTime3, "edt_OnTime3");
    take(Label11, "Label11");
    take(edtOnTimeTXNR3, "edtOnTimeTXNR3");
    take(GroupBox1, "GroupBox1");
    take(chk_XHFlash, "chk_XHFlash");
    take(Label4, "Label4");
    take(edt_flashlonger, "edt_flashlonger");
    take(Label5, "Label5");
    take(Label1, "Label1");
    take(edt_XHBX_Flash, "edt_XHBX_Flash");
    take(img_XHBX_Flash, "img_XHBX_Flash");
    take(Label2, "Label2");
    take(edt_XHBX_FlashWord, "edt_XHBX_FlashWord");
    take(chk_KJQD, "chk_KJQD");
    take(lbl_4, "lbl_4");
    take(edt_BJTP, "edt_BJTP");
    for (auto& [parent, chain] : chains) {
        std::sort(chain.begin(), chain.end());
        for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
    }
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
