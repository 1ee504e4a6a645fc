// The installed JV-Link component on Windows, driven through COM automation: late-bound
// IDispatch calls by member name, texts as BSTRs converted with code page 932.
#pragma once

#include "jvlink/IJVLink.h"

#include <memory>
#include <string>
#include <string_view>

struct IDispatch;

namespace jvlink::com {

// Creates the component registered under progId (CLSIDFromProgID, CoCreateInstance); nothing
// when it is not registered or does not start. The object must be used on the creating thread.
// COM is initialised on that thread as a single-threaded apartment unless the thread already
// has one; the initialisation is undone when the object is destroyed.
std::unique_ptr<IJVLink> CreateComJVLink(std::string_view progId);

// An IJVLink over an automation object that already exists; takes a reference of its own.
std::unique_ptr<IJVLink> WrapDispatch(IDispatch* dispatch);

// CP932 bytes to UTF-16 and back (code page 932). Bytes that are not CP932 become U+30FB
// (the code page's default character); characters CP932 lacks become '?' (no best-fit
// look-alikes).
std::wstring WidenCp932(std::string_view cp932);
std::string NarrowCp932(std::wstring_view wide);

} // namespace jvlink::com
