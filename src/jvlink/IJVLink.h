// IJVLink: the operations of the JV-Link automation component ("JVDTLab.JVLink") that the
// program uses, with their in and out values.
//
// Every operation returns a 32-bit status: 0 or above is success (or a count), a negative
// value is the component's error code, which the result-message converter turns into words.
// Texts go in and come out as CP932 (Shift-JIS) bytes; a record from JVRead is one fixed-length
// JV-Data record ending in CR LF. A failure of the automation call itself (not a status the
// component returned) is thrown as JVLinkCallError.
//
// One instance serves one program, called from one thread (the user-interface thread).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace jvlink {

// The programmatic identifier the component is registered under.
inline constexpr std::string_view kJVLinkProgId = "JVDTLab.JVLink";

// The automation call could not be made or was refused (the component was removed, the call
// raised an exception, an out value had the wrong type); the message names the operation.
class JVLinkCallError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IJVLink {
public:
    virtual ~IJVLink() = default;

    // Initialises the component with the caller's software identifier (CP932 text).
    // 0 ready; -101 empty, -102 64 bytes or more, -103 first character a blank.
    virtual std::int32_t JVInit(const std::string& sid) = 0;

    // The component's version text, four digits such as "0490".
    virtual std::string JVLinkVersion() = 0;

    // Shows the component's own settings dialog (service key, data location).
    // 0 done; -100 the settings could not be saved.
    virtual std::int32_t JVSetUIProperties() = 0;

    // Opens an acquisition: dataspec is a run of 4-character data identifiers ("RACERCVN"),
    // fromTime "yyyymmddhhnnss", option 1 to 4. 0 opened, -1 nothing newer than fromTime,
    // other negatives error codes. Out: readCount files to read, downloadCount files to fetch
    // before they can be read, lastFileTimestamp the newest file's "yyyymmddhhnnss" (or blanks
    // or zeros when the component gives none).
    virtual std::int32_t JVOpen(const std::string& dataspec, const std::string& fromTime,
                                std::int32_t option, std::int32_t& readCount,
                                std::int32_t& downloadCount, std::string& lastFileTimestamp) = 0;

    // Files fetched so far (0 up to the download count), or a negative error code.
    virtual std::int32_t JVStatus() = 0;

    // Reads on: above 0 buffer holds one record with CR LF (the value is its byte length) and
    // fileName the file it belongs to; -1 a file ended; 0 everything read; -3 the next file is
    // still being fetched and -2 nothing this time (call again); below -3 an error code.
    // size is the caller's buffer size in bytes.
    virtual std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& fileName) = 0;

    // Stops the fetching of files.
    virtual std::int32_t JVCancel() = 0;

    // Ends the acquisition opened by JVOpen. 0 closed.
    virtual std::int32_t JVClose() = 0;
};

} // namespace jvlink
