#include "jvlink/standin/com/StandInComServer.h"

#include "jvlink/com/ComJVLink.h"
#include "jvlink/standin/CatalogueSource.h"
#include "jvlink/standin/StandInJVLink.h"

#include <atomic>
#include <cwchar>
#include <exception>
#include <new>
#include <oleauto.h>
#include <string>
#include <utility>

namespace standin::com {

namespace {

using jvlink::com::NarrowCp932;
using jvlink::com::WidenCp932;

// Objects alive and client locks: the server may be unloaded only when both are zero.
std::atomic<long> gLiveObjects{0};
std::atomic<long> gServerLocks{0};

enum TMember : DISPID {
    kInit = 1,
    kVersion,
    kSetUIProperties,
    kOpen,
    kStatus,
    kRead,
    kCancel,
    kClose,
};

struct TMemberName {
    const wchar_t* name;
    DISPID id;
};

constexpr TMemberName kMembers[] = {
    {L"JVInit", kInit},
    {L"m_JVLinkVersion", kVersion},
    {L"JVSetUIProperties", kSetUIProperties},
    {L"JVOpen", kOpen},
    {L"JVStatus", kStatus},
    {L"JVRead", kRead},
    {L"JVCancel", kCancel},
    {L"JVClose", kClose},
};

BSTR NewBstr(std::string_view cp932) {
    const std::wstring wide = WidenCp932(cp932);
    BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (text == nullptr) {
        throw std::bad_alloc();
    }
    return text;
}

// The arguments of one call, addressed by their position in the member's parameter list
// (DISPPARAMS holds them last first). Every argument is checked before the service is
// called, so a call with a wrong argument changes nothing.
class TArguments {
public:
    TArguments(DISPPARAMS* params, UINT* badArgument)
        : params_(params), badArgument_(badArgument) {}

    UINT Count() const { return params_ == nullptr ? 0 : params_->cArgs; }

    // An in value as text or as a 32-bit integer, converted as automation converts it (a
    // by-reference value is read through its reference).
    HRESULT Text(UINT position, std::string& out) {
        VARIANT value;
        VariantInit(&value);
        const HRESULT hr = Convert(position, VT_BSTR, value);
        if (SUCCEEDED(hr)) {
            out = value.bstrVal == nullptr
                      ? std::string()
                      : NarrowCp932({value.bstrVal, SysStringLen(value.bstrVal)});
            VariantClear(&value);
        }
        return hr;
    }
    HRESULT Int(UINT position, LONG& out) {
        VARIANT value;
        VariantInit(&value);
        const HRESULT hr = Convert(position, VT_I4, value);
        if (SUCCEEDED(hr)) {
            out = value.lVal;
        }
        return hr;
    }

    // An out value must come by reference, to a value of its own type or to a VARIANT.
    HRESULT CheckOut(UINT position, VARTYPE type) {
        const VARIANTARG& arg = At(position);
        if (arg.vt == (VT_BYREF | type) || arg.vt == (VT_BYREF | VT_VARIANT)) {
            const bool target =
                arg.vt == (VT_BYREF | type) ? arg.byref != nullptr : arg.pvarVal != nullptr;
            if (target) {
                return S_OK;
            }
        }
        return Bad(position);
    }
    void PutText(UINT position, std::string_view cp932) {
        BSTR text = NewBstr(cp932);
        VARIANTARG& arg = At(position);
        if (arg.vt == (VT_BYREF | VT_BSTR)) {
            SysFreeString(*arg.pbstrVal); // the caller's old text is the callee's to free
            *arg.pbstrVal = text;
        } else {
            VariantClear(arg.pvarVal);
            arg.pvarVal->vt = VT_BSTR;
            arg.pvarVal->bstrVal = text;
        }
    }
    void PutInt(UINT position, LONG value) {
        VARIANTARG& arg = At(position);
        if (arg.vt == (VT_BYREF | VT_I4)) {
            *arg.plVal = value;
        } else {
            VariantClear(arg.pvarVal);
            arg.pvarVal->vt = VT_I4;
            arg.pvarVal->lVal = value;
        }
    }

private:
    VARIANTARG& At(UINT position) { return params_->rgvarg[params_->cArgs - 1 - position]; }
    HRESULT Bad(UINT position) {
        if (badArgument_ != nullptr) {
            *badArgument_ = params_->cArgs - 1 - position;
        }
        return DISP_E_TYPEMISMATCH;
    }
    HRESULT Convert(UINT position, VARTYPE type, VARIANT& out) {
        if (FAILED(VariantChangeType(&out, &At(position), 0, type))) {
            return Bad(position);
        }
        return S_OK;
    }

    DISPPARAMS* params_;
    UINT* badArgument_;
};

void PutStatus(VARIANT* result, std::int32_t status) {
    if (result != nullptr) {
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = status;
    }
}

class TJVLinkDispatch final : public IDispatch {
public:
    explicit TJVLinkDispatch(std::unique_ptr<jvlink::IJVLink> link) : link_(std::move(link)) {
        ++gLiveObjects;
    }
    ~TJVLinkDispatch() { --gLiveObjects; }
    TJVLinkDispatch(const TJVLinkDispatch&) = delete;
    TJVLinkDispatch& operator=(const TJVLinkDispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // Late binding by name only: there is no type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) {
            *info = nullptr;
        }
        return DISP_E_BADINDEX;
    }

    // Member names compare without regard to letter case, as automation names do; the
    // members take no named arguments, so any further name is unknown.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        if (names == nullptr || ids == nullptr || count == 0) {
            return E_INVALIDARG;
        }
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        for (const TMemberName& member : kMembers) {
            if (names[0] != nullptr && _wcsicmp(names[0], member.name) == 0) {
                ids[0] = member.id;
            }
        }
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        if (!IsEqualIID(iid, IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        if (params != nullptr && params->cNamedArgs > 0) {
            return DISP_E_NONAMEDARGS;
        }
        if (params != nullptr && params->cArgs > 0 && params->rgvarg == nullptr) {
            return E_INVALIDARG;
        }
        // The service's own exceptions never cross into the caller: they become an
        // automation exception that names what went wrong.
        try {
            return Call(id, flags, TArguments(params, badArgument), result);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (const std::exception& error) {
            return Raise(exception, error.what());
        } catch (...) {
            return Raise(exception, "the stand-in service failed");
        }
    }

private:
    HRESULT Call(DISPID id, WORD flags, TArguments args, VARIANT* result) {
        if (id == kVersion) {
            if ((flags & DISPATCH_PROPERTYGET) == 0) {
                return DISP_E_MEMBERNOTFOUND; // a property that cannot be set
            }
            if (args.Count() != 0) {
                return DISP_E_BADPARAMCOUNT;
            }
            const std::string version = link_->JVLinkVersion();
            if (result != nullptr) {
                VariantInit(result);
                result->vt = VT_BSTR;
                result->bstrVal = NewBstr(version);
            }
            return S_OK;
        }
        if (id < kInit || id > kClose) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if ((flags & DISPATCH_METHOD) == 0) {
            return DISP_E_MEMBERNOTFOUND;
        }
        const UINT expected = id == kInit ? 1 : id == kOpen ? 6 : id == kRead ? 3 : 0;
        if (args.Count() != expected) {
            return DISP_E_BADPARAMCOUNT;
        }
        HRESULT hr = S_OK;
        switch (id) {
        case kInit: {
            std::string sid;
            if (FAILED(hr = args.Text(0, sid))) {
                return hr;
            }
            PutStatus(result, link_->JVInit(sid));
            return S_OK;
        }
        case kSetUIProperties:
            PutStatus(result, link_->JVSetUIProperties());
            return S_OK;
        case kOpen: {
            std::string dataspec;
            std::string fromTime;
            LONG option = 0;
            if (FAILED(hr = args.Text(0, dataspec)) || FAILED(hr = args.Text(1, fromTime)) ||
                FAILED(hr = args.Int(2, option)) || FAILED(hr = args.CheckOut(3, VT_I4)) ||
                FAILED(hr = args.CheckOut(4, VT_I4)) || FAILED(hr = args.CheckOut(5, VT_BSTR))) {
                return hr;
            }
            std::int32_t reads = 0;
            std::int32_t downloads = 0;
            std::string timestamp;
            const std::int32_t status =
                link_->JVOpen(dataspec, fromTime, option, reads, downloads, timestamp);
            args.PutInt(3, reads);
            args.PutInt(4, downloads);
            args.PutText(5, timestamp);
            PutStatus(result, status);
            return S_OK;
        }
        case kStatus:
            PutStatus(result, link_->JVStatus());
            return S_OK;
        case kRead: {
            LONG size = 0;
            if (FAILED(hr = args.CheckOut(0, VT_BSTR)) || FAILED(hr = args.Int(1, size)) ||
                FAILED(hr = args.CheckOut(2, VT_BSTR))) {
                return hr;
            }
            std::string record;
            std::string fileName;
            const std::int32_t status = link_->JVRead(record, size, fileName);
            // A record goes out as its Shift-JIS bytes read with code page 932; the caller
            // narrows it back to the same bytes.
            args.PutText(0, record);
            args.PutText(2, fileName);
            PutStatus(result, status);
            return S_OK;
        }
        case kCancel:
            link_->JVCancel(); // the component gives no result for a cancel
            if (result != nullptr) {
                VariantInit(result);
            }
            return S_OK;
        case kClose:
            PutStatus(result, link_->JVClose());
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    static HRESULT Raise(EXCEPINFO* exception, std::string_view what) {
        if (exception != nullptr) {
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"JVDTLab.JVLink");
            const std::wstring text = WidenCp932(what);
            exception->bstrDescription =
                SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            exception->scode = E_FAIL;
        }
        return DISP_E_EXCEPTION;
    }

    std::atomic<ULONG> references_{1};
    std::unique_ptr<jvlink::IJVLink> link_;
};

// The server's one class object; it lives as long as the module and counts no references.
class TClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        IDispatch* object = nullptr;
        try {
            object = NewJVLinkDispatch(NewStandInService());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        lock ? ++gServerLocks : --gServerLocks;
        return S_OK;
    }
};

TClassFactory gClassFactory;

} // namespace

IDispatch* NewJVLinkDispatch(std::unique_ptr<jvlink::IJVLink> link) {
    return new TJVLinkDispatch(std::move(link));
}

std::unique_ptr<jvlink::IJVLink> NewStandInService() {
    return std::make_unique<TStandInJVLink>(DefaultSettingsFile(), SettingsCatalogueProvider());
}

HRESULT GetStandInClassObject(REFCLSID classId, REFIID iid, void** out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (!IsEqualCLSID(classId, kStandInClassId)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return gClassFactory.QueryInterface(iid, out);
}

bool StandInServerIdle() {
    return gLiveObjects == 0 && gServerLocks == 0;
}

} // namespace standin::com
