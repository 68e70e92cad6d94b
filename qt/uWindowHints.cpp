#include "qt/uWindowHints.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

}  // namespace

void SetSkipTaskbar(QWidget& window, bool skip) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || window.isVisible()) return;
    xcb_connection_t* c = x11->connection();
    const auto wid = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t ours[] = {Atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), Atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    if (state == XCB_ATOM_NONE) return;
    // The states already there (Qt adds its own, e.g. "above", to them when it maps the window).
    std::vector<xcb_atom_t> atoms;
    if (xcb_get_property_reply_t* reply =
            xcb_get_property_reply(c, xcb_get_property(c, 0, wid, state, XCB_ATOM_ATOM, 0, 1024), nullptr)) {
        const auto* begin = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        atoms.assign(begin,
                     begin + xcb_get_property_value_length(reply) / static_cast<int>(sizeof(xcb_atom_t)));
        std::free(reply);
    }
    for (xcb_atom_t atom : ours) {
        const auto found = std::find(atoms.begin(), atoms.end(), atom);
        if (skip && found == atoms.end() && atom != XCB_ATOM_NONE) atoms.push_back(atom);
        if (!skip && found != atoms.end()) atoms.erase(found);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, wid, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(c);
}
