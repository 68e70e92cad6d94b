#pragma once
// The main window in Qt: the widgets of the reminder window, drawn as laid out at 442 x 259, telling the
// behaviour (TMainFrm) about every click, tick and tray press and doing what it asks (IMainView).
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/uMainForm.h"
#include "app/uMainView.h"
#include "qt/uControls.h"

class TTrayIcon;

class TMainFrmQt : public QWidget, public IMainView {
    Q_OBJECT
public:
    // The window's panels: the kit's flat panel, its colour given and read as Qt's colour.
    using TPanel = TFlatPanel;

    // Builds the hidden window; its events go to form.
    explicit TMainFrmQt(TMainFrm& form);
    // Runs the behaviour's destruction handler first, while the window still exists.
    ~TMainFrmQt() override;

    // IWindowView
    TRect ScreenRect() const override;
    TRect WindowRect() const override;
    TRect MonitorRect(TPoint point) const override;
    void PlaceWindow(const TRect& rect) override;
    TPoint ClientToScreen(TPoint client) const override;
    // IMainView
    void SetCaption(TMainText text, const AnsiString& caption) override;
    void SetWindowColor(TColor color) override;
    bool ShowBackground(const std::string& bitmap) override;
    void ShowWindow(TWindowState state) override;
    void PumpMessages() override;
    void CloseWindow() override;
    bool HasTray() const override;
    void ShowTrayIcon(bool shown) override;
    void StartTimer(TMainTimer timer, int32_t ms) override;
    void StopTimer(TMainTimer timer) override;
    IBannerBrowser* BannerBrowser() override { return banner_.get(); }
    std::unique_ptr<ISetView> CreateSetView(TSetFrm& dialog) override;

    TMainFrm& Form;

    // Every control of the window's layout (app/uMainFrmLayout.h), in the order of its rows.
    std::vector<QWidget*> LayoutWidgets;
    // Controls, named as in the layout.
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
    QTimer TimerCheckWarn;
    QTimer TimerHide;
    TTrayIcon* TrayIcon = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LayoutControls();
    QLabel* Label(TMainText text) const;
    // With no notification area the window keeps a taskbar entry so it stays reachable.
    void SetTaskbarEntry(bool shown);
    // Shows the window on top; activate: as the active window, else leaving the keyboard where it is.
    void ShowOnTop(bool activate);

    std::unique_ptr<IBannerBrowser> banner_;  // the engine behind WebBrowser; none without one
};
