// Registering the stand-in COM server under the JV-Link's programmatic identifier, for a user
// who wants to try the program without a subscription, and removing it again.
//
// The registration is per user (HKEY_CURRENT_USER\Software\Classes), so no administrator is
// needed. Wine's class lookup reads only the machine's classes, so under Wine the same keys go
// to HKEY_LOCAL_MACHINE\Software\Classes, which Wine's user may write.
//
// The stand-in never takes the identifier from another component: while "JVDTLab.JVLink" maps
// to any class but the stand-in's in any registry view, or the real component's class is
// registered, registering is refused and nothing is written. Unregistering removes only keys
// that are the stand-in's own.
#pragma once

#include <string>

namespace standin::com {

enum class TRegistrationState {
    NotRegistered, // nothing answers to "JVDTLab.JVLink"
    StandIn,       // the identifier maps to the stand-in
    Foreign,       // another component (the real JV-Link) is registered
};

struct TRegistrationOutcome {
    bool ok = false;
    std::wstring message; // what happened, in words for the user
};

TRegistrationState StandInRegistrationState();

// Registers the server file serverDll (a full path) under "JVDTLab.JVLink". Registering again
// replaces the stand-in's own keys (the file may have moved).
TRegistrationOutcome RegisterStandIn(const std::wstring& serverDll);

// Removes the stand-in's keys; a foreign registration is left as it is.
TRegistrationOutcome UnregisterStandIn();

} // namespace standin::com
