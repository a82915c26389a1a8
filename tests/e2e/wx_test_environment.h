// The toolkit for the whole end-to-end run: started once (it cannot be started twice in one
// process), with screenshots of failing tests.
#pragma once

#include <string>

namespace wxui {
class WxInstallation;
}

// The installed wxWidgets backend; null when there is no display (the tests then skip) or when it
// did not start there (the run fails).
wxui::WxInstallation* WxToolkit();

// Where screenshots of failing tests are written.
std::string ArtifactDirectory();
