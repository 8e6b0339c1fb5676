#include "tests/common/bzip2_chain_cases.h"
