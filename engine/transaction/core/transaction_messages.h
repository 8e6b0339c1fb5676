#pragma once
// The installer messages the install transaction shows, by number (message n
// is French string 1000 + n; the steps' own numbers are in
// languages/core/message_numbers.h).

namespace va {

inline constexpr int kMessageNext = 6;                // inserted into kMessageClickToContinue
inline constexpr int kMessageSamplesFolder = 18;      // "%1" = product name without version
inline constexpr int kMessageClickToContinue = 106;   // "%1" = kMessageNext
inline constexpr int kMessagePreparing = 114;
inline constexpr int kMessageInstallationData = 119;
inline constexpr int kMessageInstallFailed = 121;     // "%1" = the error-code text

}  // namespace va
