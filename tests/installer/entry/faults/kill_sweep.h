#pragma once
// The kill sweep: every fault point of the fault sweep's scenarios with the
// run held there and killed; the next start must undo it.  Prints its
// findings and figures; returns its count of points that differ.

#include "tests/installer/entry/faults/point_sweep.h"

namespace va::test {

int SweepKills(const SweepOptions& options);

}  // namespace va::test
