#pragma once
// A line of the progress text as wide as its control: the words centred in
// dashes, or dashes alone.  The widths come from the control's font; this
// only does the arithmetic, so that every sink lays the line out alike.

#include <string>

namespace va {

// " " + text + " " for a banner with words, nothing without.
std::wstring BannerWords(const std::wstring& text);

// `available`: the width the line may take; `wordsWidth`: the width of
// BannerWords(text) (0 without text); `dashWidth`: the width of one "-".
// n = (available - wordsWidth) / dashWidth dashes, n / 2 before the words
// and the rest after them, then CR LF.  A width that leaves no room gives
// no dash; a dash width of 0 or less gives none either.
std::wstring BannerLine(const std::wstring& text, int available, int wordsWidth, int dashWidth);

}  // namespace va
