// Process-wide handles, texts and flags of the application shell.
#include "app_state.h"

HINSTANCE AppInstance = nullptr;
HWND MainWindow = nullptr;

char AppTitle[ResourceTextSize];
char MainClassName[ResourceTextSize];
char UnlockItemText[ResourceTextSize];
char LockItemText[ResourceTextSize];
char UnlockTipText[ResourceTextSize];
char LockTipText[ResourceTextSize];
char EnableBlueText[ResourceTextSize];
char DisableBlueText[ResourceTextSize];

bool BlueLightMenuState = false;
