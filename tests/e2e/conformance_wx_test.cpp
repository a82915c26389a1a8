// The control conformance suite on the wxWidgets backend, with real input through the X server.
#include "platform/wx/wx_driver.h"
#include "tests/e2e/conformance_backend.h"
#include "tests/e2e/wx_test_environment.h"

INSTANTIATE_TEST_SUITE_P(Wx, ConformanceTest,
                         ::testing::Values(ConformanceBackend{
                             "Wx",
                             []() -> std::unique_ptr<UiDriver> {
                                 wxui::WxInstallation* toolkit = WxToolkit();
                                 if (!toolkit)
                                     return nullptr;
                                 return std::make_unique<wxui::WxTestDriver>(toolkit->Backend());
                             },
                             [] {
                                 wxui::WxInstallation* toolkit = WxToolkit();
                                 return toolkit ? toolkit->Backend().AssertionCount() : 0;
                             }}),
                         ConformanceBackendName);
