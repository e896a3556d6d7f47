#include "tray_menu_item.h"
#include "app/main_window.h"
#include "win/system_tray.h"
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
