#include "win32/uMainLayoutWin.h"

#include <map>
#include <stdexcept>
#include <string>

#include "app/uMainFrmLayout.h"
#include "settings/uStrings.h"
#include "win32/uResourceIds.h"

namespace {
constexpr BYTE kGb2312 = 134;

COLORREF LayoutColor(TColor color, int systemColor) {
    return MainFrmLayout::IsSystemColor(color) ? ::GetSysColor(systemColor) : color;
}

// The pictures of the layout, by file name, as the program's resources hold them.
int PictureId(const std::string& picture) {
    if (picture == "settings.png") return IDB_SETTINGS;
    if (picture == "minimise.png") return IDB_MINIMISE;
    if (picture == "close.png") return IDB_CLOSE;
    return 0;
}

std::unique_ptr<TElement> BuildControl(const MainFrmLayout::TControl& row, TElement* parent) {
    using MainFrmLayout::TKind;
    const MainFrmLayout::TFontLook& look = row.Font;
    switch (row.Kind) {
        case TKind::Panel:
            return std::make_unique<TPanel>(parent, LayoutColor(row.Color, COLOR_BTNFACE));
        case TKind::Image: {
            auto image = std::make_unique<TImage>(parent);
            if (row.Button) image->Cursor = MAKEINTRESOURCEA(32649);  // hand
            if (row.Picture) image->SetPicture(LoadResourceBitmap(PictureId(row.Picture)));
            return image;
        }
        case TKind::Label:
        case TKind::WrapLabel: {
            const TFontSpec font{Texts::Gbk(look.Face),
                                 look.Gb2312 ? kGb2312 : static_cast<BYTE>(ANSI_CHARSET), look.Pixels,
                                 look.Bold, LayoutColor(look.Color, COLOR_WINDOWTEXT)};
            auto label = std::make_unique<TLabel>(parent, font);
            if (row.Kind == TKind::WrapLabel) {
                label->AutoSize = false;
                label->WordWrap = true;
            }
            return label;
        }
        case TKind::Browser:
            break;
    }
    return std::make_unique<TElement>(parent);
}
}  // namespace

std::vector<std::unique_ptr<TElement>> BuildMainLayout(TElement& root) {
    std::vector<std::unique_ptr<TElement>> elements;
    std::map<std::string, TElement*> built;
    for (const MainFrmLayout::TControl& row : MainFrmLayout::Controls()) {
        TElement* parent = row.Parent ? built.at(row.Parent) : &root;
        std::unique_ptr<TElement> element = BuildControl(row, parent);
        element->SetBounds(row.Bounds.Left, row.Bounds.Top, row.Bounds.Width, row.Bounds.Height);
        built[row.Name] = element.get();
        elements.push_back(std::move(element));
    }
    return elements;
}

void PlaceMainLayout(const std::vector<std::unique_ptr<TElement>>& elements, int width, int height) {
    const std::vector<TRect> places = MainFrmLayout::Place(width, height);
    const std::vector<MainFrmLayout::TControl>& rows = MainFrmLayout::Controls();
    for (size_t i = 0; i < rows.size() && i < elements.size(); ++i) {
        const TRect& r = places[i];
        TElement& element = *elements[i];
        if (rows[i].Kind == MainFrmLayout::TKind::Label) {
            element.SetBounds(r.Left, r.Top, element.Width(), element.Height());
        } else {
            element.SetBounds(r.Left, r.Top, r.Width, r.Height);
        }
    }
}

size_t MainLayoutIndex(const char* name) {
    const MainFrmLayout::TControl* row = MainFrmLayout::Find(name);
    if (!row) throw std::out_of_range(std::string("no control in the main window's layout: ") + name);
    return static_cast<size_t>(row - MainFrmLayout::Controls().data());
}
