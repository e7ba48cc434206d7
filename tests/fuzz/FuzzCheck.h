// A property a fuzz target holds: when it does not, the input is a finding.
#pragma once

#include <cstdlib>

inline void Check(bool holds)
{
    if (!holds)
        std::abort();
}
