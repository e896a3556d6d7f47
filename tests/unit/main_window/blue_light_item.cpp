#include "blue_light_item.h"
#include "app/app_state.h"
#include "app/system_tray.h"
#include "res/resource.h"

std::string BlueLightItemText() {
    char text[200] = {};
    GetMenuStringA(Tray.Menu(), IDM_BLUELIGHT, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool BlueLightItemGrayed() {
    UINT state = GetMenuState(Tray.Menu(), IDM_BLUELIGHT, MF_BYCOMMAND);
    return state != (UINT)-1 && (state & MF_GRAYED) != 0;
}

GammaRamp CurvedDisplayRamp() {
    GammaRamp ramp;
    for (int i = 0; i < 256; i++) {
        ramp.Red[i] = (WORD)(i * i);
        ramp.Green[i] = (WORD)(i * 200);
        ramp.Blue[i] = (WORD)(65535 - i * 100);
    }
    return ramp;
}
