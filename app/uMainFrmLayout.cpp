#include "app/uMainFrmLayout.h"

#include <algorithm>

#include "app/uMainForm.h"
#include "app/uMainFormLook.h"

namespace MainFrmLayout {
namespace {
constexpr int kTitle = MainFormLook::TitleHeight;
constexpr int kBanner = MainFormLook::BannerHeight;
constexpr int kWidth = TMainFrm::DesignWidth;
constexpr int kContent = TMainFrm::DesignHeight - kTitle - kBanner;
constexpr unsigned kWide = AnchorLeft | AnchorTop | AnchorRight;
constexpr unsigned kAll = kWide | AnchorBottom;
constexpr unsigned kRight = AnchorTop | AnchorRight;
constexpr TColor kStrip = MainFormLook::TitleStripColor;
constexpr TFontLook kSongTi{"宋体", 12, true, false};
constexpr TFontLook kKaiTi{"楷体_GB2312", 16, true, true};
constexpr TFontLook kClock{"Cambria", 48, true, false, MainFormLook::ClockColor};

TControl Panel(const char* name, const char* parent, TRect bounds, unsigned anchors, TColor color) {
    TControl c{name, TKind::Panel, parent, bounds, anchors};
    c.Color = color;
    return c;
}

TControl Image(const char* name, const char* parent, TRect bounds, unsigned anchors,
               const char* picture = nullptr) {
    TControl c{name, TKind::Image, parent, bounds, anchors};
    c.Picture = picture;
    c.Button = picture != nullptr;
    return c;
}

TControl Label(const char* name, const char* parent, TRect bounds, const TFontLook& font) {
    TControl c{name, TKind::Label, parent, bounds};
    c.Font = font;
    return c;
}

// Designed for a number of lines of its face: whole lines only, however tall the face; it keeps its
// distance to all four edges of its parent.
TControl WrapLabel(const char* name, const char* parent, TRect bounds, const TFontLook& font, int lines) {
    TControl c{name, TKind::WrapLabel, parent, bounds, kAll};
    c.Font = font;
    c.Lines = lines;
    return c;
}

std::vector<TControl> MakeControls() {
    // The title strip: the caption and the settings picture on the left part, which stretches; the
    // minimise and close pictures and a spacer on three fixed parts that keep to the right edge.
    const int client = kWidth - 59;
    return {
        Panel("pnl_TOP", nullptr, {0, 0, kWidth, kTitle}, kWide, SystemButtonFace),
        Panel("pnl_TOP_CLIENT", "pnl_TOP", {0, 0, client, kTitle}, kWide, kStrip),
        Image("img1", "pnl_TOP_CLIENT", {0, 0, client, kTitle}, kWide),
        Label("lbl_3", "pnl_TOP_CLIENT", {15, 5, 35, 12}, kSongTi),
        Image("img_set", "pnl_TOP_CLIENT", {client - 25, 0, 22, 22}, kRight, "settings.png"),
        Panel("pnl_TOP_R1", "pnl_TOP", {kWidth - 59, 0, 26, kTitle}, kRight, kStrip),
        Image("img2", "pnl_TOP_R1", {0, 0, 23, 22}, AnchorTopLeft, "minimise.png"),
        Panel("pnl_TOP_R2", "pnl_TOP", {kWidth - 33, 0, 24, kTitle}, kRight, kStrip),
        // One pixel wider than its panel, as designed.
        Image("img3", "pnl_TOP_R2", {0, 0, 25, 22}, AnchorTopLeft, "close.png"),
        Panel("pnl_TOP_R3", "pnl_TOP", {kWidth - 9, 0, 9, kTitle}, kRight, kStrip),
        Image("img4", "pnl_TOP_R3", {0, 0, 9, kTitle}, AnchorTopLeft),
        // The content: the background picture first (lowest), the reminder text keeping its margins
        // to all four edges (8 left, 12 right, 8 bottom), the clock and the time of the reminder.
        Panel("Panel1", nullptr, {0, kTitle, kWidth, kContent}, kAll, MainFormLook::ContentColor),
        Image("img_BJTP", "Panel1", {0, 0, kWidth, kContent}, kAll),
        WrapLabel("lbl_1", "Panel1", {8, 88, kWidth - 20, kContent - 96}, kKaiTi, 3),
        Label("lbl_2", "Panel1", {8, 1, 196, 56}, kClock),
        Label("lbl_BBSJ", "Panel1", {8, 65, 68, 16}, kKaiTi),
        // The banner strip along the bottom edge; the page's view starts 16 pixels beyond its left
        // and top edges, as designed.
        Panel("Panel2", nullptr, {0, kTitle + kContent, kWidth, kBanner},
              AnchorLeft | AnchorRight | AnchorBottom, SystemButtonFace),
        TControl{"WebBrowser", TKind::Browser, "Panel2", {-16, -16, 586, 139}},
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

std::vector<TRect> Place(int width, int height) {
    const std::vector<TControl>& rows = Controls();
    std::vector<TRect> placed;
    placed.reserve(rows.size());
    for (const TControl& c : rows) {
        TRect designParent{0, 0, TMainFrm::DesignWidth, TMainFrm::DesignHeight};
        TRect parent{0, 0, width, height};
        if (c.Parent) {
            for (size_t i = 0; i < placed.size(); ++i) {
                if (std::string_view(rows[i].Name) == c.Parent) {
                    designParent = rows[i].Bounds;
                    parent = placed[i];
                }
            }
        }
        const int dx = parent.Width - designParent.Width;
        const int dy = parent.Height - designParent.Height;
        TRect r = c.Bounds;
        if (c.Anchors & AnchorRight) {
            if (c.Anchors & AnchorLeft) {
                r.Width += dx;
            } else {
                r.Left += dx;
            }
        }
        if (c.Anchors & AnchorBottom) {
            if (c.Anchors & AnchorTop) {
                r.Height += dy;
            } else {
                r.Top += dy;
            }
        }
        r.Width = std::max(0, r.Width);
        r.Height = std::max(0, r.Height);
        placed.push_back(r);
    }
    return placed;
}

}  // namespace MainFrmLayout
