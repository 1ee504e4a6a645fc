// The COM automation adapter, run against an automation object of the test's own that checks
// how each call is marshalled (argument order, by-reference out values, BSTR texts).
#if defined(_WIN32)

#include "jvlink/com/ComJVLink.h"
#include "support/TestSupport.h"

// <windows.h> must come before the COM headers.
// clang-format off
#include <windows.h>
#include <oleauto.h>
// clang-format on

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace keiba::test;

enum Member : DISPID { kInit = 1, kVersion, kSetUI, kOpen, kStatus, kRead, kCancel, kClose };

class FakeJVLink : public IDispatch {
public:
    // What the adapter passed.
    std::wstring sid;
    std::wstring dataspec;
    std::wstring fromTime;
    LONG option = 0;
    LONG readSize = 0;
    std::vector<std::pair<DISPID, WORD>> calls;
    ULONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        static const std::map<std::wstring, DISPID> kIds = {{L"JVInit", kInit},
                                                            {L"m_JVLinkVersion", kVersion},
                                                            {L"JVSetUIProperties", kSetUI},
                                                            {L"JVOpen", kOpen},
                                                            {L"JVStatus", kStatus},
                                                            {L"JVRead", kRead},
                                                            {L"JVCancel", kCancel},
                                                            {L"JVClose", kClose}};
        if (count != 1) {
            return E_INVALIDARG;
        }
        const auto found = kIds.find(names[0]);
        if (found == kIds.end()) {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = found->second;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        calls.emplace_back(id, flags);
        VARIANTARG* a = params->rgvarg; // last argument first
        const auto expect = [&](UINT index, VARTYPE type) {
            if (index >= params->cArgs || a[index].vt != type) {
                *badArgument = index;
                return false;
            }
            return true;
        };
        const auto status = [result](LONG value) {
            result->vt = VT_I4;
            result->lVal = value;
            return S_OK;
        };
        switch (id) {
        case kInit:
            if (params->cArgs != 1 || !expect(0, VT_BSTR)) {
                return DISP_E_TYPEMISMATCH;
            }
            sid = a[0].bstrVal;
            return status(0);
        case kVersion:
            if (!(flags & DISPATCH_PROPERTYGET) || params->cArgs != 0) {
                return DISP_E_MEMBERNOTFOUND;
            }
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(L"0490");
            return S_OK;
        case kSetUI: {
            exception->bstrDescription = SysAllocString(L"ダイアログを開けません");
            exception->bstrSource = SysAllocString(L"JVLink");
            return DISP_E_EXCEPTION;
        }
        case kOpen:
            if (params->cArgs != 6 || !expect(5, VT_BSTR) || !expect(4, VT_BSTR) ||
                !expect(3, VT_I4) || !expect(2, VT_BYREF | VT_I4) || !expect(1, VT_BYREF | VT_I4) ||
                !expect(0, VT_BYREF | VT_BSTR)) {
                return DISP_E_TYPEMISMATCH;
            }
            dataspec = a[5].bstrVal;
            fromTime = a[4].bstrVal;
            option = a[3].lVal;
            *a[2].plVal = 12;
            *a[1].plVal = 3;
            SysFreeString(*a[0].pbstrVal);
            *a[0].pbstrVal = SysAllocString(L"20260104090000");
            return status(0);
        case kStatus:
            return status(7);
        case kRead:
            if (params->cArgs != 3 || !expect(2, VT_BYREF | VT_BSTR) ||
                !expect(1, VT_BYREF | VT_I4) || !expect(0, VT_BYREF | VT_BSTR)) {
                return DISP_E_TYPEMISMATCH;
            }
            readSize = *a[1].plVal;
            SysFreeString(*a[2].pbstrVal);
            *a[2].pbstrVal = SysAllocString(L"RA1東京①髙\r\n");
            SysFreeString(*a[0].pbstrVal);
            *a[0].pbstrVal = SysAllocString(L"RACE0001.dat");
            return status(14);
        case kCancel:
            return S_OK; // no result, as the component gives none
        case kClose:
            return status(-1);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
};

TEST(ComJVLink, CallsAreMarshalledAsTheComponentExpects) {
    FakeJVLink fake;
    {
        auto link = jvlink::com::WrapDispatch(&fake);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->JVInit(S("競馬SID")), 0);
        EXPECT_EQ(fake.sid, L"競馬SID");
        EXPECT_EQ(link->JVLinkVersion(), "0490");

        std::int32_t reads = 0;
        std::int32_t downloads = 0;
        std::string timestamp = "old";
        EXPECT_EQ(link->JVOpen("RACERCVN", "20260101000000", 2, reads, downloads, timestamp), 0);
        EXPECT_EQ(fake.dataspec, L"RACERCVN");
        EXPECT_EQ(fake.fromTime, L"20260101000000");
        EXPECT_EQ(fake.option, 2);
        EXPECT_EQ(reads, 12);
        EXPECT_EQ(downloads, 3);
        EXPECT_EQ(timestamp, "20260104090000");

        EXPECT_EQ(link->JVStatus(), 7);
        std::string buffer;
        std::string name;
        EXPECT_EQ(link->JVRead(buffer, 60000, name), 14);
        EXPECT_EQ(fake.readSize, 60000);
        EXPECT_EQ(buffer, "RA1" + S("東京①髙") + "\r\n") << Show(buffer);
        EXPECT_EQ(name, "RACE0001.dat");
        EXPECT_EQ(link->JVCancel(), 0);
        EXPECT_EQ(link->JVClose(), -1);

        try {
            link->JVSetUIProperties();
            ADD_FAILURE() << "a failed automation call must raise";
        } catch (const jvlink::JVLinkCallError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("JVSetUIProperties"), std::string::npos) << message;
            EXPECT_NE(message.find(S("ダイアログを開けません")), std::string::npos) << message;
        }
    }
    EXPECT_EQ(fake.refs, 1u) << "the adapter releases what it holds";
    for (const auto& [id, flags] : fake.calls) {
        EXPECT_EQ(flags, id == kVersion ? DISPATCH_PROPERTYGET : DISPATCH_METHOD) << id;
    }
}

TEST(ComJVLink, TextsConvertWithCodePage932) {
    EXPECT_EQ(jvlink::com::WidenCp932(S("東京①～")), L"東京①～");
    EXPECT_EQ(jvlink::com::NarrowCp932(L"東京①～"), S("東京①～"));
    EXPECT_EQ(jvlink::com::NarrowCp932(L""), "");
    EXPECT_EQ(jvlink::com::WidenCp932(""), L"");
    EXPECT_EQ(jvlink::com::NarrowCp932(L"\u00E9"), "?") << "no CP932 form";
}

} // namespace

#endif
