// The toolkit, started once for the whole benchmark run like a host's (it cannot be started twice
// in one process); null without a display.
#pragma once

namespace wxui {
class WxInstallation;
}

wxui::WxInstallation* BenchToolkit();
