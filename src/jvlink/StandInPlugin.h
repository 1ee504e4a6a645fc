// The contract between the component loader and the stand-in JV-Link plug-in: the plug-in's
// file name in the program's folder and the one C entry point it exports.
#pragma once

#include "jvlink/IJVLink.h"

#include <string_view>

namespace jvlink {

// File name of the plug-in beside the program.
inline constexpr std::string_view kStandInPluginFile = "jvlink_standin.so";

// Name of the exported factory and the interface revision both sides are built for; a plug-in
// built for another revision returns nothing instead of an object of a different layout.
inline constexpr const char* kStandInFactorySymbol = "JVLinkStandInCreate";
inline constexpr int kStandInPluginAbi = 1;

// The factory: a new component owned by the caller (delete through IJVLink), or null.
using TStandInFactory = IJVLink* (*)(int abiRevision);

} // namespace jvlink
