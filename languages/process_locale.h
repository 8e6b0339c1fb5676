#pragma once

namespace va {

// Per-thread runtime locales and the user's default locale as the standard
// library's global locale.  False when the global locale has no char
// classification facet.
bool SetUpProcessLocale();

}  // namespace va
