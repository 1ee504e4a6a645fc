// Creating the JV-Link component by its programmatic identifier.
//
// On Windows this is the installed automation component, reached through COM; elsewhere the
// stand-in plug-in in the program's folder. Either one missing or failing to start means
// "not installed": nothing is returned.
#pragma once

#include "jvlink/IJVLink.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace jvlink {

// The component registered as progId; only "JVDTLab.JVLink" (letter case aside, as the
// Windows registry compares it) is a JV-Link component, any other identifier gives nothing.
std::unique_ptr<IJVLink> CreateJVLink(std::string_view progId);

#if !defined(_WIN32)
// The stand-in plug-in loaded from folder: nothing when its file is missing, is not a loadable
// library, lacks the factory, or the factory gives no object. A loaded plug-in stays loaded
// for the rest of the run (its code may still be referenced by objects it made).
std::unique_ptr<IJVLink> LoadStandInPlugin(const std::filesystem::path& folder);
#endif

} // namespace jvlink
