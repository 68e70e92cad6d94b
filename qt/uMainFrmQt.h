#pragma once
// The main window: a small borderless, always-on-top window that lives hidden in the tray, keeps the
// clock, runs the scheduler once a second and slides up at the bottom right when a reminder fires.
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "app/uTimerObj.h"
#include "platform/Types.h"
#include "qt/uControls.h"
#include "qt/uFormMoveQt.h"

class TTimerInfos;
class TTrayIcon;
class TWBManage;
class IBannerBrowser;

class TMainFrmQt : public QWidget, public IWarnWindow {
    Q_OBJECT
public:
    // Client size the window is designed for; the slide always ends at this size.
    static constexpr int DesignWidth = 442;
    static constexpr int DesignHeight = 259;

    TMainFrmQt();
    ~TMainFrmQt() override;

    // Copies the configuration into the scheduler.
    void ApplySettings();
    // Once a second: the clock label, then the scheduler's test.
    void TimerCheckWarnTimer();
    void ShowWarnText(const AnsiString& text) override;
    // Places the window at the bottom right of the primary screen and slides it up.
    void ShowForm() override;
    // Loads the configured background bitmap, if there is one.
    void LoadBackground();
    void ShowAd();
    // Each banner download that finished, stopped or failed; from the third on the page's scroll
    // bars are hidden again.
    void WebBrowserDownloadComplete();

    // Title-strip buttons, the settings command and the tray.
    void img_setClick();
    void mni_SetClick();
    void img2Click();
    void img3Click();
    void mni_ExitClick();
    void TimerHideTimer();
    void TrayIconClick();
    void img1MouseDown(Qt::MouseButton button, int x, int y);
    void img1MouseMove(int x, int y);
    void img1MouseUp(Qt::MouseButton button, int x, int y);

    // Owned helpers (created by FormCreate, freed by FormDestroy).
    std::unique_ptr<TFormMoveQt> FormMove;
    TTimerInfos* TimerInfos = nullptr;
    TWBManage* WBManage = nullptr;
    std::unique_ptr<IBannerBrowser> BannerBrowser;  // the engine behind WebBrowser; none without one
    TTimerObj* TimerObj = nullptr;
    TTrayIcon* TrayIcon = nullptr;

    int32_t PopupHeight = 0;    // the full height while a slide runs; 0 otherwise
    int32_t DownloadCount = 0;  // banner download completions since start

    // Controls.
    TPanel* pnl_TOP = nullptr;
    TPanel* pnl_TOP_CLIENT = nullptr;
    TImage* img1 = nullptr;
    QLabel* lbl_3 = nullptr;
    TImage* img_set = nullptr;
    TPanel* pnl_TOP_R1 = nullptr;
    TImage* img2 = nullptr;
    TPanel* pnl_TOP_R2 = nullptr;
    TImage* img3 = nullptr;
    TPanel* pnl_TOP_R3 = nullptr;
    TImage* img4 = nullptr;
    TPanel* Panel1 = nullptr;
    TImage* img_BJTP = nullptr;
    QLabel* lbl_1 = nullptr;
    QLabel* lbl_2 = nullptr;
    QLabel* lbl_BBSJ = nullptr;
    TPanel* Panel2 = nullptr;
    QWidget* WebBrowser = nullptr;  // holds the banner page's view
    QMenu* pm_set = nullptr;
    QAction* mni_Set = nullptr;
    QAction* mni_Exit = nullptr;
    QTimer* TimerCheckWarn = nullptr;
    QTimer* TimerHide = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormDestroy();
    void LayoutControls();
    void SetCaption(QLabel* label, const QString& text);
    void WriteDateLine();
    // With no notification area the window keeps a taskbar entry so it stays reachable.
    void SetTaskbarEntry(bool shown);

    int slideSerial_ = 0;  // counts slides started, so an outer slide notices one that ran inside it
    bool destroyed_ = false;
};

// The single main window.
extern TMainFrmQt* MainFrmQt;
