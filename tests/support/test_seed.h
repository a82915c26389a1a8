// The seed of a random test: the fixed one, so that the suite repeats itself, unless
// EXPLORER_TEST_SEED names another, so that scripts/sweep-seeds.sh can try many.
#pragma once

#include <cstdlib>

inline unsigned TestSeed(unsigned fixed) {
    const char* given = std::getenv("EXPLORER_TEST_SEED");
    if (!given || !*given)
        return fixed;
    char* end = nullptr;
    const unsigned long seed = std::strtoul(given, &end, 10);
    return *end == '\0' ? static_cast<unsigned>(seed) : fixed;
}
