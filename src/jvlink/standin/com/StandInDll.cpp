// The entry points of the stand-in's COM server file, jvlink_standin.dll: the class object for
// the COM runtime, and self-registration for regsvr32.
#include "jvlink/standin/com/StandInComServer.h"
#include "jvlink/standin/com/StandInRegistration.h"

#include <oleauto.h>
#include <olectl.h>
#include <string>

namespace {

HMODULE gModule = nullptr;

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(gModule, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The outcome's words for whoever asks for the error of the call (IErrorInfo) and for a
// debugger; regsvr32 itself shows only the code.
void Report(const standin::com::TRegistrationOutcome& outcome) {
    OutputDebugStringW((outcome.message + L"\n").c_str());
    ICreateErrorInfo* create = nullptr;
    if (!outcome.ok && SUCCEEDED(CreateErrorInfo(&create))) {
        create->SetSource(const_cast<LPOLESTR>(L"JVDTLab.JVLink"));
        create->SetDescription(const_cast<LPOLESTR>(outcome.message.c_str()));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
    return standin::com::GetStandInClassObject(classId, iid, out);
}

STDAPI DllCanUnloadNow() {
    return standin::com::StandInServerIdle() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    const std::wstring path = ModulePath();
    if (path.empty()) {
        return SELFREG_E_CLASS;
    }
    const auto outcome = standin::com::RegisterStandIn(path);
    Report(outcome);
    return outcome.ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    const auto outcome = standin::com::UnregisterStandIn();
    Report(outcome);
    return outcome.ok ? S_OK : SELFREG_E_CLASS;
}
