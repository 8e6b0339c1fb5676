// Carries the precompiled header that the test programs reuse.
#include "tests/common/precompiled.h"
