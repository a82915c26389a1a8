// Dialog fixtures name the backend their dialog runs on; wrapped in OnEveryBackend, their tests
// (TEST_P, instantiated with UiDriverNames()) run once per backend the test binary has.
#pragma once

#include <gtest/gtest.h>

#include <string>

template <class Fixture>
class OnEveryBackend : public Fixture, public testing::WithParamInterface<std::string> {
protected:
    std::string Backend() const override { return this->GetParam(); }
};
