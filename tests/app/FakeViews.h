#pragma once
// Recording stand-ins for the windows: each call the behaviour makes is kept as one line of text, and
// the state a real window would show (place, texts, ticks, visibility, tray) is kept for the checks.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/uBannerBrowser.h"
#include "app/uMainView.h"
#include "app/uSetFrm.h"
#include "app/uSetView.h"
#include "platform/Gbk.h"

// A screen of 1024 x 768 whose origin is at (0, 0) unless a test moves it.
struct FakeWindow {
    TRect Screen{0, 0, 1024, 768};
    TRect Place{100, 100, 0, 0};
    std::vector<std::string> Log;

    TRect ScreenRectOf() const { return Screen; }
    void Record(std::string line) { Log.push_back(std::move(line)); }
    static std::string RectText(const TRect& r) {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + " " + std::to_string(r.Width) + "x" +
               std::to_string(r.Height);
    }
};

class FakeSetView : public ISetView {
public:
    FakeSetView(TSetFrm& form, std::function<void(FakeSetView&)> whileShown)
        : Form(form), whileShown_(std::move(whileShown)) {
        Win.Place = {0, 0, TSetFrm::DesignWidth, TSetFrm::DesignHeight};
        // What the layout holds before anything is filled.
        Texts[TSetControl::edt_flashlonger] = "20";
        for (const TSetting& s : SettingsTable())
            if (s.Text == TSettingText::TimeOfDay) Texts[*s.Control] = "00:00";
    }

    TRect ScreenRect() const override { return Win.Screen; }
    TRect WindowRect() const override { return Win.Place; }
    void PlaceWindow(const TRect& rect) override {
        Win.Place = rect;
        Win.Record("place " + FakeWindow::RectText(rect));
    }
    TPoint ClientToScreen(TPoint p) const override { return {Win.Place.Left + p.X, Win.Place.Top + p.Y}; }

    AnsiString Text(TSetControl c) const override {
        auto it = Texts.find(c);
        return it == Texts.end() ? AnsiString() : it->second;
    }
    // A changed text of the animation length runs its change event, as a real edit does.
    void SetText(TSetControl c, const AnsiString& text) override {
        const bool changed = Text(c) != text;
        Texts[c] = text;
        if (changed && c == TSetControl::edt_flashlonger) Form.edt_flashlongerChange();
    }
    bool Checked(TSetControl c) const override {
        auto it = Ticks.find(c);
        return it != Ticks.end() && it->second;
    }
    void SetChecked(TSetControl c, bool checked) override { Ticks[c] = checked; }
    void SetVisible(TSetControl c, bool visible) override { Visible[c] = visible; }
    void SetColor(TSetControl c, TColor color) override { Colors[c] = color; }
    void ShowPage(TSetPage page) override {
        Page = page;
        Win.Record("page " + std::to_string(static_cast<int>(page)));
    }
    bool ChooseFile(const TFileChoice& choice, AnsiString& path) override {
        Choices.push_back(choice);
        if (ChosenFile.empty()) return false;
        path = ChosenFile;
        return true;
    }
    void ShowModal() override {
        Win.Record("modal");
        Modal = true;
        if (whileShown_) whileShown_(*this);
        Modal = false;
    }
    void CloseModal() override {
        Win.Record("close");
        Closed = true;
    }

    TSetFrm& Form;
    FakeWindow Win;
    std::map<TSetControl, AnsiString> Texts;
    std::map<TSetControl, bool> Ticks;
    std::map<TSetControl, bool> Visible;
    std::map<TSetControl, TColor> Colors;
    TSetPage Page = TSetPage::tsdsbx;  // the page the layout stores as active
    std::vector<TFileChoice> Choices;
    AnsiString ChosenFile;  // what the next file dialog returns; empty: cancelled
    bool Modal = false;
    bool Closed = false;

private:
    std::function<void(FakeSetView&)> whileShown_;
};

// A browser that records navigations and answers document steps with a scripted outcome.
class FakeBrowser : public IBannerBrowser {
public:
    void Navigate(const std::string& url) override { Urls.push_back(url); }
    void RunDocumentSteps(bool readNextUrl, std::function<void(const TDocumentSteps&)> done) override {
        Steps.push_back(readNextUrl ? "READ" : "STYLE");
        done(Answer);
    }
    std::vector<std::string> Urls;
    std::vector<std::string> Steps;
    TDocumentSteps Answer{TDocumentSteps::Styled, {}};
};

class FakeMainView : public IMainView {
public:
    TRect ScreenRect() const override { return Win.Screen; }
    TRect WindowRect() const override { return Win.Place; }
    void PlaceWindow(const TRect& rect) override {
        Win.Place = rect;
        Win.Record("place " + FakeWindow::RectText(rect));
    }
    TPoint ClientToScreen(TPoint p) const override { return {Win.Place.Left + p.X, Win.Place.Top + p.Y}; }
    // The monitor of Monitors that holds the point; the screen when none does (one monitor).
    TRect MonitorRect(TPoint p) const override {
        for (const TRect& monitor : Monitors)
            if (monitor.Contains(p)) return monitor;
        return Win.Screen;
    }

    void SetCaption(TMainText text, const AnsiString& caption) override {
        Captions[text] = plat::GbkToUtf8(caption);
        Win.Record("caption " + std::to_string(static_cast<int>(text)) + " " + plat::GbkToUtf8(caption));
    }
    void SetWindowColor(TColor color) override { Win.Record("color " + std::to_string(color)); }
    bool ShowBackground(const std::string& bitmap) override {
        Win.Record("background");
        if (!DrawsBitmaps) return false;
        Background = bitmap;
        return true;
    }
    void ShowWindow(TWindowState state) override {
        State = state;
        Win.Record(state == TWindowState::Hidden        ? "hide"
                   : state == TWindowState::Minimized   ? "minimize"
                   : state == TWindowState::ShownActive ? "show active"
                                                        : "show");
    }
    void PumpMessages() override {
        ++Pumps;
        if (OnPump) {
            auto pump = std::move(OnPump);  // runs once, like one waiting message
            OnPump = nullptr;
            pump();
        }
    }
    void CloseWindow() override { Win.Record("close window"); }
    bool HasTray() const override { return Tray; }
    void ShowTrayIcon(bool shown) override {
        TrayIcon = shown;
        Win.Record(shown ? "tray add" : "tray remove");
    }
    void StartTimer(TMainTimer timer, int32_t ms) override {
        Timers[timer] = ms;
        Win.Record(std::string(timer == TMainTimer::CheckWarn ? "start check " : "start hide ") +
                   std::to_string(ms));
    }
    void StopTimer(TMainTimer timer) override {
        Timers.erase(timer);
        Win.Record(timer == TMainTimer::CheckWarn ? "stop check" : "stop hide");
    }
    IBannerBrowser* BannerBrowser() override { return Browser.get(); }
    std::unique_ptr<ISetView> CreateSetView(TSetFrm& dialog) override {
        Win.Record("dialog");
        auto view = std::make_unique<FakeSetView>(dialog, WhileDialogShown);
        view->Win.Screen = Win.Screen;
        return view;
    }

    // Only what the timers hold: the ones running and their intervals.
    bool Running(TMainTimer timer) const { return Timers.count(timer) > 0; }
    // The log's lines that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& line : Win.Log)
            if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
        return out;
    }

    FakeWindow Win;
    std::map<TMainText, std::string> Captions;  // UTF-8
    std::map<TMainTimer, int32_t> Timers;
    TWindowState State = TWindowState::Hidden;
    std::vector<TRect> Monitors;  // empty: one monitor, the screen
    bool Tray = true;
    bool TrayIcon = false;
    bool DrawsBitmaps = true;
    std::string Background;
    int Pumps = 0;
    std::function<void()> OnPump;
    std::unique_ptr<FakeBrowser> Browser = std::make_unique<FakeBrowser>();
    std::function<void(FakeSetView&)> WhileDialogShown;
};
