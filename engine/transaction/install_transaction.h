#pragma once
// The install transaction: places the whole product, journalling every
// artefact as it is made, and reports each step through its sink.  When the
// package cannot be placed, the main program's location cannot be recorded
// or the uninstall log cannot be written, the journal is rolled back and the
// machine is left as it was.

#include <cstdint>

#include "engine/steps/registry_entries.h"

namespace va {

class InstallSession;
class InstallSink;
class MessageTexts;

// One run, on the interface thread, for the interface language
// `languageIndex` (the one `texts` speak, recorded with the product).  `paths` receives the destinations of
// the main program and of the uninstaller as they are placed (emptied
// first).  True when the product is installed; the later steps' failures
// (shortcuts, DirectX, uninstall key, file types) show "Failed" on their
// line and do not fail the run.
bool RunInstallTransaction(InstallSession& session, InstallSink& sink, const MessageTexts& texts,
                           std::uint32_t languageIndex, ProductPaths& paths);

}  // namespace va
