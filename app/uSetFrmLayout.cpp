#include "app/uSetFrmLayout.h"

namespace SetFrmLayout {
namespace {

TControl Group(const char* name, const char* parent, TRect bounds, const char* caption, bool hidden = false) {
    TControl c{name, TKind::Group, parent, bounds, caption};
    c.Hidden = hidden;
    return c;
}

TControl Label(const char* name, const char* parent, int left, int top, const char* caption) {
    return TControl{name, TKind::Label, parent, {left, top, 0, 0}, caption};
}

TControl Check(const char* name, const char* parent, TRect bounds, const char* caption, int tab,
               bool centered) {
    TControl c{name, TKind::Check, parent, bounds, caption, tab};
    c.Centered = centered;
    return c;
}

TControl Box(const char* name, TKind kind, const char* parent, TRect bounds, const char* text, int tab) {
    return TControl{name, kind, parent, bounds, text, tab};
}

// The hidden animation group's plain boxes (no flat frame of the dialog's own).
TControl Plain(TControl c, bool rightAligned = false) {
    c.Framed = false;
    c.RightAligned = rightAligned;
    return c;
}

std::vector<TControl> MakeControls() {
    constexpr const char* g2 = "GroupBox2";
    constexpr const char* g1 = "GroupBox1";
    constexpr const char* when = "定点时间：";
    constexpr const char* what = "提醒内容：";
    TControl browse{"img_XHBX_Flash", TKind::Image, g1, {333, 76, 20, 20}};
    browse.Picture = "browse";
    return {
        // Page tsxhbx: the reminders. The tab order runs through the fixed times first.
        Group(g2, "tsxhbx", {8, 8, 539, 257}, "提醒设置"),
        Check("chk_startxhbx", g2, {16, 18, 67, 20}, "循环提醒", 7, true),
        Label("lbl_xhbxzq", g2, 92, 22, "循环周期："),
        Box("edt_XHBX_XHZQ", TKind::Number, g2, {151, 18, 81, 20}, "0", 15),
        Label("lbl_2", g2, 240, 22, "分钟"),
        Label("lbl_13", g2, 33, 49, what),
        Box("edt_XHBX_TXNR", TKind::Edit, g2, {92, 45, 415, 20}, "主人，工作半天了，可以出去溜达下了", 11),
        Check("cbDsbj", g2, {16, 81, 67, 16}, "定时提醒", 9, true),
        Label("Label6", g2, 92, 83, when),
        Box("edt_OnTime", TKind::Time, g2, {151, 79, 81, 20}, "00:00", 4),
        Label("Label9", g2, 33, 109, what),
        Box("edtOnTimeTXNR", TKind::Edit, g2, {92, 105, 415, 20}, "副本已重置，开始新的征程", 12),
        Check("cbDsbj2", g2, {16, 141, 73, 16}, "定时提醒", 10, true),
        Label("Label7", g2, 92, 143, when),
        Box("edt_OnTime2", TKind::Time, g2, {151, 139, 81, 20}, "00:00", 5),
        Label("Label10", g2, 33, 168, what),
        Box("edtOnTimeTXNR2", TKind::Edit, g2, {92, 164, 415, 20}, "", 13),
        Check("cbDsbj3", g2, {16, 201, 73, 16}, "定时提醒", 8, true),
        Label("Label8", g2, 92, 203, when),
        Box("edt_OnTime3", TKind::Time, g2, {151, 199, 81, 20}, "00:00", 6),
        Label("Label11", g2, 33, 228, what),
        Box("edtOnTimeTXNR3", TKind::Edit, g2, {92, 224, 415, 20}, "", 14),
        // The animation group lies below the page's bottom edge and stays hidden; it comes first in
        // the tab order.
        Group(g1, "tsxhbx", {8, 312, 401, 65}, "动画播放", true),
        Plain(Check("chk_XHFlash", g1, {21, 18, 124, 17}, "启用循环报醒动画", 0, false)),
        Label("Label4", g1, 21, 49, "动画时长："),
        Plain(Box("edt_flashlonger", TKind::Edit, g1, {86, 45, 81, 20}, "20", 3), true),
        Label("Label5", g1, 174, 49, "秒 (范围 0-45 秒)"),
        Label("Label1", g1, 21, 80, "自选动画："),
        Plain(Box("edt_XHBX_Flash", TKind::Edit, g1, {86, 77, 247, 20}, "", 1)),
        browse,
        Label("Label2", g1, 21, 113, "动画文字："),
        Plain(Box("edt_XHBX_FlashWord", TKind::Edit, g1, {86, 109, 243, 20}, "到 点 啦！！", 2), true),
        // Page tsxtsz: start at login, and the background picture's path.
        Check("chk_KJQD", "tsxtsz", {18, 16, 115, 17}, "开机启动", 16, false),
        Label("lbl_4", "tsxtsz", 18, 50, "界面背景："),
        Box("edt_BJTP", TKind::ButtonEdit, "tsxtsz", {80, 46, 443, 20}, "", 17),
    };
}

}  // namespace

const std::vector<TControl>& Controls() {
    static const std::vector<TControl> rows = MakeControls();
    return rows;
}

const TControl* Find(std::string_view name) {
    for (const TControl& c : Controls())
        if (name == c.Name) return &c;
    return nullptr;
}

std::vector<const TControl*> TabOrder() {
    std::vector<const TControl*> order;
    for (const TControl& c : Controls()) {
        if (c.Tab == NoTab) continue;
        if (order.size() <= static_cast<size_t>(c.Tab)) order.resize(static_cast<size_t>(c.Tab) + 1);
        order[static_cast<size_t>(c.Tab)] = &c;
    }
    return order;
}

std::optional<TSetControl> ControlOf(std::string_view name) {
    for (int i = 0; i <= static_cast<int>(TSetControl::img_leftbtn_XTSZ); ++i) {
        const auto control = static_cast<TSetControl>(i);
        if (name == SetControlName(control)) return control;
    }
    return std::nullopt;
}

const char* PageOf(const TControl& control) {
    const TControl* c = &control;
    while (const TControl* parent = Find(c->Parent)) c = parent;
    return c->Parent;
}

bool HiddenFor(const TControl& control) {
    for (const TControl* c = &control; c; c = Find(c->Parent))
        if (c->Hidden) return true;
    return false;
}

}  // namespace SetFrmLayout
