// What mutter's and the desktop portal's remote-desktop clients share: synchronous GDBus calls.
#include "platform/wayland/remote_desktop.h"

#include <gio/gio.h>

namespace zs::wayland {

std::string TakeMessage(GError* error) {
    std::string text = error ? error->message : "no answer";
    if (error) g_error_free(error);
    return text;
}

GVariant* CallMethod(GDBusConnection* bus, const char* name, const std::string& path,
                     const char* interface, const char* method, GVariant* parameters,
                     std::string& failure, int timeoutMs) {
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, name, path.c_str(), interface, method,
                                                  parameters, nullptr, G_DBUS_CALL_FLAGS_NONE,
                                                  timeoutMs, nullptr, &error);
    if (reply == nullptr) failure = TakeMessage(error);
    return reply;
}

std::string TakeObjectPath(GVariant* reply) {
    const gchar* path = nullptr;
    g_variant_get(reply, "(&o)", &path);
    std::string result = path;
    g_variant_unref(reply);
    return result;
}

}  // namespace zs::wayland
