#include "bench/wx/bench_toolkit.h"

#include "platform/wx/wx_backend.h"

#include <cstdlib>
#include <memory>

wxui::WxInstallation* BenchToolkit() {
    static std::unique_ptr<wxui::WxInstallation> toolkit =
        std::getenv("DISPLAY") ? wxui::InstallWxBackend() : nullptr;
    return toolkit.get();
}
