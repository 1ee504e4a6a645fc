#include "jvlink/com/ComJVLink.h"

// <windows.h> must come before the COM headers.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
// clang-format on

#include <cstdio>
#include <map>
#include <new>
#include <utility>

namespace jvlink::com {

namespace {

// Member names of the component's automation interface.
constexpr const wchar_t* kJVInit = L"JVInit";
constexpr const wchar_t* kJVLinkVersion = L"m_JVLinkVersion";
constexpr const wchar_t* kJVSetUIProperties = L"JVSetUIProperties";
constexpr const wchar_t* kJVOpen = L"JVOpen";
constexpr const wchar_t* kJVStatus = L"JVStatus";
constexpr const wchar_t* kJVRead = L"JVRead";
constexpr const wchar_t* kJVCancel = L"JVCancel";
constexpr const wchar_t* kJVClose = L"JVClose";

// One CoInitializeEx on this thread, balanced on destruction. A thread already in the
// multithreaded apartment (RPC_E_CHANGED_MODE) can use COM as it is; nothing to balance then.
class ComApartment {
public:
    ComApartment() : owned_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (owned_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool owned_;
};

// A BSTR owned by this value.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view cp932) {
        const std::wstring wide = WidenCp932(cp932);
        value_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (value_ == nullptr) {
            throw std::bad_alloc();
        }
    }
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const noexcept { return value_; }
    // The slot an out parameter writes into; the callee may free and replace what is there.
    BSTR* slot() noexcept { return &value_; }
    std::string Cp932() const {
        return value_ == nullptr ? std::string() : NarrowCp932({value_, SysStringLen(value_)});
    }

private:
    BSTR value_ = nullptr;
};

// VARIANTARG builders for the argument arrays (which Invoke takes last argument first).
VARIANTARG InText(const Bstr& text) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text.get();
    return v;
}
VARIANTARG InInt(LONG value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}
VARIANTARG OutText(Bstr& text) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = text.slot();
    return v;
}
VARIANTARG OutInt(LONG& value) {
    VARIANTARG v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.plVal = &value;
    return v;
}

std::string Utf8Name(const wchar_t* name) {
    std::string out;
    for (; *name != L'\0'; ++name) {
        out += static_cast<char>(*name); // member names are ASCII
    }
    return out;
}

std::string HexCode(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// A VARIANT cleared when it goes out of scope.
struct ScopedVariant {
    VARIANT value;
    ScopedVariant() { VariantInit(&value); }
    ~ScopedVariant() { VariantClear(&value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
};

class TComJVLink final : public IJVLink {
public:
    TComJVLink(std::unique_ptr<ComApartment> apartment, IDispatch* dispatch)
        : apartment_(std::move(apartment)), dispatch_(dispatch) {}
    ~TComJVLink() override { dispatch_->Release(); }
    TComJVLink(const TComJVLink&) = delete;
    TComJVLink& operator=(const TComJVLink&) = delete;

    std::int32_t JVInit(const std::string& sid) override {
        Bstr text(sid);
        VARIANTARG args[] = {InText(text)};
        return CallStatus(kJVInit, args, 1);
    }

    std::string JVLinkVersion() override {
        ScopedVariant result;
        Invoke(kJVLinkVersion, DISPATCH_PROPERTYGET, nullptr, 0, result.value);
        if (FAILED(VariantChangeType(&result.value, &result.value, 0, VT_BSTR))) {
            throw JVLinkCallError(Utf8Name(kJVLinkVersion) + ": the value is not a text");
        }
        const BSTR text = result.value.bstrVal;
        return text == nullptr ? std::string() : NarrowCp932({text, SysStringLen(text)});
    }

    std::int32_t JVSetUIProperties() override { return CallStatus(kJVSetUIProperties, nullptr, 0); }

    std::int32_t JVOpen(const std::string& dataspec, const std::string& fromTime,
                        std::int32_t option, std::int32_t& readCount, std::int32_t& downloadCount,
                        std::string& lastFileTimestamp) override {
        Bstr dataSpecText(dataspec);
        Bstr from(fromTime);
        LONG reads = 0;
        LONG downloads = 0;
        Bstr timestamp;
        VARIANTARG args[] = {OutText(timestamp), OutInt(downloads), OutInt(reads),
                             InInt(option),      InText(from),      InText(dataSpecText)};
        const std::int32_t status = CallStatus(kJVOpen, args, 6);
        readCount = reads;
        downloadCount = downloads;
        lastFileTimestamp = timestamp.Cp932();
        return status;
    }

    std::int32_t JVStatus() override { return CallStatus(kJVStatus, nullptr, 0); }

    std::int32_t JVRead(std::string& buffer, std::int32_t size, std::string& fileName) override {
        Bstr record;
        LONG bufferSize = size; // passed by reference: the component declares it in and out
        Bstr name;
        VARIANTARG args[] = {OutText(name), OutInt(bufferSize), OutText(record)};
        const std::int32_t status = CallStatus(kJVRead, args, 3);
        // The record arrives as text; its Shift-JIS bytes are the record the store works with.
        buffer = record.Cp932();
        fileName = name.Cp932();
        return status;
    }

    std::int32_t JVCancel() override {
        ScopedVariant result;
        Invoke(kJVCancel, DISPATCH_METHOD, nullptr, 0, result.value);
        // The component gives no result for a cancel; an empty one counts as done.
        if (result.value.vt == VT_EMPTY ||
            FAILED(VariantChangeType(&result.value, &result.value, 0, VT_I4))) {
            return 0;
        }
        return result.value.lVal;
    }

    std::int32_t JVClose() override { return CallStatus(kJVClose, nullptr, 0); }

private:
    DISPID IdOf(const wchar_t* name) {
        if (auto known = ids_.find(name); known != ids_.end()) {
            return known->second;
        }
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) {
            throw JVLinkCallError(Utf8Name(name) + ": the component has no such member (" +
                                  HexCode(hr) + ")");
        }
        ids_.emplace(name, id);
        return id;
    }

    void Invoke(const wchar_t* name, WORD flags, VARIANTARG* argsLastFirst, UINT count,
                VARIANT& result) {
        const DISPID id = IdOf(name);
        DISPPARAMS params{argsLastFirst, nullptr, count, 0};
        EXCEPINFO exception{};
        UINT badArgument = 0;
        const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                             &result, &exception, &badArgument);
        if (SUCCEEDED(hr)) {
            return;
        }
        std::string message = Utf8Name(name) + ": the automation call failed (" + HexCode(hr);
        if (hr == DISP_E_EXCEPTION) {
            if (exception.pfnDeferredFillIn != nullptr) {
                exception.pfnDeferredFillIn(&exception);
            }
            if (exception.bstrDescription != nullptr) {
                message += ", " + NarrowCp932({exception.bstrDescription,
                                               SysStringLen(exception.bstrDescription)});
            }
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
        } else if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) {
            message += ", argument " + std::to_string(count - badArgument);
        }
        throw JVLinkCallError(message + ")");
    }

    std::int32_t CallStatus(const wchar_t* name, VARIANTARG* argsLastFirst, UINT count) {
        ScopedVariant result;
        Invoke(name, DISPATCH_METHOD, argsLastFirst, count, result.value);
        if (FAILED(VariantChangeType(&result.value, &result.value, 0, VT_I4))) {
            throw JVLinkCallError(Utf8Name(name) + ": the result is not a number");
        }
        return result.value.lVal;
    }

    std::unique_ptr<ComApartment> apartment_; // declared first: released after dispatch_
    IDispatch* dispatch_;
    std::map<std::wstring, DISPID> ids_;
};

} // namespace

std::wstring WidenCp932(std::string_view cp932) {
    if (cp932.empty()) {
        return {};
    }
    const int size = static_cast<int>(cp932.size());
    const int needed = MultiByteToWideChar(932, 0, cp932.data(), size, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(932, 0, cp932.data(), size, wide.data(), needed);
    return wide;
}

std::string NarrowCp932(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    // No best-fit look-alikes: a character CP932 lacks becomes the default '?', not another one.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int needed =
        WideCharToMultiByte(932, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(932, flags, wide.data(), size, out.data(), needed, nullptr, nullptr);
    return out;
}

std::unique_ptr<IJVLink> CreateComJVLink(std::string_view progId) {
    auto apartment = std::make_unique<ComApartment>();
    const std::wstring name = WidenCp932(progId);
    CLSID classId;
    if (FAILED(CLSIDFromProgID(name.c_str(), &classId))) {
        return nullptr;
    }
    IDispatch* dispatch = nullptr;
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr) || dispatch == nullptr) {
        return nullptr;
    }
    return std::make_unique<TComJVLink>(std::move(apartment), dispatch);
}

std::unique_ptr<IJVLink> WrapDispatch(IDispatch* dispatch) {
    if (dispatch == nullptr) {
        return nullptr;
    }
    dispatch->AddRef();
    return std::make_unique<TComJVLink>(nullptr, dispatch);
}

} // namespace jvlink::com
