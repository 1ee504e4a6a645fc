// The program's version, the software identifier it gives JV-Link, and the check of the
// installed JV-Link's version. All texts are CP932 bytes (these are ASCII, apart from the
// notice).
#pragma once

#include <string>
#include <string_view>

namespace shell {

// The program's version text: part of the software identifier, shown by the version window.
inline constexpr std::string_view kVersionText = "Ver.1.30";

// The oldest JV-Link version the program works with, as the component reports it.
inline constexpr std::string_view kRequiredJVLinkVersion = "0490";

// The software identifier passed to JVInit: "TOMBERLY-SHINBUN/" + versionText + "/JVDL".
// JV-Link refuses an identifier that is empty, starts with a blank or has 64 bytes or more.
std::string SoftwareIdentifier(std::string_view versionText = kVersionText);

// The display form of a JV-Link version text: its second, third and fourth characters joined
// by ".", so "0490" reads 4.9.0. A shorter text gives the characters it has ("049" -> 4.9).
std::string JVLinkVersionDisplay(std::string_view version);

// True when the version text compares lower than "0490" as text: byte by byte, then the
// shorter first. "0480" and "049" are too old; "0490", "0500" and "04900" are not.
bool IsJVLinkVersionTooOld(std::string_view version);

// The notice for a too old JV-Link, three lines joined by CR LF, with the display form of
// the installed version in the first line's brackets.
std::string JVLinkVersionNotice(std::string_view version);

} // namespace shell
