// The program's notification-area icon, its balloons and its popup menu.
#pragma once
#include "owner.h"
#include <windows.h>
#include <shellapi.h>
#include <map>

// Every call to the shell goes through these pointers: ShellNotifyIcon
// (Shell_NotifyIconW), so tests can watch what the tray sends, and
// NotifyIconGetRect, where the shell shows an icon (Shell_NotifyIconGetRect,
// Windows 7 and later; E_NOTIMPL before), so tests can place the icon on
// monitors no virtual display here has.
typedef BOOL(WINAPI* ShellNotifyIconFunction)(DWORD message, PNOTIFYICONDATAW data);
typedef HRESULT(WINAPI* NotifyIconRectFunction)(const NOTIFYICONIDENTIFIER* icon, RECT* rect);
struct ShellTrayCalls {
    ShellNotifyIconFunction ShellNotifyIcon;
    NotifyIconRectFunction NotifyIconGetRect;
};
extern ShellTrayCalls Shell;

class CSystemTray {
  public:
    CSystemTray();
    virtual ~CSystemTray();
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // A tap on the icon (wParam is the icon id, lParam the mouse message).
    virtual LRESULT HandleNotification(WPARAM wParam, LPARAM lParam);

    BOOL Install(HINSTANCE instance, HWND parent, UINT callbackMessage, const wchar_t* tooltip,
                 HICON icon, UINT iconId, BOOL hidden, const wchar_t* balloonText,
                 const wchar_t* balloonTitle, DWORD balloonFlags, UINT balloonTimeoutSeconds);
    BOOL RemoveFromTray();
    // Loads the icon resource at the size the shell shows icons at on the
    // primary monitor, and remembers it to load again at another scale.
    BOOL SetTrayIcon(UINT iconResourceId);
    BOOL SetTrayIcon(HICON icon);
    // The icon resource loaded at the size the shell shows notification icons
    // at on the primary monitor; the caller owns it.
    static HICON LoadTrayIcon(HINSTANCE module, UINT iconResourceId);
    // The icon given to Install came from this resource, at today's size.
    void NoteIconResource(UINT iconResourceId);
    // The primary monitor's scale changed: the icon is loaded again at the
    // size the shell now shows, and shown; nothing happens when the size is
    // the same.
    void FitIconToDpi();
    BOOL SetTrayTooltip(const wchar_t* text);
    BOOL ShowTrayBalloon(const wchar_t* text, const wchar_t* title, DWORD flags,
                         UINT timeoutSeconds);
    // Rewrites the text of a menu item, addressed by command, keeping its item
    // data; does nothing before the menu exists.
    void SetMenuItemText(UINT command, const wchar_t* text);
    // Puts the icon back after the shell lost it (see TrayWindowProc).
    void ReAddIcon();
    // True while the shell should be showing the icon but is not (the add
    // failed, for instance before the taskbar exists).
    bool IconMissing() const { return reAddPending != FALSE; }
    // The icon's place on the screen (Windows 7 and later); false where the
    // shell cannot say.
    bool GetIconRect(RECT* rect) const;

    static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterTrayWindowClass(HINSTANCE instance);

    HMENU Menu() const { return menu; }
    // The hidden window that hears the shell's broadcasts.
    HWND HiddenWindow() const { return hiddenWindow; }

  private:
    OwnedMenu menu;
    // iconData.hIcon is always this copy, so it stays valid for a re-add
    // whatever the caller does with the handle it passed in.
    OwnedIcon iconCopy;
    NOTIFYICONDATAW iconData;
    HINSTANCE instance;
    OwnedWindow hiddenWindow;
    BOOL enabled;
    BOOL hidden;
    BOOL removed;
    // The shell should be showing the icon but is not: the last add failed, or
    // the taskbar was re-created after the icon had been added.
    BOOL reAddPending;
    BOOL balloonsSupported;
    UINT creationFlags;
    UINT iconResource; // where the icon shown came from; 0 when not known
    int iconPixels;    // and the size it was loaded at
    // Every icon resource shown so far, loaded once at loadedIconPixels: a
    // lock and its release each change the icon, and under Wine every load
    // keeps some heap after the icon is destroyed.
    std::map<UINT, OwnedIcon> loadedIcons;
    int loadedIconPixels;

    void KeepIcon(HICON shown);
    // The icon resource at the size the shell shows now, loaded at most once
    // for that size; the tray owns it.
    HICON LoadedIcon(UINT iconResourceId);

    static CSystemTray* instancePointer;
};
