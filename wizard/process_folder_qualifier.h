#pragma once
// The process's own current directory and the shell's qualification of a
// typed folder (PathSearchAndQualifyW).

#include "wizard/core/typed_folder.h"

namespace va {

FolderQualifier& ProcessFolderQualifier();

}  // namespace va
