// mutter's remote-desktop and screen-cast sessions, called synchronously over the session bus.
#include "platform/wayland/mutter_remote_desktop.h"

#include <gio/gio.h>

namespace zs::wayland {
namespace {

constexpr const char* kRemoteDesktopName = "org.gnome.Mutter.RemoteDesktop";
constexpr const char* kRemoteDesktopSession = "org.gnome.Mutter.RemoteDesktop.Session";
constexpr const char* kScreenCastName = "org.gnome.Mutter.ScreenCast";
constexpr const char* kDisplayConfigName = "org.gnome.Mutter.DisplayConfig";
constexpr int kTimeoutMs = 10000;

GVariant* Call(GDBusConnection* bus, const char* name, const std::string& path,
               const char* interface, const char* method, GVariant* parameters,
               std::string& failure) {
    return CallMethod(bus, name, path, interface, method, parameters, failure, kTimeoutMs);
}

// The connectors of the monitors, each with the place of its logical monitor.
struct MonitorPlace {
    std::string connector;
    int x = 0, y = 0;
};

std::vector<MonitorPlace> MonitorPlaces(GDBusConnection* bus, std::string& failure) {
    std::vector<MonitorPlace> places;
    GVariant* state = Call(bus, kDisplayConfigName, "/org/gnome/Mutter/DisplayConfig",
                           "org.gnome.Mutter.DisplayConfig", "GetCurrentState", nullptr, failure);
    if (state == nullptr) return places;
    GVariant* logical = g_variant_get_child_value(state, 2);  // a(iiduba(ssss)a{sv})
    gint32 x = 0, y = 0;
    const gsize count = g_variant_n_children(logical);
    for (gsize i = 0; i < count; ++i) {
        GVariant* entry = g_variant_get_child_value(logical, i);
        GVariant* specs = g_variant_get_child_value(entry, 5);
        g_variant_get_child(entry, 0, "i", &x);
        g_variant_get_child(entry, 1, "i", &y);
        for (gsize m = 0; m < g_variant_n_children(specs); ++m) {
            const gchar* connector = nullptr;
            g_variant_get_child(specs, m, "(&s&s&s&s)", &connector, nullptr, nullptr, nullptr);
            places.push_back({connector, x, y});
        }
        g_variant_unref(specs);
        g_variant_unref(entry);
    }
    g_variant_unref(logical);
    g_variant_unref(state);
    return places;
}

}  // namespace

std::unique_ptr<MutterRemoteDesktop> MutterRemoteDesktop::Open(Status& status) {
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus == nullptr) {
        status = Status::failure("g_bus_get_sync",
                                 "GNOME's remote-desktop service is not offered (no D-Bus "
                                 "session: " + TakeMessage(error) + ")");
        return nullptr;
    }
    std::unique_ptr<MutterRemoteDesktop> desktop(new MutterRemoteDesktop());
    desktop->bus_ = bus;
    status = desktop->start();
    if (!status) return nullptr;
    return desktop;
}

MutterRemoteDesktop::~MutterRemoteDesktop() {
    if (!session_.empty()) {
        std::string ignored;
        if (GVariant* reply = Call(bus_, kRemoteDesktopName, session_, kRemoteDesktopSession,
                                   "Stop", nullptr, ignored)) {
            g_variant_unref(reply);
        }
    }
    g_object_unref(bus_);
}

Status MutterRemoteDesktop::start() {
    std::string failure;
    GVariant* reply = Call(bus_, kRemoteDesktopName, "/org/gnome/Mutter/RemoteDesktop",
                           kRemoteDesktopName, "CreateSession", nullptr, failure);
    if (reply == nullptr) {
        return Status::failure("org.gnome.Mutter.RemoteDesktop.CreateSession",
                               "GNOME's remote-desktop service is not offered: " + failure);
    }
    session_ = TakeObjectPath(reply);
    GVariant* id = Call(bus_, kRemoteDesktopName, session_, "org.freedesktop.DBus.Properties",
                        "Get", g_variant_new("(ss)", kRemoteDesktopSession, "SessionId"),
                        failure);
    if (id == nullptr) return Status::failure("org.gnome.Mutter.RemoteDesktop.Session", failure);
    GVariant* value = nullptr;
    g_variant_get(id, "(v)", &value);
    const std::string sessionId = g_variant_get_string(value, nullptr);
    g_variant_unref(value);
    g_variant_unref(id);

    GVariantBuilder properties;
    g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&properties, "{sv}", "remote-desktop-session-id",
                          g_variant_new_string(sessionId.c_str()));
    GVariant* cast = Call(bus_, kScreenCastName, "/org/gnome/Mutter/ScreenCast", kScreenCastName,
                          "CreateSession", g_variant_new("(a{sv})", &properties), failure);
    if (cast == nullptr) {
        return Status::failure("org.gnome.Mutter.ScreenCast.CreateSession",
                               "GNOME's screen-cast service is not offered: " + failure);
    }
    const Status recorded = recordMonitors(TakeObjectPath(cast));
    if (!recorded) return recorded;
    GVariant* started = Call(bus_, kRemoteDesktopName, session_, kRemoteDesktopSession, "Start",
                             nullptr, failure);
    if (started == nullptr) {
        return Status::failure("org.gnome.Mutter.RemoteDesktop.Session.Start", failure);
    }
    g_variant_unref(started);
    return Status::success();
}

// One stream per monitor; the monitor's size comes from the stream once it runs.
Status MutterRemoteDesktop::recordMonitors(const std::string& screenCastSession) {
    std::string failure;
    const std::vector<MonitorPlace> monitors = MonitorPlaces(bus_, failure);
    if (monitors.empty()) {
        return Status::failure("org.gnome.Mutter.DisplayConfig.GetCurrentState",
                               "no monitor found: " + failure);
    }
    for (const MonitorPlace& monitor : monitors) {
        GVariantBuilder properties;
        g_variant_builder_init(&properties, G_VARIANT_TYPE("a{sv}"));
        GVariant* stream = Call(bus_, kScreenCastName, screenCastSession,
                                "org.gnome.Mutter.ScreenCast.Session", "RecordMonitor",
                                g_variant_new("(sa{sv})", monitor.connector.c_str(), &properties),
                                failure);
        if (stream == nullptr) {
            return Status::failure("org.gnome.Mutter.ScreenCast.Session.RecordMonitor", failure);
        }
        streams_.push_back({TakeObjectPath(stream), monitor.x, monitor.y});
    }
    return Status::success();
}

bool MutterRemoteDesktop::call(const char* method, void* parameters) {
    std::string failure;
    GVariant* reply = Call(bus_, kRemoteDesktopName, session_, kRemoteDesktopSession, method,
                           static_cast<GVariant*>(parameters), failure);
    if (reply == nullptr) return false;
    g_variant_unref(reply);
    return true;
}

bool MutterRemoteDesktop::keysym(std::uint32_t keysym, bool down) {
    return call("NotifyKeyboardKeysym", g_variant_new("(ub)", keysym, down));
}

bool MutterRemoteDesktop::button(std::uint32_t evdevButton, bool down) {
    return call("NotifyPointerButton", g_variant_new("(ib)", static_cast<gint32>(evdevButton), down));
}

bool MutterRemoteDesktop::moveTo(int x, int y) {
    const Stream* target = StreamForPoint(streams_, x, y);
    if (target == nullptr) return false;
    return call("NotifyPointerMotionAbsolute",
                g_variant_new("(sdd)", target->path.c_str(), static_cast<double>(x - target->x),
                              static_cast<double>(y - target->y)));
}

}  // namespace zs::wayland
