// The desktop's (GTK) file dialog in a bare X server, without a window manager: it takes the
// keyboard by itself, and its filter for every file lists names without a dot.
#include "gui_driver.h"
#include "platform/fltk/fltk_x11.h"
#include "sample_window.h"

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zs::gui::test {
namespace {

// The part of GLib and GTK the test looks into the dialog with, from the GTK that FLTK loads (2
// or 3, the same calls): GLib's timer runs inside the dialog's loop, and the GTK calls resolve
// once the dialog shows.
struct Gtk {
    struct List {
        void* data;
        List* next;
        List* prev;
    };
    struct FilterInfo {
        int contains;  // 1 file name, 4 display name
        const char* filename;
        const char* uri;
        const char* displayName;
        const char* mimeType;
    };
    unsigned (*timeoutAdd)(unsigned, int (*)(void*), void*) = nullptr;
    int (*sourceRemove)(unsigned) = nullptr;
    List* (*windowListToplevels)() = nullptr;
    void (*listFree)(List*) = nullptr;
    unsigned long (*fileChooserType)() = nullptr;
    int (*isA)(void*, unsigned long) = nullptr;
    void* (*fileChooserFilter)(void*) = nullptr;
    int (*filterAdmits)(void*, const FilterInfo*) = nullptr;
    void (*dialogResponse)(void*, int) = nullptr;

    template <class F>
    static void resolve(F& fn, const char* name) {
        if (!fn) fn = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
    }
    static Gtk& get() {
        static Gtk gtk;
        static void* const gobject = dlopen("libgobject-2.0.so.0", RTLD_LAZY | RTLD_GLOBAL);
        (void)gobject;
        resolve(gtk.timeoutAdd, "g_timeout_add");
        resolve(gtk.sourceRemove, "g_source_remove");
        resolve(gtk.listFree, "g_list_free");
        resolve(gtk.isA, "g_type_check_instance_is_a");
        resolve(gtk.windowListToplevels, "gtk_window_list_toplevels");
        resolve(gtk.fileChooserType, "gtk_file_chooser_get_type");
        resolve(gtk.fileChooserFilter, "gtk_file_chooser_get_filter");
        resolve(gtk.filterAdmits, "gtk_file_filter_filter");
        resolve(gtk.dialogResponse, "gtk_dialog_response");
        return gtk;
    }
};

// Whether FLTK shows the desktop's dialog: it does where GTK is installed.
bool desktopDialogInstalled() {
    const std::string libraries = output("/sbin/ldconfig -p");
    return libraries.find("/libgtk-x11-2.0.so.0") != std::string::npos ||
           libraries.find("/libgtk-3.so.0") != std::string::npos;
}

class DesktopDialogTest : public GuiTest {
protected:
    void SetUp() override {
        if (!desktopDialogInstalled()) GTEST_SKIP() << "the desktop's file dialog is not installed";
        if (output("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos)
            GTEST_SKIP() << "a window manager runs";
        openSampleMain(gui());
        opened(kMain);
        folder_ = testing::TempDir() + "zs_desktop_dialog";
        ASSERT_EQ(run("rm -rf " + folder_ + " && mkdir -p " + folder_ + " && touch " + folder_ +
                      "/xlogo " + folder_ + "/x.stp"),
                  0);
    }

    // Asks for a file on another thread while the UI thread keeps going. The dialog's loop holds
    // the UI thread: a dialog still open after the test's patience is closed from outside, with
    // Escape, given the focus for that.
    std::optional<std::string> request(FileMode mode, const std::string& title,
                                       const std::string& defaultFile, const std::string& filter) {
        std::optional<std::string> chosen;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            chosen = gui().fileRequester(mode, title, defaultFile, filter);
            done = true;
        });
        std::thread watchdog([&] {
            for (int i = 0; i < 300 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (done) return;
            ADD_FAILURE() << "the dialog " << title << " is still open";
            run("timeout 10 sh -c 'w=$(xdotool search --name \"^" + title +
                "$\" | head -1) && xdotool windowfocus --sync $w && xdotool key Escape'");
        });
        pumpUntil([&] { return done.load(); });
        worker.join();
        watchdog.join();
        return chosen;
    }

    std::string folder_;
};

// Keys reach the window under the pointer while no window has the focus: the pointer waits in
// a corner, away from the dialog, and the keys are typed once the dialog has the focus.
TEST_F(DesktopDialogTest, TakesATypedNameWithoutBeingActivated) {
    startCommand(
        "sh -c 'xdotool mousemove 1279 1023; w=$(xdotool search --sync --name \"^Filename$\" | "
        "head -1); for i in $(seq 50); do [ \"$(xdotool getwindowfocus 2>/dev/null)\" = \"$w\" ] "
        "&& break; sleep 0.1; done; xdotool key ctrl+a; xdotool type typed.stp; xdotool key "
        "Return'");
    const auto chosen =
        request(FileMode::Save, "Filename", folder_ + "/preset.stp", "STEP file (*.stp)|*.stp");
    finishCommand();
    EXPECT_EQ(chosen.value_or("(none)"), folder_ + "/typed.stp");
}

// Windows' "*.*" means every file; on Linux it would hide names without a dot, programs above
// all. The dialog's own filter is asked about each file of the folder, then the dialog closed:
// once it shows transient for the main window, which FLTK makes it after showing it and right
// before it listens for the answer.
TEST_F(DesktopDialogTest, FilterForEveryFileListsNamesWithoutADot) {
    struct Look {
        std::string folder;
        unsigned long owner = 0;
        std::vector<std::string> listed;
        bool looked = false;
    } look{folder_, gui().xWindow(kMain), {}, false};
    ASSERT_TRUE(Gtk::get().timeoutAdd);
    const unsigned timer = Gtk::get().timeoutAdd(
        50,
        [](void* data) {
            auto& look = *static_cast<Look*>(data);
            const Gtk& gtk = Gtk::get();
            if (!fltk::foreignTransientFor(look.owner)) return 1;
            Gtk::List* windows = gtk.windowListToplevels();
            for (Gtk::List* w = windows; w; w = w->next) {
                if (!gtk.isA(w->data, gtk.fileChooserType())) continue;
                for (const char* name : {"xlogo", "x.stp"}) {
                    const std::string path = look.folder + "/" + name;
                    const Gtk::FilterInfo info{1 | 4, path.c_str(), nullptr, name, nullptr};
                    if (gtk.filterAdmits(gtk.fileChooserFilter(w->data), &info)) look.listed.push_back(name);
                }
                look.looked = true;
                gtk.dialogResponse(w->data, -6);  // cancel
            }
            gtk.listFree(windows);
            return look.looked ? 0 : 1;
        },
        &look);
    EXPECT_FALSE(request(FileMode::Open, "Select execute file", folder_ + "/", "All files (*.*)|*.*"));
    if (!look.looked) Gtk::get().sourceRemove(timer);
    ASSERT_TRUE(look.looked);
    EXPECT_EQ(look.listed, (std::vector<std::string>{"xlogo", "x.stp"}));
}

}  // namespace
}  // namespace zs::gui::test
