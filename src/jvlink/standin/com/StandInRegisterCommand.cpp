// jvlink-standin: registers the stand-in JV-Link beside this command (jvlink_standin.dll) so
// that the program can be tried without a subscription, removes it again, or tells whether
// it is registered.
//
//   jvlink-standin register | unregister | status
#include "jvlink/standin/com/StandInRegistration.h"

#include <cwchar>
#include <string>
#include <windows.h>

namespace {

// Words to the console as they are, or as UTF-8 when the output is redirected.
void Say(const std::wstring& text, DWORD stream) {
    const HANDLE out = GetStdHandle(stream);
    const std::wstring line = text + L"\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const int size = static_cast<int>(line.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), size, utf8.data(), bytes, nullptr, nullptr);
    WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring ServerBesideThis() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    const std::size_t slash = path.find_last_of(L"\\/");
    return (slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1)) +
           L"jvlink_standin.dll";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace standin::com;
    const std::wstring command = argc == 2 ? argv[1] : L"";
    if (command == L"register") {
        const TRegistrationOutcome outcome = RegisterStandIn(ServerBesideThis());
        Say(outcome.message, outcome.ok ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        return outcome.ok ? 0 : 1;
    }
    if (command == L"unregister") {
        const TRegistrationOutcome outcome = UnregisterStandIn();
        Say(outcome.message, outcome.ok ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        return outcome.ok ? 0 : 1;
    }
    if (command == L"status") {
        switch (StandInRegistrationState()) {
        case TRegistrationState::StandIn:
            Say(L"JVDTLab.JVLink はスタンドインの JV-Link です。", STD_OUTPUT_HANDLE);
            break;
        case TRegistrationState::Foreign:
            Say(L"JVDTLab.JVLink には JV-Link（スタンドインではないもの）が登録されています。",
                STD_OUTPUT_HANDLE);
            break;
        case TRegistrationState::NotRegistered:
            Say(L"JVDTLab.JVLink は登録されていません。", STD_OUTPUT_HANDLE);
            break;
        }
        return 0;
    }
    Say(L"使い方: jvlink-standin register | unregister | status", STD_ERROR_HANDLE);
    return 2;
}
