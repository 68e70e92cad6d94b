#pragma once
// The modal settings dialog: a borderless window with a draggable title strip, a green navigation
// column and a page area. It edits a copy of the reminder block and the start-at-login entry and writes
// them back to the settings file when the close picture is clicked.
#include <QDialog>
#include <memory>
#include <vector>

#include "platform/Types.h"
#include "settings/uControlObj.h"

class TFormMoveQt;
class TTimerInfos;
class QFileDialog;
class QTimeEdit;

namespace setdlg {
class TPanel;
class TImage;
class TLabel;
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

class TSetFrmQt : public QDialog {
    Q_OBJECT

public:
    explicit TSetFrmQt(QWidget* owner = nullptr);
    ~TSetFrmQt() override;

    // Every component the dialog owns, in the order it was created (windowed or not).
    const std::vector<QObject*>& Components() const { return FComponents; }
    // A component's kind: its class name without namespace ("TImage", "TPanel", ...).
    static QString ClassName(const QObject* component);

    // Shows the highlight image whose name equals `name` (ignoring case) and hides the others;
    // "NUN" hides them all.
    void ShowHoverImage(const AnsiString& name);
    // Gives the entry panel named `name` (ignoring case) the selected colour, the others the plain one.
    void SelectNavButton(const AnsiString& name);

    void LoadData(TXHBX settings, TTimerInfos* list);
    void LoadAutoRun();
    // Puts the stored background path into its box.
    void LoadBackground(const AnsiString& path);
    bool SaveAll();
    void SaveXHBX();
    bool SaveTimerInfos();
    void SaveXTSZ();

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void img1MouseDown(Qt::MouseButton button, int x, int y);
    void img1MouseMove(int x, int y);
    void img1MouseUp(Qt::MouseButton button, int x, int y);
    void pnl_leftbtn_xhbxMouseMove(int x, int y);
    void pnl_leftbtn_dsbxMouseMove(int x, int y);
    void pnl_leftbtn_xtszMouseMove(int x, int y);
    void pnl1MouseMove(int x, int y);
    void pnl3MouseMove(int x, int y);
    void img_leftbtn_XHBXClick(QObject* sender);
    void img_leftbtn_DSBXClick(QObject* sender);
    void img_leftbtn_XTSZClick(QObject* sender);
    // Saves everything, then closes with the result OK. A failing save raises out of here before the
    // dialog is closed, so it stays open with the user's input.
    void img3Click(QObject* sender);
    void edt_XHBX_XHZQ1KeyPress(QObject* sender, char& key);
    void edt_flashlongerChange(QObject* sender);
    void img_XHBX_FlashClick(QObject* sender);
    void edt_BJTPButtonClick(QObject* sender);

    std::unique_ptr<TFormMoveQt> FormMove;
    TTimerInfos* TimerInfos = nullptr;

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

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Names a component and records it as owned, in creation order.
    template <typename T>
    T* Own(T* component, const char* name) {
        component->setObjectName(QString::fromLatin1(name));
        FComponents.push_back(component);
        return component;
    }
    void CreateComponents();
    void CreateTitleStrip();
    void CreateNavigation();
    void CreatePageArea();
    void CreateReminderPage();
    void CreateAnimationGroup();
    void CreateListPage();
    void CreateSystemPage();
    void BindHandlers();

    std::vector<QObject*> FComponents;
};

// The dialog while it is open; null otherwise.
extern TSetFrmQt* SetFrmQt;

// Runs the dialog modally on a copy of the settings and the given reminder list; true once it has closed.
bool ShowSetForm(TXHBX settings, TTimerInfos* list);
