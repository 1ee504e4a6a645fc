// The search key of a name: the form in which a typed part of a name is found in the names of
// the store, whichever way the user or the record wrote the kana.
//
// Names arrive as CP932 (a horse's katakana name in SE 41-76, its half-width kana name in the
// horse master, a jockey's kanji short name); users type hiragana as often as katakana. The
// key is UTF-8 (so that a part is found only on whole characters, which CP932 bytes cannot
// promise) in which half-width katakana become full-width ones (a following voiced or
// semi-voiced mark joined to its kana), hiragana become katakana, full-width Latin letters and
// digits become ASCII, letters become small, and every blank, half-width or full-width, is
// left out.
#pragma once

#include <string>
#include <string_view>

namespace archive {

// The key of a CP932 name.
std::string NameKey(std::string_view sjis);

} // namespace archive
