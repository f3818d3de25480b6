#include "ui/taskbar_hint.h"

#include <QGuiApplication>
#include <QWidget>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace vf::ui {
namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data());
    ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<xcb_atom_t> readStates(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t stateAtom)
{
    const auto cookie = xcb_get_property(connection, 0, window, stateAtom, XCB_ATOM_ATOM, 0, 1024);
    ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != XCB_ATOM_ATOM)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    if (length <= 0)
        return {};
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    return {atoms, atoms + static_cast<std::size_t>(length) / sizeof(xcb_atom_t)};
}

} // namespace

void markSkipTaskbar(QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto handle = static_cast<xcb_window_t>(window.winId());

    const xcb_atom_t stateAtom = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipAtom = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (stateAtom == XCB_ATOM_NONE || skipAtom == XCB_ATOM_NONE)
        return;

    std::vector<xcb_atom_t> states = readStates(connection, handle, stateAtom);
    if (std::find(states.begin(), states.end(), skipAtom) != states.end())
        return;
    states.push_back(skipAtom);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, handle, stateAtom, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

} // namespace vf::ui
