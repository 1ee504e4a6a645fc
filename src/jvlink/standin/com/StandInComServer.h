// The stand-in JV-Link as an in-process COM server on Windows: an automation object that
// answers the JV-Link members by name through IDispatch, the way the program's COM client
// calls the real component, over the same stand-in service the Linux plug-in serves.
#pragma once

#include "jvlink/IJVLink.h"

#include <memory>

// <windows.h> must come before the COM headers.
// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

namespace standin::com {

// The stand-in's own class identifier, distinct from the real component's
// {2AB1774D-0C41-11D7-916F-0003479BEB3F}, so that it can never be taken for it.
inline constexpr CLSID kStandInClassId = {
    0xe1d96d2d, 0x4b4b, 0x4155, {0xb8, 0x74, 0x00, 0x76, 0x5a, 0x2a, 0xbc, 0x5c}};
inline constexpr const wchar_t* kStandInClassIdText = L"{E1D96D2D-4B4B-4155-B874-00765A2ABC5C}";

// The real component's class identifier: where it is registered, the stand-in is not.
inline constexpr const wchar_t* kRealJVLinkClassIdText = L"{2AB1774D-0C41-11D7-916F-0003479BEB3F}";

// An automation object over link, with one reference owned by the caller. Its members and
// their arguments: JVInit(sid), m_JVLinkVersion (property), JVSetUIProperties(),
// JVOpen(dataspec, fromtime, option, &readcount, &downloadcount, &lastfiletimestamp),
// JVStatus(), JVRead(&buff, &size, &filename), JVCancel(), JVClose(); texts are BSTRs
// converted with code page 932, out values are by-reference BSTRs and 32-bit integers.
IDispatch* NewJVLinkDispatch(std::unique_ptr<jvlink::IJVLink> link);

// The stand-in service for this user: its settings file in the per-user configuration
// folder, the built-in season or a catalogue folder as those settings say. No settings
// dialog can be shown without a user interface of the server's own, so JVSetUIProperties
// answers -100 and the settings are edited in their file.
std::unique_ptr<jvlink::IJVLink> NewStandInService();

// The class object of kStandInClassId (an IClassFactory making NewStandInService objects),
// as DllGetClassObject gives it.
HRESULT GetStandInClassObject(REFCLSID classId, REFIID iid, void** out);

// True while no object of the server lives and no client holds the server locked.
bool StandInServerIdle();

} // namespace standin::com
