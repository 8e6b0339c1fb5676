#pragma once
// Rolling back a run whose every step is done but whose uninstall log could
// not be written: without its log the installation could not be removed,
// so it must not stand.

namespace va {

class InstanceMutex;
class UninstallLog;
struct ProductPaths;
struct ProgramPathValueState;

// Takes back what the journal does not hold (a file-type registration that
// no previous installation had, the program-path value), then rolls the
// journal back.
void RollBackFinishedRun(UninstallLog& log, const ProductPaths& paths, const ProgramPathValueState& pathValueBefore,
                         InstanceMutex& mutex);

}  // namespace va
