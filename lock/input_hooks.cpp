// Placeholder until the input hooks land: everything passes.
#include "input_hooks.h"

LRESULT CALLBACK BlockAllKeysProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK UnlockWordKeyFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK MouseConfineProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
