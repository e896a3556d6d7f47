#include "dialog_fixture.h"
#include "app/main_window.h"
#include "features/blue_light.h"
#include "res/resource.h"
#include "res/timer_ids.h"
#include "app/settings_dialog.h"
#include "settings/settings_store.h"
#include "support/in_process_app.h"
#include "support/wait.h"
#include <commctrl.h>

void SettingsDialogTest::SetUp() {
    StartInProcessApp();
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    // The display's ramp as the program saw it at start: a plain linear one.
    StartGammaRecording(LinearGammaRamp());
    SaveDisplayGamma();
    WrittenGammaRamps().clear();
    BlueLightApplied = false;
    SettingsDialog.LastPasswordChar = 0x25CF;
    SettingsDialog.SavedPasswordChar = 0;
}

void SettingsDialogTest::TearDown() {
    Close();
    if (GetCapture())
        ReleaseCapture();
    StopGammaRecording();
    StopInProcessApp();
}

HWND SettingsDialogTest::Open(bool fading) {
    SaveSettings();
    // A wide dialog, as the program opens it.
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS),
                                MainWindow, SettingsDialogProc, 0);
    if (dialog && !fading)
        KillTimer(dialog, FadeInTimerId);
    if (dialog)
        ShowWindow(dialog, SW_SHOW);
    return dialog;
}

void SettingsDialogTest::Close() {
    if (dialog && IsWindow(dialog))
        DestroyWindow(dialog);
    dialog = nullptr;
}

void SettingsDialogTest::Command(int id) const {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
}

int SettingsDialogTest::Selection(int comboId) const {
    return (int)SendMessageA(Item(comboId), CB_GETCURSEL, 0, 0);
}

int SettingsDialogTest::SliderPosition() const {
    return (int)SendMessageA(Item(IDC_GREEN_GAMMA), TBM_GETPOS, 0, 0);
}

void SettingsDialogTest::SetSlider(int position) const {
    SendMessageA(Item(IDC_GREEN_GAMMA), TBM_SETPOS, TRUE, position);
}

static const char* watchedCaption = nullptr;
static SeenMessageBox watched;
static int watchTicks = 0;

static BOOL CALLBACK CollectStaticText(HWND child, LPARAM) {
    char className[32] = {}, text[256] = {};
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0 && text[0])
        watched.Text += text;
    return TRUE;
}

static void CALLBACK WatchForMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", watchedCaption);
    if (!box)
        return;
    if (!watched.Seen) {
        watched.Seen = true;
        watched.Owner = GetWindow(box, GW_OWNER);
        EnumChildWindows(box, CollectStaticText, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (++watchTicks > 20) {
        EndDialog(box, IDOK); // the posted OK went astray
    }
}

SeenMessageBox AnswerMessageBox(const char* caption, const std::function<void()>& action) {
    watchedCaption = caption;
    watched = SeenMessageBox();
    watchTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, WatchForMessageBox);
    action();
    KillTimer(nullptr, timer);
    return watched;
}

bool ReadTestSetting(const char* name, std::string* data) {
    std::string path(TestSettingsKeyPath);
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    BYTE buffer[1024];
    DWORD size = sizeof buffer, type = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, buffer, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    if (size > 0 && buffer[size - 1] == 0)
        size--;
    data->assign((const char*)buffer, size);
    return true;
}

bool LastRampIs(const GammaRamp& expected) {
    return !WrittenGammaRamps().empty() && SameRamp(WrittenGammaRamps().back(), expected);
}
