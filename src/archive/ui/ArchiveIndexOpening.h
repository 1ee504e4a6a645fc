// The store's index as the archive window opens it: the index under the data root, built from
// the store when it is missing, damaged or from a newer version, and the message that says
// what was done or why there is none.
#pragma once

#include "archive/ui/TArchiveForm.h"

#include <filesystem>

namespace archive::ui {

TIndexOpening OpenArchiveIndex(const std::filesystem::path& dataRoot);

} // namespace archive::ui
