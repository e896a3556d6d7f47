#include "resource_texts.h"
#include "../res/resource.h"

ResourceTexts Texts;

void LoadResourceTexts(HINSTANCE instance) {
    struct ResourceText {
        UINT id;
        wchar_t* buffer;
    };
    const ResourceText texts[] = {
        {IDS_APP_TITLE, Texts.AppTitle},         {IDS_MAIN_CLASS, Texts.MainClassName},
        {IDS_UNLOCK_ITEM, Texts.UnlockItemText}, {IDS_LOCK_ITEM, Texts.LockItemText},
        {IDS_UNLOCK_TIP, Texts.UnlockTipText},   {IDS_LOCK_TIP, Texts.LockTipText},
        {IDS_ENABLE_BLUE, Texts.EnableBlueText}, {IDS_DISABLE_BLUE, Texts.DisableBlueText},
    };
    for (const ResourceText& text : texts)
        LoadStringW(instance, text.id, text.buffer, ResourceTextSize);
}
