// The end-to-end cases, each a short session of a person with loafix and the client.
#pragma once

#include <vector>

#include "tests/wine/WineTest.h"

namespace loafix::e2e {

using winetest::Case;

const std::vector<Case>& EndToEndCases();

}  // namespace loafix::e2e
