#include "platform/x11/xcb_replies.h"

#include <cstring>

namespace zs::x11 {

std::vector<xcb_atom_t> InternAtoms(xcb_connection_t* c, const std::vector<const char*>& names) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    cookies.reserve(names.size());
    for (const char* name : names)
        cookies.push_back(xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name));
    std::vector<xcb_atom_t> atoms;
    atoms.reserve(names.size());
    for (auto cookie : cookies) {
        auto reply = Await<xcb_intern_atom_reply_t>(c, cookie, xcb_intern_atom_reply);
        atoms.push_back(reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
    }
    return atoms;
}

PropertyRequest::PropertyRequest(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                 xcb_atom_t type, std::uint32_t maxWords)
    : c_(c), cookie_(xcb_get_property(c, 0, window, property, type, 0, maxWords)), sent_(true) {}

PropertyRequest::PropertyRequest(PropertyRequest&& other) noexcept
    : c_(other.c_), cookie_(other.cookie_), sent_(other.sent_) {
    other.sent_ = false;
}

PropertyRequest::~PropertyRequest() {
    if (sent_) xcb_discard_reply(c_, cookie_.sequence);
}

Reply<xcb_get_property_reply_t> PropertyRequest::reply() {
    if (!sent_) return nullptr;
    sent_ = false;
    return Await<xcb_get_property_reply_t>(c_, cookie_, xcb_get_property_reply);
}

std::vector<std::uint32_t> PropertyRequest::words() {
    auto got = reply();
    if (!got || got->format != 32) return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(got.get()));
    return {values, values + xcb_get_property_value_length(got.get()) / 4};
}

std::string PropertyRequest::text(xcb_atom_t* type) {
    auto got = reply();
    if (type != nullptr) *type = got ? got->type : xcb_atom_t{XCB_ATOM_NONE};
    if (!got || got->format != 8) return {};
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(got.get()));
    std::string value(bytes, static_cast<std::size_t>(xcb_get_property_value_length(got.get())));
    // Some clients store the terminating NUL too.
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

std::string Latin1ToUtf8(const std::string& latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace zs::x11
