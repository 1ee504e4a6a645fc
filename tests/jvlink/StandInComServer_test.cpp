// The stand-in's COM server end to end: registered under the JV-Link's identifier, created
// through the program's own creation path and driven through automation as the program drives
// the real component; and its registration, which must never displace another component.
#if defined(_WIN32)

#include "jvlink/CreateJVLink.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/StandInJVLink.h"
#include "jvlink/standin/com/StandInComServer.h"
#include "jvlink/standin/com/StandInRegistration.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <stdlib.h>
#include <thread>
#include <vector>

namespace {

using namespace keiba::test;
using namespace standin::com;

std::wstring ServerFile() {
    wchar_t path[MAX_PATH];
    std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"jvlink_standin.dll";
}

// The service's settings in a folder of the test's own (APPDATA), and no registration left
// behind whatever the test's outcome.
struct TStandInUser {
    TempDir appData;
    TStandInUser() {
        standin::TStandInSettings settings;
        settings.seasonWeeks = 1;
        settings.downloadMsPerFile = 5;
        EXPECT_TRUE(standin::SaveSettings(SettingsFile(), settings));
        _wputenv_s(L"APPDATA", appData.path().wstring().c_str());
    }
    ~TStandInUser() { UnregisterStandIn(); }
    std::filesystem::path SettingsFile() const { return appData / "tomberly/jvlink-standin.ini"; }
};

// Every key and value under a key, depth levels down, as lines to compare.
void Snapshot(HKEY root, const std::wstring& path, int depth, std::vector<std::wstring>& lines) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        wchar_t data[1024] = {};
        DWORD bytes = sizeof data - sizeof(wchar_t);
        const LSTATUS status = RegEnumValueW(key, i, name, &length, nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(data), &bytes);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
            break;
        }
        lines.push_back(path + L" :" + name + L"=" + (status == ERROR_SUCCESS ? data : L"…"));
    }
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        lines.push_back(path + L"\\" + name);
        if (depth > 1) {
            Snapshot(root, path + L"\\" + name, depth - 1, lines);
        }
    }
    RegCloseKey(key);
}
std::vector<std::wstring> RegistrySnapshot() {
    std::vector<std::wstring> lines;
    Snapshot(HKEY_CURRENT_USER, L"Software\\Classes", 8, lines);
    Snapshot(HKEY_LOCAL_MACHINE, L"Software\\Classes", 1, lines);
    Snapshot(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", 1, lines);
    Snapshot(HKEY_LOCAL_MACHINE, L"Software\\Classes\\JVDTLab.JVLink", 8, lines);
    return lines;
}

// Whether any key of the stand-in is left in either place it registers in.
bool StandInKeysLeft() {
    const std::wstring ours = std::wstring(L"Software\\Classes\\CLSID\\") + kStandInClassIdText;
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const std::wstring& path :
             {ours, std::wstring(L"Software\\Classes\\JVDTLab.JVLink")}) {
            HKEY key = nullptr;
            if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
                RegCloseKey(key);
                return true;
            }
        }
    }
    return false;
}

// An entry point of the server file, as the COM runtime and regsvr32 find it.
template <typename TFunction>
TFunction Entry(HMODULE server, const char* name) {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(server, name)));
}
using TPlainEntry = HRESULT(WINAPI*)();

struct TAcquisition {
    std::int32_t downloads = 0;
    std::vector<std::int32_t> statuses; // JVStatus while the files were fetched
    std::string lastTimestamp;
    std::vector<std::string> records; // file name, a tab, the record; sorted
};

TAcquisition Acquire(jvlink::IJVLink& link) {
    TAcquisition got;
    EXPECT_EQ(link.JVInit("TOMBERLY"), 0);
    EXPECT_EQ(link.JVLinkVersion(), "0490");
    EXPECT_EQ(link.JVSetUIProperties(), -100) << "no settings dialog in the server";
    std::int32_t reads = 0;
    EXPECT_EQ(link.JVOpen("RACERCVN", "20000101000000", 2, reads, got.downloads, got.lastTimestamp),
              0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (got.downloads > 0 && (got.statuses.empty() || got.statuses.back() < got.downloads) &&
           std::chrono::steady_clock::now() < deadline) {
        got.statuses.push_back(link.JVStatus());
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::string record;
    std::string fileName;
    for (std::int32_t status = 1; status != 0 && std::chrono::steady_clock::now() < deadline;) {
        status = link.JVRead(record, 60000, fileName);
        if (status > 0) {
            EXPECT_EQ(static_cast<std::size_t>(status), record.size()) << fileName;
            EXPECT_TRUE(record.ends_with("\r\n")) << Show(record);
            got.records.push_back(fileName + "\t" + record);
        } else if (status < -3) {
            ADD_FAILURE() << "JVRead " << status;
            break;
        }
    }
    EXPECT_EQ(link.JVClose(), 0);
    std::sort(got.records.begin(), got.records.end());
    return got;
}

TEST(StandInComServer, ServesTheBuiltInSeasonThroughTheProgramsCreationPath) {
    TStandInUser user;
    if (StandInRegistrationState() == TRegistrationState::Foreign) {
        GTEST_SKIP() << "a JV-Link is registered on this machine";
    }
    EXPECT_EQ(jvlink::CreateJVLink(jvlink::kJVLinkProgId), nullptr) << "nothing registered yet";
    const auto outcome = RegisterStandIn(ServerFile());
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(StandInRegistrationState(), TRegistrationState::StandIn);

    auto link = jvlink::CreateJVLink("jvdtlab.jvlink");
    ASSERT_NE(link, nullptr);
    const TAcquisition viaCom = Acquire(*link);
    ASSERT_GT(viaCom.downloads, 2) << "a fresh download cache";
    ASSERT_FALSE(viaCom.statuses.empty());
    EXPECT_LT(viaCom.statuses.front(), viaCom.downloads) << "seen while downloading";
    EXPECT_EQ(viaCom.statuses.back(), viaCom.downloads);
    EXPECT_TRUE(std::is_sorted(viaCom.statuses.begin(), viaCom.statuses.end()));
    EXPECT_EQ(viaCom.lastTimestamp.size(), 14u);
    EXPECT_EQ(link->JVClose(), 0) << "closing twice is harmless";
    link.reset();

    // The same service in this process: the records through COM are its bytes exactly.
    standin::TStandInJVLink direct(user.SettingsFile(), standin::SettingsCatalogueProvider());
    const TAcquisition directly = Acquire(direct);
    EXPECT_EQ(viaCom.lastTimestamp, directly.lastTimestamp);
    ASSERT_EQ(viaCom.records.size(), directly.records.size());
    EXPECT_TRUE(viaCom.records == directly.records);
    EXPECT_TRUE(std::any_of(viaCom.records.begin(), viaCom.records.end(), [](const auto& r) {
        return std::any_of(r.begin(), r.end(), [](char c) { return (c & 0x80) != 0; });
    })) << "Shift-JIS texts went through code page 932";
    EXPECT_TRUE(UnregisterStandIn().ok);
    EXPECT_FALSE(StandInKeysLeft());
}

TEST(StandInComServer, RegistrationNeverDisplacesAnotherComponentAndLeavesNothingBehind) {
    TStandInUser user;
    if (StandInRegistrationState() != TRegistrationState::NotRegistered) {
        GTEST_SKIP() << "a JV-Link is registered on this machine";
    }
    const auto before = RegistrySnapshot();
    const HMODULE server = LoadLibraryW(ServerFile().c_str());
    ASSERT_NE(server, nullptr);
    const auto dllRegister = Entry<TPlainEntry>(server, "DllRegisterServer");
    const auto dllUnregister = Entry<TPlainEntry>(server, "DllUnregisterServer");
    ASSERT_TRUE(dllRegister != nullptr && dllUnregister != nullptr);

    // As regsvr32 registers and unregisters it, twice over.
    EXPECT_EQ(dllRegister(), S_OK);
    EXPECT_EQ(dllRegister(), S_OK) << "registering again replaces its own keys";
    EXPECT_EQ(StandInRegistrationState(), TRegistrationState::StandIn);
    EXPECT_NE(RegistrySnapshot(), before);
    EXPECT_EQ(dllUnregister(), S_OK);
    EXPECT_FALSE(StandInKeysLeft());
    EXPECT_EQ(RegistrySnapshot(), before);

    // The real component's identifier, registered for this user.
    HKEY foreign = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\JVDTLab.JVLink\\CLSID", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &foreign, nullptr),
              ERROR_SUCCESS);
    const std::wstring real = kRealJVLinkClassIdText;
    RegSetValueExW(foreign, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(real.c_str()),
                   static_cast<DWORD>((real.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(foreign);
    const auto withForeign = RegistrySnapshot();
    EXPECT_EQ(StandInRegistrationState(), TRegistrationState::Foreign);
    const auto refused = RegisterStandIn(ServerFile());
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find(real), std::wstring::npos);
    EXPECT_TRUE(FAILED(dllRegister()));
    EXPECT_TRUE(UnregisterStandIn().ok);
    EXPECT_EQ(RegistrySnapshot(), withForeign) << "the other component's keys stay";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\JVDTLab.JVLink");
    EXPECT_EQ(RegistrySnapshot(), before);
    FreeLibrary(server);
}

TEST(StandInComServer, AutomationObjectRefusesArgumentsOfTheWrongKind) {
    TStandInUser user;
    const HMODULE server = LoadLibraryW(ServerFile().c_str());
    ASSERT_NE(server, nullptr);
    const auto getClass =
        Entry<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(server, "DllGetClassObject");
    const auto canUnload = Entry<TPlainEntry>(server, "DllCanUnloadNow");
    ASSERT_TRUE(getClass != nullptr && canUnload != nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClass(kStandInClassId, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    IDispatch* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)),
              S_OK);
    EXPECT_EQ(canUnload(), S_FALSE) << "an object lives";

    LPOLESTR names[] = {const_cast<LPOLESTR>(L"jvread"), const_cast<LPOLESTR>(L"JVReadEx")};
    DISPID read = DISPID_UNKNOWN;
    DISPID unknown = DISPID_UNKNOWN;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &names[0], 1, 0, &read), S_OK);
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &names[1], 1, 0, &unknown), DISP_E_UNKNOWNNAME);

    // The buffer by value where a reference must come; too few arguments; named arguments.
    BSTR name = nullptr;
    LONG size = 60000;
    VARIANTARG args[3];
    for (VARIANTARG& a : args) {
        VariantInit(&a);
    }
    args[0].vt = VT_BYREF | VT_BSTR;
    args[0].pbstrVal = &name;
    args[1].vt = VT_BYREF | VT_I4;
    args[1].plVal = &size;
    args[2].vt = VT_BSTR;
    args[2].bstrVal = nullptr;
    DISPPARAMS params{args, nullptr, 3, 0};
    VARIANT result;
    VariantInit(&result);
    UINT bad = 99;
    EXPECT_EQ(object->Invoke(read, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, &bad),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(bad, 2u) << "the first argument, last in the array";
    params.cArgs = 2;
    EXPECT_EQ(object->Invoke(read, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, &bad),
              DISP_E_BADPARAMCOUNT);
    DISPID named = 0;
    DISPPARAMS withNames{args, &named, 1, 1};
    EXPECT_EQ(
        object->Invoke(read, IID_NULL, 0, DISPATCH_METHOD, &withNames, &result, nullptr, &bad),
        DISP_E_NONAMEDARGS);
    EXPECT_EQ(name, nullptr) << "nothing written for a refused call";

    object->Release();
    EXPECT_EQ(canUnload(), S_OK);
    FreeLibrary(server);
}

} // namespace

#endif
