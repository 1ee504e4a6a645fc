#include "jvlink/standin/com/StandInRegistration.h"

#include "jvlink/standin/com/StandInComServer.h"

#include <cwchar>
#include <optional>
#include <vector>

namespace standin::com {

namespace {

constexpr const wchar_t* kProgId = L"JVDTLab.JVLink";
constexpr const wchar_t* kDescription = L"Tomberly stand-in JV-Link";
// Set in the stand-in's class key when registering made the CLSID folder itself, so that
// unregistering removes that folder too (when nothing else has come into it).
constexpr const wchar_t* kMadeClsidFolder = L"StandInMadeClsidFolder";

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// An open registry key, closed when it goes out of scope.
class TKey {
public:
    TKey() = default;
    ~TKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;

    // Opened for reading; access adds writing or names a registry view.
    bool Open(HKEY parent, const std::wstring& path, REGSAM access = 0) {
        return RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | access, &key_) == ERROR_SUCCESS;
    }
    LSTATUS Create(HKEY parent, const std::wstring& path, DWORD* disposition = nullptr) {
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                               &key_, disposition);
    }
    HKEY get() const { return key_; }

    // A text value (nullptr: the key's default value).
    std::optional<std::wstring> Text(const wchar_t* name) const {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.resize(wcsnlen(text.c_str(), bytes / sizeof(wchar_t)));
        return text;
    }
    LSTATUS SetText(const wchar_t* name, const std::wstring& value) {
        return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool Empty() const {
        DWORD subkeys = 0;
        DWORD values = 0;
        return RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
               subkeys == 0 && values == 0;
    }

private:
    HKEY key_ = nullptr;
};

bool SameText(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

std::wstring SystemText(LSTATUS code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring out = length == 0 ? std::wstring() : std::wstring(text, length);
    LocalFree(text);
    while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ')) {
        out.pop_back();
    }
    return out + L" (" + std::to_wstring(code) + L")";
}

// Where the stand-in writes its keys, and every place its keys may have been written to.
struct TPlace {
    HKEY root;
    const wchar_t* path;
};
TPlace RegistrationPlace() {
    return UnderWine() ? TPlace{HKEY_LOCAL_MACHINE, L"Software\\Classes"}
                       : TPlace{HKEY_CURRENT_USER, L"Software\\Classes"};
}
std::vector<TPlace> PlacesToClean() {
    std::vector<TPlace> places{{HKEY_CURRENT_USER, L"Software\\Classes"}};
    if (UnderWine()) {
        places.push_back({HKEY_LOCAL_MACHINE, L"Software\\Classes"});
    }
    return places;
}

struct TLookup {
    bool foreign = false;
    bool standIn = false;
    std::wstring foreignClass; // what the identifier maps to, for the message
};

// The identifier and the real component's class as every registry view sees them: the
// merged classes of 64-bit and 32-bit programs, and the per-user and machine classes apart
// (a system that does not merge them still counts each).
TLookup LookUp() {
    struct TView {
        HKEY root;
        const wchar_t* path;
        REGSAM view;
    };
    const TView views[] = {
        {HKEY_CLASSES_ROOT, L"", KEY_WOW64_64KEY},
        {HKEY_CLASSES_ROOT, L"", KEY_WOW64_32KEY},
        {HKEY_CURRENT_USER, L"Software\\Classes\\", 0},
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\", KEY_WOW64_64KEY},
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\", KEY_WOW64_32KEY},
    };
    TLookup found;
    for (const TView& v : views) {
        TKey progId;
        if (progId.Open(v.root, std::wstring(v.path) + kProgId, v.view)) {
            TKey classKey;
            std::optional<std::wstring> classId;
            if (classKey.Open(progId.get(), L"CLSID", v.view)) {
                classId = classKey.Text(nullptr);
            }
            if (classId && SameText(*classId, kStandInClassIdText)) {
                found.standIn = true;
            } else {
                found.foreign = true;
                found.foreignClass = classId ? *classId : std::wstring(L"?");
            }
        }
        TKey real;
        if (real.Open(v.root, std::wstring(v.path) + L"CLSID\\" + kRealJVLinkClassIdText, v.view)) {
            found.foreign = true;
            found.foreignClass = kRealJVLinkClassIdText;
        }
    }
    return found;
}

// Removes the stand-in's keys from one place; true when there were any.
bool RemoveFrom(const TPlace& place) {
    TKey classes;
    if (!classes.Open(place.root, place.path, KEY_WRITE)) {
        return false;
    }
    bool removed = false;
    {
        TKey progId;
        TKey classKey;
        if (progId.Open(classes.get(), kProgId, KEY_WRITE) &&
            classKey.Open(progId.get(), L"CLSID")) {
            const auto classId = classKey.Text(nullptr);
            if (classId && SameText(*classId, kStandInClassIdText)) {
                RegDeleteKeyW(progId.get(), L"CLSID");
                const auto description = progId.Text(nullptr);
                if (description && *description == kDescription) {
                    RegDeleteValueW(progId.get(), nullptr);
                }
                removed = true;
            }
        }
    }
    {
        TKey progId;
        if (removed && progId.Open(classes.get(), kProgId) && progId.Empty()) {
            RegDeleteKeyW(classes.get(), kProgId);
        }
    }
    const std::wstring ours = std::wstring(L"CLSID\\") + kStandInClassIdText;
    bool madeFolder = false;
    {
        TKey classKey;
        if (classKey.Open(classes.get(), ours)) {
            DWORD made = 0;
            DWORD size = sizeof made;
            madeFolder = RegQueryValueExW(classKey.get(), kMadeClsidFolder, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(&made), &size) == ERROR_SUCCESS &&
                         made == 1;
            removed = true;
        }
    }
    if (RegDeleteTreeW(classes.get(), ours.c_str()) == ERROR_SUCCESS && madeFolder) {
        TKey folder;
        if (folder.Open(classes.get(), L"CLSID") && folder.Empty()) {
            RegDeleteKeyW(classes.get(), L"CLSID");
        }
    }
    return removed;
}

} // namespace

TRegistrationState StandInRegistrationState() {
    const TLookup found = LookUp();
    if (found.foreign) {
        return TRegistrationState::Foreign;
    }
    return found.standIn ? TRegistrationState::StandIn : TRegistrationState::NotRegistered;
}

TRegistrationOutcome RegisterStandIn(const std::wstring& serverDll) {
    const TLookup found = LookUp();
    if (found.foreign) {
        return {false, std::wstring(L"JVDTLab.JVLink には別のコンポーネント（") +
                           found.foreignClass +
                           L"）が登録されています。JV-Link がある所にスタンドインは登録しません。"};
    }
    const DWORD attributes = GetFileAttributesW(serverDll.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {false, L"スタンドインのサーバーファイルが見つかりません: " + serverDll};
    }

    const TPlace place = RegistrationPlace();
    const std::wstring classes = place.path;
    const std::wstring classKeyPath = classes + L"\\CLSID\\" + kStandInClassIdText;
    LSTATUS status = ERROR_SUCCESS;
    const auto fail = [&](LSTATUS code) {
        RemoveFrom(place);
        return TRegistrationOutcome{false,
                                    L"スタンドインを登録できませんでした: " + SystemText(code)};
    };

    DWORD folderDisposition = 0;
    {
        TKey folder;
        if ((status = folder.Create(place.root, classes + L"\\CLSID", &folderDisposition)) !=
            ERROR_SUCCESS) {
            return fail(status);
        }
    }
    {
        TKey classKey;
        DWORD made = 1;
        if ((status = classKey.Create(place.root, classKeyPath)) != ERROR_SUCCESS ||
            (status = classKey.SetText(nullptr, kDescription)) != ERROR_SUCCESS ||
            (folderDisposition == REG_CREATED_NEW_KEY &&
             (status = RegSetValueExW(classKey.get(), kMadeClsidFolder, 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&made), sizeof made)) !=
                 ERROR_SUCCESS)) {
            return fail(status);
        }
        TKey server;
        TKey progId;
        if ((status = server.Create(classKey.get(), L"InprocServer32")) != ERROR_SUCCESS ||
            (status = server.SetText(nullptr, serverDll)) != ERROR_SUCCESS ||
            (status = server.SetText(L"ThreadingModel", L"Apartment")) != ERROR_SUCCESS ||
            (status = progId.Create(classKey.get(), L"ProgID")) != ERROR_SUCCESS ||
            (status = progId.SetText(nullptr, kProgId)) != ERROR_SUCCESS) {
            return fail(status);
        }
    }
    // The identifier last: it leads to the class only once the class is complete.
    {
        TKey progId;
        TKey classId;
        if ((status = progId.Create(place.root, classes + L"\\" + kProgId)) != ERROR_SUCCESS ||
            (status = progId.SetText(nullptr, kDescription)) != ERROR_SUCCESS ||
            (status = classId.Create(progId.get(), L"CLSID")) != ERROR_SUCCESS ||
            (status = classId.SetText(nullptr, kStandInClassIdText)) != ERROR_SUCCESS) {
            return fail(status);
        }
    }
    return {true, L"スタンドインの JV-Link を JVDTLab.JVLink として登録しました: " + serverDll};
}

TRegistrationOutcome UnregisterStandIn() {
    bool removed = false;
    for (const TPlace& place : PlacesToClean()) {
        removed = RemoveFrom(place) || removed;
    }
    return {true, removed ? L"スタンドインの JV-Link の登録を削除しました。"
                          : L"スタンドインの JV-Link は登録されていません。"};
}

} // namespace standin::com
