// Placeholder until the lock controller lands: nothing is ever locked.
#include "lock_controller.h"

bool Unlocked = true;
bool ImmediateLock = false;
HHOOK KeyboardHook = nullptr;
HHOOK MouseHook = nullptr;
HWND CoverWindow = nullptr;
HWND UnlockImageWindow = nullptr;

void StartLockCountdown() { ImmediateLock = false; }
void CALLBACK AdvanceLockCountdown(HWND, UINT, UINT_PTR, DWORD) {}
void CALLBACK EngageLock(HWND, UINT, UINT_PTR, DWORD) {}
int RequestUnlock() { return 0; }
void ReleaseLock() {}
int GetOsVersionLevel() { return 0; }
HRESULT DisableEdgeGestures(HWND, bool) { return E_NOTIMPL; }
void ReinstallLockHooks() {}
