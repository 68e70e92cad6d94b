#pragma once
// The settings dialog in Qt: the widgets of the borderless dialog with its title strip, navigation
// column and pages, telling the behaviour (TSetFrm) about every click, move and key and doing what it
// asks (ISetView).
#include <QDialog>

#include "app/uSetFrm.h"
#include "app/uSetView.h"
#include "platform/Types.h"

class QFileDialog;
class QTimeEdit;
class TImage;
class TLabel;

namespace setdlg {
using ::TImage;
using ::TLabel;
class TPanel;
class TEdit;
class TRzEdit;
class TRzButtonEdit;
class TRzNumericEdit;
class TRzCheckBox;
class TCheckBox;
class TRadioButton;
class TGroupBox;
class TPageControl;
class TTabSheet;
class TRzPanel;
class TRzBitBtn;
class TRzCheckList;
class TImageList;
}  // namespace setdlg

class TSetFrmQt : public QDialog, public ISetView {
    Q_OBJECT

public:
    // Builds the hidden dialog with all its pages; its events go to form. With an owner (the main
    // window) the dialog belongs to it: the window manager keeps it with its owner and gives it no
    // taskbar entry of its own.
    explicit TSetFrmQt(TSetFrm& form, QWidget* owner = nullptr);
    ~TSetFrmQt() override;

    // IWindowView
    TRect ScreenRect() const override;
    TRect WindowRect() const override;
    void PlaceWindow(const TRect& rect) override;
    TPoint ClientToScreen(TPoint client) const override;
    // ISetView
    AnsiString Text(TSetControl control) const override;
    void SetText(TSetControl control, const AnsiString& text) override;
    bool Checked(TSetControl control) const override;
    void SetChecked(TSetControl control, bool checked) override;
    void SetVisible(TSetControl control, bool visible) override;
    void SetColor(TSetControl control, TColor color) override;
    void ShowPage(TSetPage page) override;
    bool ChooseFile(const TFileChoice& choice, AnsiString& path) override;
    void ShowModal() override;
    void CloseModal() override;
    // The dialog has no cancel: Escape (and a close request) leaves it open with the user's input.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

public:
    TSetFrm& Form;

    // Title strip.
    setdlg::TPanel* pnl3 = nullptr;
    setdlg::TPanel* pnl_TOP = nullptr;
    setdlg::TPanel* pnl_TOP_R2 = nullptr;
    setdlg::TImage* img3 = nullptr;
    setdlg::TPanel* pnl_TOP_CLIENT = nullptr;
    setdlg::TImage* img1 = nullptr;
    setdlg::TLabel* lbl_3 = nullptr;
    // Navigation column.
    setdlg::TPanel* pnl1 = nullptr;
    setdlg::TPanel* pnl_leftbtn_xhbx = nullptr;
    setdlg::TImage* img_leftbtn_XHBX = nullptr;
    setdlg::TLabel* lbl_11 = nullptr;
    setdlg::TPanel* pnl_leftbtn_dsbx = nullptr;
    setdlg::TImage* img_leftbtn_DSBX = nullptr;
    setdlg::TLabel* lbl_12 = nullptr;
    setdlg::TPanel* pnl_leftbtn_xtsz = nullptr;
    setdlg::TImage* img_leftbtn_XTSZ = nullptr;
    setdlg::TLabel* lbl_1 = nullptr;
    // Page area.
    setdlg::TPanel* pnl2 = nullptr;
    setdlg::TPanel* Panel1 = nullptr;
    setdlg::TPanel* pnl4 = nullptr;
    setdlg::TPanel* pnl_bottom = nullptr;
    setdlg::TPageControl* pgc1 = nullptr;
    setdlg::TTabSheet* tsxhbx = nullptr;
    setdlg::TTabSheet* tsdsbx = nullptr;
    setdlg::TTabSheet* tsxtsz = nullptr;
    // Reminder page.
    setdlg::TGroupBox* GroupBox2 = nullptr;
    setdlg::TRzCheckBox* chk_startxhbx = nullptr;
    setdlg::TLabel* lbl_xhbxzq = nullptr;
    setdlg::TRzNumericEdit* edt_XHBX_XHZQ = nullptr;
    setdlg::TLabel* lbl_2 = nullptr;
    setdlg::TLabel* lbl_13 = nullptr;
    setdlg::TRzEdit* edt_XHBX_TXNR = nullptr;
    setdlg::TRzCheckBox* cbDsbj = nullptr;
    setdlg::TLabel* Label6 = nullptr;
    QTimeEdit* edt_OnTime = nullptr;
    setdlg::TLabel* Label9 = nullptr;
    setdlg::TRzEdit* edtOnTimeTXNR = nullptr;
    setdlg::TRzCheckBox* cbDsbj2 = nullptr;
    setdlg::TLabel* Label7 = nullptr;
    QTimeEdit* edt_OnTime2 = nullptr;
    setdlg::TLabel* Label10 = nullptr;
    setdlg::TRzEdit* edtOnTimeTXNR2 = nullptr;
    setdlg::TRzCheckBox* cbDsbj3 = nullptr;
    setdlg::TLabel* Label8 = nullptr;
    QTimeEdit* edt_OnTime3 = nullptr;
    setdlg::TLabel* Label11 = nullptr;
    setdlg::TRzEdit* edtOnTimeTXNR3 = nullptr;
    // Hidden animation group.
    setdlg::TGroupBox* GroupBox1 = nullptr;
    setdlg::TCheckBox* chk_XHFlash = nullptr;
    setdlg::TLabel* Label4 = nullptr;
    setdlg::TEdit* edt_flashlonger = nullptr;
    setdlg::TLabel* Label5 = nullptr;
    setdlg::TLabel* Label1 = nullptr;
    setdlg::TEdit* edt_XHBX_Flash = nullptr;
    setdlg::TImage* img_XHBX_Flash = nullptr;
    setdlg::TLabel* Label2 = nullptr;
    setdlg::TEdit* edt_XHBX_FlashWord = nullptr;
    // Reminder-list page (laid out, no behaviour).
    setdlg::TRzPanel* RzPanel1 = nullptr;
    setdlg::TRzBitBtn* RzBitBtn1 = nullptr;
    setdlg::TRzBitBtn* RzBitBtn2 = nullptr;
    setdlg::TRzPanel* RzPanel2 = nullptr;
    setdlg::TRzCheckList* RzCheckList1 = nullptr;
    setdlg::TRzPanel* RzPanel3 = nullptr;
    setdlg::TRadioButton* rbOnTime = nullptr;
    QTimeEdit* cxTimeEdit1 = nullptr;
    setdlg::TRadioButton* rbLoopTime = nullptr;
    setdlg::TRzNumericEdit* RzNumericEdit1 = nullptr;
    setdlg::TRadioButton* RzRadioButton4 = nullptr;
    setdlg::TRzEdit* RzEdit1 = nullptr;
    setdlg::TRadioButton* RzRadioButton3 = nullptr;
    setdlg::TRzButtonEdit* RzButtonEdit1 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox1 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox2 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox3 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox4 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox5 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox6 = nullptr;
    setdlg::TRzCheckBox* RzCheckBox7 = nullptr;
    // System page.
    setdlg::TRzCheckBox* chk_KJQD = nullptr;
    setdlg::TLabel* lbl_4 = nullptr;
    setdlg::TRzButtonEdit* edt_BJTP = nullptr;
    // Components without a window.
    QFileDialog* OpenPic = nullptr;
    QFileDialog* od_xhbx = nullptr;
    setdlg::TImageList* ImageList = nullptr;

private:
    // Names a component (the layout's own name).
    template <typename T>
    T* Own(T* component, const char* name) {
        component->setObjectName(QString::fromLatin1(name));
        return component;
    }
    QWidget* Control(TSetControl control) const;
    void CreateComponents();
    void CreateTitleStrip();
    void CreateNavigation();
    void CreatePageArea();
    // Builds the rows of the layout table that lie on the page, in the table's order.
    void CreatePageRows(QWidget* page, const char* pageName);
    void CreateListPage();
    void BindHandlers();
};
