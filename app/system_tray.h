// The program's notification-area icon, its balloons and its popup menu.
#pragma once
#include <windows.h>
#include <shellapi.h>

// Every call to the shell goes through this pointer, so tests can watch what the
// tray sends. It points at Shell_NotifyIconA.
typedef BOOL(WINAPI* ShellNotifyIconFunction)(DWORD message, PNOTIFYICONDATAA data);
extern ShellNotifyIconFunction ShellNotifyIcon;

class CSystemTray {
  public:
    CSystemTray();
    virtual ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    virtual LRESULT HandleNotification(WPARAM wParam, LPARAM lParam);
    virtual void AdjustPopupMenu(HMENU popup);

    BOOL Install(HINSTANCE instance, HWND parent, UINT callbackMessage, const char* tooltip,
                 HICON icon, UINT iconId, BOOL hidden, const char* balloonText,
                 const char* balloonTitle, DWORD balloonFlags, UINT balloonTimeoutSeconds);
    BOOL RemoveFromTray();
    BOOL SetTrayIcon(UINT iconResourceId);
    BOOL SetTrayIcon(HICON icon);
    BOOL SetTrayTooltip(const char* text);
    BOOL ShowTrayBalloon(const char* text, const char* title, DWORD flags, UINT timeoutSeconds);
    void ReAddIcon();

    static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    static void RegisterTrayWindowClass(HINSTANCE instance);

    HMENU Menu() const { return menu; }

  private:
    POINT popupPosition;
    HMENU menu;
    NOTIFYICONDATAA iconData;
    HINSTANCE instance;
    HWND hiddenWindow;
    HWND notificationTarget;
    BOOL enabled;
    BOOL hidden;
    BOOL removed;
    BOOL reAddPending;
    BOOL balloonsSupported;
    UINT defaultMenuItem;
    BOOL defaultByPosition;
    UINT creationFlags;

    static CSystemTray* instancePointer;
    static UINT tooltipLimit;
};
