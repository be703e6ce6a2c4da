#include "framework/com_ptr.h"

namespace {

bool g_comTried = false;
bool g_comReady = false;

}  // namespace

bool EnsureComInitialised()
{
    if (!g_comTried) {
        g_comTried = true;
        HRESULT result = ::CoInitialize(nullptr);
        // S_FALSE: already initialised on this thread; RPC_E_CHANGED_MODE: initialised
        // multi-threaded by someone else, which serves as well.
        g_comReady = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
    }
    return g_comReady;
}
