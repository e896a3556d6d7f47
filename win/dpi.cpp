// The DPI calls, each looked up at run time: user32 has them from Windows 10
// 1607 on and shcore from Windows 8.1 on.
#include "dpi.h"
#include "gdi.h"
#include "system_call.h"

int SystemDpi() {
    typedef UINT(WINAPI * SystemDpiFunction)();
    static const SystemDpiFunction forSystem =
        LookUpSystemCall<SystemDpiFunction>("user32.dll", "GetDpiForSystem");
    if (forSystem)
        return (int)forSystem();
    WindowDC screen = BorrowWindowDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : DefaultDpi;
    return dpi > 0 ? dpi : DefaultDpi;
}

int WindowDpi(HWND window) {
    typedef UINT(WINAPI * WindowDpiFunction)(HWND);
    static const WindowDpiFunction forWindow =
        LookUpSystemCall<WindowDpiFunction>("user32.dll", "GetDpiForWindow");
    const UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi ? (int)dpi : SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
    typedef HRESULT(WINAPI * MonitorDpiFunction)(HMONITOR, int, UINT*, UINT*);
    static const MonitorDpiFunction forMonitor =
        LookUpSystemCall<MonitorDpiFunction>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    const int effectiveDpi = 0; // MDT_EFFECTIVE_DPI: the scale the user chose
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, effectiveDpi, &x, &y)) && y)
        return (int)y;
    return SystemDpi();
}

int PrimaryMonitorDpi() {
    return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

int SystemMetricForDpi(int index, int dpi) {
    typedef int(WINAPI * MetricFunction)(int, UINT);
    static const MetricFunction forDpi =
        LookUpSystemCall<MetricFunction>("user32.dll", "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, (UINT)dpi);
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}
