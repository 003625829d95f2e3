// The desktop portal's remote-desktop session over the session bus. Methods that involve the
// portal's backend answer through a Request object's Response signal, which is awaited on a
// main context of this thread's own.
#include "platform/wayland/portal_remote_desktop.h"

#include <gio/gio.h>

#include <atomic>

namespace zs::wayland {
namespace {

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
constexpr const char* kScreenCast = "org.freedesktop.portal.ScreenCast";
constexpr int kCallTimeoutMs = 10000;
// Starting the portal on first use and answers without a dialog take well under this; a portal
// or backend that hangs must not hold the program's start-up for long.
constexpr int kAnswerTimeoutMs = 20000;
constexpr guint kBusCheckMs = 1000;
constexpr guint32 kKeyboard = 1, kPointer = 2, kMonitor = 1;
constexpr guint32 kResponseCancelled = 1;

std::string Reason(const std::string& text) { return "the desktop portal " + text; }

// Where the portal puts the Request of a call made with handle_token `token`.
std::string RequestPath(GDBusConnection* bus, const std::string& token) {
    std::string sender = g_dbus_connection_get_unique_name(bus) + 1;  // without ':'
    for (char& c : sender) {
        if (c == '.') c = '_';
    }
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
}

// A handle token not used before in this process: a session or request of an earlier opening
// may still be there.
std::string Token(const char* name) {
    static std::atomic<unsigned> count{0};
    return std::string(name) + "_" + std::to_string(++count);
}

// The options of a request: its handle token and `more`.
GVariant* Options(const std::string& token,
                  std::initializer_list<std::pair<const char*, GVariant*>> more) {
    GVariantBuilder options;
    g_variant_builder_init(&options, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    for (const auto& [key, value] : more) g_variant_builder_add(&options, "{sv}", key, value);
    return g_variant_builder_end(&options);
}

GVariant* NoOptions() { return g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0); }

}  // namespace

struct PortalRemoteDesktop::Answer {
    bool answered = false;
    bool portalLeft = false;
    bool timedOut = false;
    guint32 code = 2;
    GVariant* results = nullptr;
};

std::unique_ptr<PortalRemoteDesktop> PortalRemoteDesktop::Open(Status& status) {
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus == nullptr) {
        status = Status::failure("g_bus_get_sync", Reason("is not offered (no D-Bus session: " +
                                                          TakeMessage(error) + ")"));
        return nullptr;
    }
    std::unique_ptr<PortalRemoteDesktop> desktop(new PortalRemoteDesktop());
    desktop->bus_ = bus;
    status = desktop->checkOffered();
    if (status) status = desktop->start();
    if (!status) return nullptr;
    return desktop;
}

PortalRemoteDesktop::~PortalRemoteDesktop() {
    if (!session_.empty()) {
        std::string ignored;
        if (GVariant* reply = CallMethod(bus_, kPortalName, session_,
                                         "org.freedesktop.portal.Session", "Close", nullptr,
                                         ignored, kCallTimeoutMs)) {
            g_variant_unref(reply);
        }
    }
    g_object_unref(bus_);
}

// The portal runs or the bus can start it, and it has the remote-desktop interface. Asking for
// the interface's version starts the portal, which may find no backend for it on this desktop.
Status PortalRemoteDesktop::checkOffered() {
    std::string failure;
    GVariant* owned = CallMethod(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus", "NameHasOwner",
                                 g_variant_new("(s)", kPortalName), failure, kCallTimeoutMs);
    gboolean running = FALSE;
    if (owned) {
        g_variant_get(owned, "(b)", &running);
        g_variant_unref(owned);
    }
    GVariant* names = running ? nullptr
                              : CallMethod(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                           "org.freedesktop.DBus", "ListActivatableNames",
                                           nullptr, failure, kCallTimeoutMs);
    if (names) {
        const gchar** list = nullptr;
        g_variant_get(names, "(^a&s)", &list);
        for (const gchar** name = list; list && *name && !running; ++name) {
            running = g_strcmp0(*name, kPortalName) == 0;
        }
        g_free(list);
        g_variant_unref(names);
    }
    if (!running) return Status::failure("org.freedesktop.DBus.ListActivatableNames",
                                         Reason("is not offered"));
    GVariant* version = CallMethod(bus_, kPortalName, kPortalPath,
                                   "org.freedesktop.DBus.Properties", "Get",
                                   g_variant_new("(ss)", kRemoteDesktop, "version"), failure,
                                   kAnswerTimeoutMs);
    if (version == nullptr) {
        return Status::failure("org.freedesktop.portal.RemoteDesktop",
                               Reason("offers no remote desktop: " + failure));
    }
    g_variant_unref(version);
    return Status::success();
}

Status PortalRemoteDesktop::start() {
    GVariant* results = nullptr;
    const std::string create = Token("zs_create");
    GVariant* options = Options(create, {{"session_handle_token",
                                          g_variant_new_string(Token("zs").c_str())}});
    Status status = request(kRemoteDesktop, "CreateSession", g_variant_new("(@a{sv})", options),
                            create, true, results);
    if (!status) return status;
    const gchar* handle = nullptr;
    if (g_variant_lookup(results, "session_handle", "&s", &handle)) session_ = handle;
    g_variant_unref(results);
    if (session_.empty()) {
        return Status::failure("org.freedesktop.portal.RemoteDesktop.CreateSession",
                               Reason("gave no session"));
    }
    status = choose(kRemoteDesktop, "SelectDevices",
                    {{"types", g_variant_new_uint32(kKeyboard | kPointer)}});
    if (!status) return status;
    status = choose(kScreenCast, "SelectSources", {{"types", g_variant_new_uint32(kMonitor)},
                                                   {"multiple", g_variant_new_boolean(TRUE)}});
    if (!status) return status;
    // The dialog: the user takes as long as they like.
    const std::string token = Token("zs_start");
    status = request(kRemoteDesktop, "Start",
                     g_variant_new("(os@a{sv})", session_.c_str(), "", Options(token, {})), token,
                     false, results);
    if (!status) return status;
    status = recordStreams(results);
    g_variant_unref(results);
    return status;
}

Status PortalRemoteDesktop::choose(
    const char* interface, const char* method,
    std::initializer_list<std::pair<const char*, GVariant*>> options) {
    GVariant* results = nullptr;
    const std::string token = Token("zs_choose");
    const Status status = request(
        interface, method, g_variant_new("(o@a{sv})", session_.c_str(), Options(token, options)),
        token, true, results);
    if (status) g_variant_unref(results);
    return status;
}

Status PortalRemoteDesktop::recordStreams(GVariant* results) {
    guint32 devices = 0;
    g_variant_lookup(results, "devices", "u", &devices);
    if ((devices & (kKeyboard | kPointer)) != (kKeyboard | kPointer)) {
        return Status::failure(
            "org.freedesktop.portal.RemoteDesktop.Start",
            "the remote-desktop request was allowed without keyboard and pointer");
    }
    GVariant* streams = g_variant_lookup_value(results, "streams", G_VARIANT_TYPE("a(ua{sv})"));
    if (streams) {
        GVariantIter iter;
        g_variant_iter_init(&iter, streams);
        guint32 node = 0;
        GVariant* properties = nullptr;
        while (g_variant_iter_next(&iter, "(u@a{sv})", &node, &properties)) {
            Stream stream{node, 0, 0};
            g_variant_lookup(properties, "position", "(ii)", &stream.x, &stream.y);
            streams_.push_back(stream);
            g_variant_unref(properties);
        }
        g_variant_unref(streams);
    }
    if (streams_.empty()) {
        return Status::failure("org.freedesktop.portal.RemoteDesktop.Start",
                               Reason("gave no monitor stream for pointer moves"));
    }
    return Status::success();
}

Status PortalRemoteDesktop::request(const char* interface, const char* method,
                                    GVariant* parameters, const std::string& token, bool bounded,
                                    GVariant*& results) {
    const std::string call = std::string(interface) + "." + method;
    Answer answer;
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);  // the signals below are delivered there
    const guint response = g_dbus_connection_signal_subscribe(
        bus_, kPortalName, "org.freedesktop.portal.Request", "Response",
        RequestPath(bus_, token).c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
           GVariant* parameters, gpointer data) {
            auto* answer = static_cast<Answer*>(data);
            g_variant_get(parameters, "(u@a{sv})", &answer->code, &answer->results);
            answer->answered = true;
        },
        &answer, nullptr);
    // The portal leaving the bus (it crashed or the session ends) answers nothing.
    const guint left = g_dbus_connection_signal_subscribe(
        bus_, "org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
        "/org/freedesktop/DBus", kPortalName, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
           GVariant* parameters, gpointer data) {
            const gchar* owner = nullptr;
            g_variant_get(parameters, "(&s&s&s)", nullptr, nullptr, &owner);
            if (owner == nullptr || *owner == '\0') static_cast<Answer*>(data)->portalLeft = true;
        },
        &answer, nullptr);
    g_main_context_pop_thread_default(context);

    std::string failure;
    GVariant* reply = CallMethod(bus_, kPortalName, kPortalPath, interface, method, parameters,
                                 failure, kCallTimeoutMs);
    if (reply) {
        g_variant_unref(reply);
        awaitAnswer(context, answer, bounded);
    }
    g_dbus_connection_signal_unsubscribe(bus_, response);
    g_dbus_connection_signal_unsubscribe(bus_, left);
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_main_context_unref(context);
    if (reply == nullptr) return Status::failure(call, Reason("failed: " + failure));
    return Outcome(call, method, answer, results);
}

// Runs `context` until the answer comes, the portal or the bus goes away, or (when `bounded`)
// the portal has been silent too long.
void PortalRemoteDesktop::awaitAnswer(GMainContext* context, Answer& answer, bool bounded) {
    GSource* timeout = nullptr;
    if (bounded) {
        timeout = g_timeout_source_new(kAnswerTimeoutMs);
        g_source_set_callback(timeout, [](gpointer data) -> gboolean {
            static_cast<Answer*>(data)->timedOut = true;
            return G_SOURCE_REMOVE;
        }, &answer, nullptr);
        g_source_attach(timeout, context);
    }
    // The bus itself going away (the session ends) is told on another context: look now and
    // then.
    GSource* busCheck = g_timeout_source_new(kBusCheckMs);
    g_source_set_callback(busCheck, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; },
                          nullptr, nullptr);
    g_source_attach(busCheck, context);
    while (!answer.answered && !answer.portalLeft && !answer.timedOut &&
           !g_dbus_connection_is_closed(bus_)) {
        g_main_context_iteration(context, TRUE);
    }
    for (GSource* source : {timeout, busCheck}) {
        if (source == nullptr) continue;
        g_source_destroy(source);
        g_source_unref(source);
    }
}

// The results of a request the portal granted; else why not.
Status PortalRemoteDesktop::Outcome(const std::string& call, const char* method, Answer& answer,
                                    GVariant*& results) {
    if (!answer.answered) {
        return Status::failure(call, Reason(answer.timedOut ? "did not answer"
                                                            : "left the session bus"));
    }
    if (answer.code == 0) {
        results = answer.results;
        return Status::success();
    }
    if (answer.results) g_variant_unref(answer.results);
    if (answer.code == kResponseCancelled) {
        return Status::failure(call, "the remote-desktop request was refused in the desktop "
                                     "portal's dialog");
    }
    // Where the portal has no backend that works on this desktop, CreateSession fails so.
    return Status::failure(call, "the desktop portal's remote desktop failed (" +
                                     std::string(method) + ")");
}

bool PortalRemoteDesktop::notify(const char* method, GVariant* parameters) {
    std::string failure;
    GVariant* reply = CallMethod(bus_, kPortalName, kPortalPath, kRemoteDesktop, method,
                                 parameters, failure, kCallTimeoutMs);
    if (reply == nullptr) return false;
    g_variant_unref(reply);
    return true;
}

bool PortalRemoteDesktop::keysym(std::uint32_t keysym, bool down) {
    return notify("NotifyKeyboardKeysym",
                  g_variant_new("(o@a{sv}iu)", session_.c_str(), NoOptions(),
                                static_cast<gint32>(keysym), down ? 1u : 0u));
}

bool PortalRemoteDesktop::button(std::uint32_t evdevButton, bool down) {
    return notify("NotifyPointerButton",
                  g_variant_new("(o@a{sv}iu)", session_.c_str(), NoOptions(),
                                static_cast<gint32>(evdevButton), down ? 1u : 0u));
}

bool PortalRemoteDesktop::moveTo(int x, int y) {
    const Stream* target = StreamForPoint(streams_, x, y);
    if (target == nullptr) return false;
    return notify("NotifyPointerMotionAbsolute",
                  g_variant_new("(o@a{sv}udd)", session_.c_str(), NoOptions(), target->node,
                                static_cast<double>(x - target->x),
                                static_cast<double>(y - target->y)));
}

}  // namespace zs::wayland
