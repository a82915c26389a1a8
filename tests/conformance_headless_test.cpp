// The control conformance suite on the headless backend (the wxWidgets one runs it in the
// end-to-end test binary, on a display).
#include "platform/headless/test_driver.h"
#include "tests/e2e/conformance_backend.h"

INSTANTIATE_TEST_SUITE_P(Headless, ConformanceTest,
                         ::testing::Values(ConformanceBackend{
                             "Headless",
                             []() -> std::unique_ptr<UiDriver> {
                                 return std::make_unique<headless::TestDriver>();
                             },
                             {}}),
                         ConformanceBackendName);
