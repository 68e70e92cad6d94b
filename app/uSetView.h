#pragma once
// What the settings dialog can be told or asked: the list of what a toolkit must do for the dialog's
// behaviour (TSetFrm, app/uSetFrm.h). The view builds the whole layout (title strip, navigation column,
// the three pages with all their controls, the hidden animation group and the reminder-list page), each
// highlight image filling its entry panel and hidden at the start, and forwards events unchanged:
//
//   mouse down / move / up on img1 (the strip)    TSetFrm::img1MouseDown / img1MouseMove / img1MouseUp
//   mouse move over an entry panel's bare part   TSetFrm::pnl_leftbtn_xhbxMouseMove / ..._dsbx... /
//                                                  ..._xtsz...
//   mouse move over the bare navigation column   TSetFrm::pnl1MouseMove
//   click on an entry's highlight image or label TSetFrm::img_leftbtn_XHBXClick / _DSBXClick / _XTSZClick
//   click on img3 (close picture)                TSetFrm::img3Click
//   a character typed into edt_flashlonger       TSetFrm::edt_XHBX_XHZQ1KeyPress (key 0: swallow it)
//   any change of edt_flashlonger's text, also   TSetFrm::edt_flashlongerChange
//     one made by SetText
//   click on img_XHBX_Flash (browse picture)     TSetFrm::img_XHBX_FlashClick
//   click on edt_BJTP's button                   TSetFrm::edt_BJTPButtonClick
//
// The period box edt_XHBX_XHZQ takes digits only, at most TSetFrm::PeriodDigits of them.
#include <cstdint>

#include "app/uWindowView.h"
#include "platform/Types.h"
#include "settings/uSetControl.h"

// The pages of the page control (it shows no tabs).
enum class TSetPage : uint8_t {
    tsxhbx,  // reminders
    tsdsbx,  // reminder list (laid out, no behaviour)
    tsxtsz,  // system
};

// A file-open dialog.
struct TFileChoice {
    AnsiString Title;   // GBK; empty: the toolkit's own title
    AnsiString Filter;  // GBK, "description|pattern" pairs separated by "|"; empty: every picture
                        // format the toolkit can read, all together first, then one by one
};

class ISetView : public IWindowView {
public:
    // An edit's text (GBK). Time editors read and write "HH:MM" (two-digit 24-hour hours, minutes).
    virtual AnsiString Text(TSetControl control) const = 0;
    virtual void SetText(TSetControl control, const AnsiString& text) = 0;
    // A check box's tick.
    virtual bool Checked(TSetControl control) const = 0;
    virtual void SetChecked(TSetControl control, bool checked) = 0;
    // Shows or hides a control (the highlight images).
    virtual void SetVisible(TSetControl control, bool visible) = 0;
    // A panel's colour (the navigation entries).
    virtual void SetColor(TSetControl control, TColor color) = 0;
    // Brings a page to the front of the page control.
    virtual void ShowPage(TSetPage page) = 0;

    // Runs a file-open dialog over the settings dialog; true with the chosen file's full path (GBK,
    // the system's separators) when the user confirmed one.
    virtual bool ChooseFile(const TFileChoice& choice, AnsiString& path) = 0;

    // Shows the dialog modally, on top of other windows, and returns once CloseModal has been called.
    // Timers and the main window's events go on being handled meanwhile.
    virtual void ShowModal() = 0;
    // Ends the modal showing; the dialog is hidden.
    virtual void CloseModal() = 0;
};
