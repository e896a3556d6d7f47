// The settings dialog's two viewing-time choices, below the settings: the
// limit, and what happens when it is reached. Kept under their own key
// (limits_store.h), so the settings record and its eleven values stay as
// they are.
#pragma once
#include <windows.h>

// WM_INITDIALOG: reads the stored limits and shows them. A value written by
// hand that the lists do not offer shows as no selection.
void ShowViewingLimitChoices(HWND dialog);
// The limit's list changed: the second list is for a limit only.
void FollowViewingLimitChoice(HWND dialog);
// OK: stores both; a list left without a selection keeps the stored value.
void SaveViewingLimitChoices(HWND dialog);
