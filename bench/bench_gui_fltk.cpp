#include "bench_gui.h"

#include <cstdlib>

#include <FL/Fl.H>
#include <FL/x.H>

#include "platform/fltk/fltk_gui.h"

namespace zs::bench {

std::unique_ptr<BenchGui> OpenBenchGui() {
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    auto real = std::make_unique<FltkGui>(96);
    FltkGui* fltk = real.get();
    auto settle = [fltk] {
        fltk->runOnUi([] {
            Fl::flush();
            XSync(fl_display, False);
        });
        while (fltk->waitEventFor(0.0)) {
        }
    };
    return std::make_unique<BenchGui>(std::move(real), settle, "FLTK, X server");
}

}  // namespace zs::bench
