// The accessibility runtime's annotation service is created at run time: the
// program links no oleacc import library, and a system without the service
// just leaves the window's title as its name.
#include "accessibility.h"
#include "com_apartment.h"
#include <initguid.h> // defines the GUIDs below here: no import library needed
#include <oleacc.h>

static bool AnnotateThroughPropServices(HWND window, const wchar_t* name);
static bool ReadHighContrast();

// Constant initialisation: valid before any constructor runs.
AccessibilityCalls Accessibility = {AnnotateThroughPropServices, ReadHighContrast};

bool ColorsChanged(UINT message, WPARAM wParam) {
    return message == WM_SYSCOLORCHANGE ||
           (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}

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

static bool ReadHighContrast() {
    HIGHCONTRASTW setting = {};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON);
}
