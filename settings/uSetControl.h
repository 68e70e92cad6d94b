#pragma once
// The settings dialog's controls by name: the ids the dialog's behaviour and the settings table use to
// reach a control, whatever toolkit draws it.
#include <cstdint>

// The dialog's controls that the behaviour reads, writes, shows or colours (named as in the layout).
enum class TSetControl : uint8_t {
    // Page tsxhbx (reminders).
    chk_startxhbx,  // check box "循环提醒"
    edt_XHBX_XHZQ,  // period box, minutes
    edt_XHBX_TXNR,  // cyclic reminder's text
    cbDsbj,         // check box "定时提醒" (first fixed time)
    edt_OnTime,     // time editor, text "HH:MM"
    edtOnTimeTXNR,  // text of the first fixed time
    cbDsbj2,        // second fixed time
    edt_OnTime2,
    edtOnTimeTXNR2,
    cbDsbj3,  // third fixed time
    edt_OnTime3,
    edtOnTimeTXNR3,
    // The hidden group box "动画播放" on page tsxhbx.
    chk_XHFlash,
    edt_XHBX_Flash,
    edt_XHBX_FlashWord,
    edt_flashlonger,
    // Page tsxtsz (system).
    chk_KJQD,  // check box "开机启动"
    edt_BJTP,  // background picture's path
    // Navigation column: the entry panels and their highlight images.
    pnl_leftbtn_xhbx,
    img_leftbtn_XHBX,
    pnl_leftbtn_dsbx,  // hidden for good: the reminder-list entry
    img_leftbtn_DSBX,
    pnl_leftbtn_xtsz,
    img_leftbtn_XTSZ,
};

// A control's name in the layout ("chk_startxhbx"), the name a frontend gives its widget.
const char* SetControlName(TSetControl control);
