// COM helpers: EnsureComInitialised and CComPtr, an owning interface pointer.
//
//   if (!EnsureComInitialised()) return;
//   CComPtr<IShellLinkA> link;
//   if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
//                                 IID_IShellLinkA, link.OutVoid()))) return;
//   CComPtr<IPersistFile> file;
//   if (SUCCEEDED(link.QueryInterface(IID_IPersistFile, file))) file->Save(...);
#pragma once

#include <windows.h>
#include <objbase.h>

// Initialises COM for the GUI thread on first use (apartment threaded) and leaves it
// initialised for the rest of the process. False when COM cannot be used.
bool EnsureComInitialised();

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Where a creating call stores the new pointer; releases the old one first.
    T** Out()
    {
        Release();
        return &m_p;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Release()
    {
        if (m_p) {
            m_p->Release();
            m_p = nullptr;
        }
    }
    template <class U>
    HRESULT QueryInterface(REFIID iid, CComPtr<U>& out) const
    {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, out.OutVoid());
    }

private:
    T* m_p = nullptr;
};
