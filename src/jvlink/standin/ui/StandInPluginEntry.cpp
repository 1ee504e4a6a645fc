// The plug-in's one exported entry point: the program's component loader calls it to create
// the stand-in JV-Link.
#include "jvlink/StandInPlugin.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/StandInJVLink.h"
#include "jvlink/standin/ui/StandInSettingsDialog.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) jvlink::IJVLink*
JVLinkStandInCreate(int abiRevision) {
    if (abiRevision != jvlink::kStandInPluginAbi) {
        return nullptr;
    }
    try {
        return new standin::TStandInJVLink(standin::DefaultSettingsFile(),
                                           standin::SettingsCatalogueProvider(),
                                           &standin::ui::EditSettingsInDialog);
    } catch (...) {
        return nullptr; // an exception must not cross into the loader
    }
}

static_assert(std::is_same_v<decltype(&JVLinkStandInCreate), jvlink::TStandInFactory>);
