// The viewing-time choices of the settings dialog. Each list item is a whole
// phrase of the string table, and carries its minutes as item data, so the
// lists can be translated and reordered without touching what is stored.
#include "viewing_limit_choices.h"
#include "../res/resource.h"
#include "../settings/limits_store.h"
#include "../win/string_table.h"

struct LimitChoice {
    int minutes;
    UINT text;
};

static void FillChoices(HWND dialog, int id, const LimitChoice* choices, int count, int minutes);
static int ChosenMinutes(HWND dialog, int id, int kept);

static const LimitChoice ViewingChoices[] = {
    {0, IDS_VIEWING_OFF}, {5, IDS_VIEWING_5},     {10, IDS_VIEWING_10}, {15, IDS_VIEWING_15},
    {20, IDS_VIEWING_20}, {30, IDS_VIEWING_30},   {45, IDS_VIEWING_45}, {60, IDS_VIEWING_60},
    {90, IDS_VIEWING_90}, {120, IDS_VIEWING_120},
};
static const LimitChoice FinishChoices[] = {
    {0, IDS_FINISH_OFF}, {2, IDS_FINISH_2},   {5, IDS_FINISH_5},
    {10, IDS_FINISH_10}, {15, IDS_FINISH_15},
};
// What was stored when the dialog opened; a list without a selection keeps it.
static ViewingLimits Stored;

void ShowViewingLimitChoices(HWND dialog) {
    Stored = LoadViewingLimits();
    FillChoices(dialog, IDC_VIEWING_MINUTES, ViewingChoices,
                sizeof ViewingChoices / sizeof ViewingChoices[0], Stored.ViewingMinutes);
    FillChoices(dialog, IDC_FINISH_VIDEO, FinishChoices,
                sizeof FinishChoices / sizeof FinishChoices[0], Stored.FinishVideoMinutes);
    FollowViewingLimitChoice(dialog);
}

void FollowViewingLimitChoice(HWND dialog) {
    const bool limited = ChosenMinutes(dialog, IDC_VIEWING_MINUTES, Stored.ViewingMinutes) > 0;
    EnableWindow(GetDlgItem(dialog, IDC_FINISH_VIDEO), limited ? TRUE : FALSE);
}

void SaveViewingLimitChoices(HWND dialog) {
    ViewingLimits chosen;
    chosen.ViewingMinutes = ChosenMinutes(dialog, IDC_VIEWING_MINUTES, Stored.ViewingMinutes);
    chosen.FinishVideoMinutes = ChosenMinutes(dialog, IDC_FINISH_VIDEO, Stored.FinishVideoMinutes);
    SaveViewingLimits(chosen);
}

static void FillChoices(HWND dialog, int id, const LimitChoice* choices, int count, int minutes) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; i++) {
        const LRESULT index =
            SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)LoadText(choices[i].text).c_str());
        SendMessageW(list, CB_SETITEMDATA, index, choices[i].minutes);
        if (choices[i].minutes == minutes)
            SendMessageW(list, CB_SETCURSEL, index, 0);
    }
}

static int ChosenMinutes(HWND dialog, int id, int kept) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return kept;
    return (int)SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, index, 0);
}
