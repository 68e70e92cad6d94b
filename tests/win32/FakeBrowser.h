#pragma once
// A stand-in for the system's web browser control: an IWebBrowser2 that records what the host asks of
// it (properties, navigations, stops) and hands out a document the test builds from FakeObjects, and a
// FakeObject: a scriptable object with named text properties and member objects, as the page's
// document, body, style, collection and elements look to late-bound calls.
#include <windows.h>
// windows.h first
#include <exdisp.h>
#include <mshtml.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// Reference counting shared by the fakes; tests check that every reference handed out comes back.
template <class Base>
class FakeCounted : public Base {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }  // owned by the test, never freed here
    ULONG refs = 1;
};

class FakeObject : public FakeCounted<IDispatch> {
public:
    // Interfaces the object claims besides IDispatch (IID_IHTMLDocument2, IID_IHTMLInputElement): the
    // host asks for them only to tell what an object is, and then uses IDispatch alone.
    std::vector<IID> kinds;
    std::map<std::wstring, std::wstring> texts;   // readable and writable text properties
    std::map<std::wstring, FakeObject*> members;  // member objects (not owned)
    std::vector<std::wstring> writes;             // "name=value" of every property written
    // Answers a call of the method "item" (the collection's): its arguments as the host passed them.
    std::function<FakeObject*(const VARIANT& name, const VARIANT& index)> item;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        bool known = iid == IID_IUnknown || iid == IID_IDispatch;
        for (const IID& kind : kinds) known = known || iid == kind;
        if (!known) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* id) override {
        const std::wstring name = Lower(names[0]);
        names_.push_back(name);
        *id = static_cast<DISPID>(names_.size());
        const bool known = (name == L"item" && item) || texts.count(name) || members.count(name);
        return known ? S_OK : DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
        const std::wstring name = names_[static_cast<size_t>(id) - 1];
        if (name == L"item" && item && params->cArgs == 2) {
            FakeObject* found = item(params->rgvarg[1], params->rgvarg[0]);  // the first argument comes last
            return Hand(found, result);
        }
        if (flags & DISPATCH_PROPERTYPUT) {
            if (params->cArgs != 1 || params->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
            texts[name] = params->rgvarg[0].bstrVal;
            writes.push_back(name + L"=" + params->rgvarg[0].bstrVal);
            return S_OK;
        }
        if (members.count(name)) return Hand(members[name], result);
        if (texts.count(name) && result) {
            result->vt = VT_BSTR;
            result->bstrVal = ::SysAllocString(texts[name].c_str());
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    static std::wstring Lower(std::wstring s) {
        for (wchar_t& c : s) c = static_cast<wchar_t>(::towlower(c));
        return s;
    }
    static HRESULT Hand(FakeObject* object, VARIANT* result) {
        if (!result) return S_OK;
        result->vt = object ? VT_DISPATCH : VT_NULL;
        result->pdispVal = object;
        if (object) object->AddRef();
        return S_OK;
    }
    std::vector<std::wstring> names_;
};

class FakeBrowser : public FakeCounted<IWebBrowser2> {
public:
    FakeObject* document = nullptr;   // what get_Document hands out (not owned); none: no document
    std::vector<std::wstring> calls;  // properties set and methods called, in order
    std::vector<std::wstring> navigations;
    int stops = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IWebBrowser &&
            iid != IID_IWebBrowserApp && iid != IID_IWebBrowser2)
            return E_NOINTERFACE;
        *out = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post,
                          VARIANT* headers) override {
        const bool plain = Empty(flags) && Empty(frame) && Empty(post) && Empty(headers);
        navigations.push_back(std::wstring(url) + (plain ? L"" : L" (with arguments)"));
        return S_OK;
    }
    STDMETHODIMP Stop() override {
        ++stops;
        return S_OK;
    }
    STDMETHODIMP get_Document(IDispatch** out) override {
        *out = document;
        if (document) document->AddRef();
        return document ? S_OK : S_FALSE;
    }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL v) override { return Put(L"MenuBar", v); }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL v) override { return Put(L"StatusBar", v); }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL v) override { return Put(L"AddressBar", v); }
    STDMETHODIMP put_Silent(VARIANT_BOOL v) override { return Put(L"Silent", v); }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL v) override { return Put(L"RegisterAsDropTarget", v); }

    // Everything else a browser offers; the host uses none of it.
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GoBack() override { return E_NOTIMPL; }
    STDMETHODIMP GoForward() override { return E_NOTIMPL; }
    STDMETHODIMP GoHome() override { return E_NOTIMPL; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh() override { return E_NOTIMPL; }
    STDMETHODIMP Refresh2(VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Application(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Parent(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Container(IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Type(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Left(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Left(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Top(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Top(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Width(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Height(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocationURL(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Busy(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_HWND(SHANDLE_PTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_ToolBar(int*) override { return E_NOTIMPL; }
    STDMETHODIMP put_ToolBar(int) override { return E_NOTIMPL; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP Navigate2(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Offline(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Silent(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL*) override { return E_NOTIMPL; }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return E_NOTIMPL; }

private:
    static bool Empty(const VARIANT* v) { return !v || v->vt == VT_EMPTY; }
    HRESULT Put(const wchar_t* name, VARIANT_BOOL v) {
        calls.push_back(std::wstring(name) + (v ? L"=true" : L"=false"));
        return S_OK;
    }
};
