// The accessibility runtime's annotation service, created at run time: the
// program links no oleacc import library, and a system without the service
// just leaves the window's title as its name.
#include "accessible_name.h"
#include "com_apartment.h"
#include <initguid.h> // defines the GUIDs below here: no import library needed
#include <oleacc.h>

static bool AnnotateThroughPropServices(HWND window, const wchar_t* name) {
    ComApartment apartment;
    if (!window || !apartment.Usable())
        return false;
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, (void**)&services)))
        return false;
    // The annotation is kept by the system with the window, not by this
    // object: it may go, and the apartment with it, once the call is made.
    MSAAPROPID property = PROPID_ACC_NAME;
    HRESULT result =
        name ? services->SetHwndPropStr(window, (DWORD)OBJID_CLIENT, CHILDID_SELF, property, name)
             : services->ClearHwndProps(window, (DWORD)OBJID_CLIENT, CHILDID_SELF, &property, 1);
    services->Release();
    return SUCCEEDED(result);
}

// Constant initialisation: valid before any constructor runs.
AnnotateNameFunction AnnotateAccessibleName = AnnotateThroughPropServices;
