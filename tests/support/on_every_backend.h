// Dialog fixtures run their dialog on the backend Backend() names, through that backend's test
// driver; wrapped in OnEveryBackend, their tests (TEST_P, instantiated with UiDriverNames()) run
// once per backend the test binary has.
#pragma once

#include "platform/ui_driver.h"
#include "tests/support/library_fixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class BackendTest : public LibraryTest {
protected:
    void SetUp() override {
        m_driver = MakeUiDriver(Backend());
        if (!m_driver)
            GTEST_SKIP() << Backend() << " backend not available";
    }

    // The backend the dialog runs on.
    virtual std::string Backend() const { return "headless"; }

    std::unique_ptr<UiDriver> m_driver;
};

template <class Fixture>
class OnEveryBackend : public Fixture, public testing::WithParamInterface<std::string> {
protected:
    std::string Backend() const override { return this->GetParam(); }
};
