#include "edge_gestures.h"
#include "../win/owner.h"
#include "../win/system_call.h"
#include <propsys.h>

// Older SDK headers lack the edge-gesture property key.
static const PROPERTYKEY EdgeGestureDisableTouchWhenFullscreen = {
    {0x32CE38B2, 0x2C9A, 0x41B1, {0x9B, 0xC5, 0xB3, 0x78, 0x43, 0x94, 0xAA, 0x44}}, 2};
static const IID PropertyStoreInterface = {
    0x886D8EEB, 0x8CF2, 0x4446, {0x8D, 0x02, 0xCD, 0xBA, 0x1D, 0xBD, 0xCF, 0x99}};

HRESULT DisableEdgeGestures(HWND window, bool disable) {
    // shell32 has it from Windows 7 on.
    typedef HRESULT(WINAPI * PropertyStoreForWindow)(HWND, REFIID, void**);
    static const PropertyStoreForWindow getStore =
        LookUpSystemCall<PropertyStoreForWindow>("shell32.dll", "SHGetPropertyStoreForWindow");
    if (!getStore)
        return E_NOTIMPL;
    ComReference<IPropertyStore> store;
    HRESULT result =
        getStore(window, PropertyStoreInterface, reinterpret_cast<void**>(store.Receive()));
    if (FAILED(result))
        return result;
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = disable ? VARIANT_TRUE : VARIANT_FALSE;
    return store->SetValue(EdgeGestureDisableTouchWhenFullscreen, value);
}
