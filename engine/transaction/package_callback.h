#pragma once
// The install transaction's answers to the package reader: the preparation
// check, the file placement, the progress bar and the failure report, each
// followed by a round of the waiting window messages.

#include <istream>

#include "engine/package/core/notification.h"
#include "engine/placement/file_placement.h"

namespace va {

class InstallSink;
class MessageTexts;
class UninstallLog;

class PackageCallback {
public:
    // `stream` is the package being extracted: the preparation check reads
    // it through once and rewinds it.
    PackageCallback(InstallSink& sink, const MessageTexts& texts, std::istream& stream, UninstallLog& log,
                    PlacementContext& placement);

    notification::result operator()(const notification& message);

private:
    notification::result Dispatch(const notification& message);
    notification::result OnStart();
    notification::result OnProgress(const notification::progress& progress);
    notification::result OnError(const notification::error& error);

    InstallSink& sink_;
    const MessageTexts& texts_;
    std::istream& stream_;
    UninstallLog& log_;
    PlacementContext& placement_;
};

}  // namespace va
