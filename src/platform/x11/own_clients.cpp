#include "platform/x11/own_clients.h"

#include <unistd.h>
#include <xcb/res.h>

#include "platform/x11/xcb_replies.h"

namespace zs::x11 {

OwnClients::OwnClients(xcb_connection_t* c) : c_(c), idMask_(xcb_get_setup(c)->resource_id_mask) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(c, &xcb_res_id);
    if (extension == nullptr || !extension->present) return;
    // Process ids need version 1.2.
    auto version = Await<xcb_res_query_version_reply_t>(
        c, xcb_res_query_version(c, 1, 2), xcb_res_query_version_reply);
    resourceExtension_ = version && (version->server_major > 1 ||
                                     (version->server_major == 1 && version->server_minor >= 2));
    if (resourceExtension_) learnClients();
    otherBases_.insert(0);  // the server's own resources, the root window among them
}

bool OwnClients::owns(xcb_window_t window) {
    if (window == XCB_WINDOW_NONE) return false;
    const std::uint32_t base = window & ~idMask_;
    if (resourceExtension_) {
        if (ownBases_.count(base) == 0 && otherBases_.count(base) == 0) {
            learnClients();
            // A connection that is not listed has closed: none of ours does while we run.
            if (ownBases_.count(base) == 0) otherBases_.insert(base);
        }
        return ownBases_.count(base) != 0;
    }
    return carriesOwnPid(window);
}

// Every connection with the process behind it (local connections only: the server reads the
// peer's credentials).
void OwnClients::learnClients() {
    xcb_res_client_id_spec_t all{XCB_NONE, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    auto reply = Await<xcb_res_query_client_ids_reply_t>(
        c_, xcb_res_query_client_ids(c_, 1, &all), xcb_res_query_client_ids_reply);
    if (!reply) return;
    const auto pid = static_cast<std::uint32_t>(::getpid());
    for (auto it = xcb_res_query_client_ids_ids_iterator(reply.get()); it.rem > 0;
         xcb_res_client_id_value_next(&it)) {
        if (it.data->length < 4) continue;
        const std::uint32_t base = it.data->spec.client & ~idMask_;
        const bool own = *xcb_res_client_id_value_value(it.data) == pid;
        (own ? ownBases_ : otherBases_).insert(base);
    }
}

bool OwnClients::carriesOwnPid(xcb_window_t window) {
    auto atoms = InternAtoms(c_, {"_NET_WM_PID"});
    auto pid = PropertyRequest(c_, window, atoms[0], XCB_ATOM_CARDINAL, 1).words();
    return pid.size() == 1 && pid[0] == static_cast<std::uint32_t>(::getpid());
}

}  // namespace zs::x11
