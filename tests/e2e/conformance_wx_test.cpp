// The control conformance suite on the wxWidgets backend, with real input through the X server.
#include "platform/wx/wx_backend.h"
#include "tests/e2e/conformance_backend.h"
#include "tests/e2e/wx_test_environment.h"

INSTANTIATE_TEST_SUITE_P(Wx, ConformanceTest,
                         ::testing::Values(ConformanceBackend{
                             "Wx",
                             // The driver main.cpp registers; none without a display.
                             [] { return MakeUiDriver("wx"); },
                             [] {
                                 wxui::WxInstallation* toolkit = WxToolkit();
                                 return toolkit ? toolkit->Backend().AssertionCount() : 0;
                             }}),
                         ConformanceBackendName);
