#include "tray_recorder.h"
#include "res/resource.h"
#include "win/system_tray.h"
#include <map>
#include <utility>

static std::vector<NotifyCall> calls;
static bool passCalls = false;
static BOOL answer = TRUE;
static ShellNotifyIconFunction realShell = nullptr;

std::vector<BYTE> IconPixels(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    std::vector<BYTE> pixels;
    HBITMAP picture = info.hbmColor ? info.hbmColor : info.hbmMask;
    BITMAP bitmap = {};
    GetObjectA(picture, sizeof bitmap, &bitmap);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = bitmap.bmWidth;
    header.biHeight = bitmap.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    pixels.resize((size_t)bitmap.bmWidth * bitmap.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, picture, 0, bitmap.bmHeight, pixels.data(), (BITMAPINFO*)&header,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return pixels;
}

std::vector<BYTE> ResourceIconPixels(UINT id) {
    HICON icon = (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 0,
                                   0, LR_DEFAULTCOLOR);
    std::vector<BYTE> pixels = IconPixels(icon);
    DestroyIcon(icon);
    return pixels;
}

// An icon resource's pixels at a size (0: the default size), loaded once:
// they cannot change while the process runs, and under Wine every icon
// loaded keeps some heap after it is destroyed, which the memory over many
// lock cycles would count as the program's.
static const std::vector<BYTE>& ResourcePixelsAt(UINT id, int side) {
    static std::map<std::pair<UINT, int>, std::vector<BYTE>> known;
    const auto key = std::make_pair(id, side);
    auto found = known.find(key);
    if (found == known.end()) {
        HICON icon = (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON,
                                       side, side, LR_DEFAULTCOLOR);
        found = known.emplace(key, IconPixels(icon)).first;
        DestroyIcon(icon);
    }
    return found->second;
}

// An icon resource as LoadIconA gives it (the system's icon size), as
// LoadImageA gives it with no size asked for, and at the icon's own size.
static bool ShowsResource(const std::vector<BYTE>& pixels, UINT id) {
    const std::vector<BYTE> loaded =
        IconPixels(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    int side = 1;
    while ((size_t)side * side * 4 < pixels.size())
        side++;
    return pixels == ResourcePixelsAt(id, side) || pixels == loaded ||
           pixels == ResourcePixelsAt(id, 0);
}

// The tray keeps a copy of the icon it shows and destroys it at the next
// change, so the picture is named while the call is made.
static std::string IconName(HICON icon) {
    if (!icon)
        return "none";
    const std::vector<BYTE> pixels = IconPixels(icon);
    if (ShowsResource(pixels, IDI_MORROWBY))
        return "129";
    if (ShowsResource(pixels, IDI_LOCKED))
        return "131";
    return "other";
}

std::string Utf8(const wchar_t* text) {
    char buffer[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

static std::string Line(DWORD message, const NOTIFYICONDATAW& data) {
    std::string line = message == NIM_ADD      ? "add"
                       : message == NIM_MODIFY ? "modify"
                       : message == NIM_DELETE ? "delete"
                                               : "message " + std::to_string(message);
    if (data.uFlags & NIF_MESSAGE)
        line += " callback=" + std::to_string(data.uCallbackMessage);
    if (data.uFlags & NIF_ICON)
        line += " icon=" + IconName(data.hIcon);
    if (data.uFlags & NIF_TIP)
        line += " tip=\"" + Utf8(data.szTip) + "\"";
    if (data.uFlags & NIF_INFO) {
        line += " balloon=\"" + Utf8(data.szInfo) + "\"";
        if (data.szInfoTitle[0])
            line += " title=\"" + Utf8(data.szInfoTitle) + "\"";
        if (data.dwInfoFlags)
            line += " infoflags=" + std::to_string(data.dwInfoFlags);
        line += " timeout=" + std::to_string(data.uTimeout);
    }
    if (data.uFlags & NIF_STATE)
        line += (data.dwState & NIS_HIDDEN) ? " state=hidden" : " state=shown";
    return line;
}

static BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAW data) {
    NotifyCall call = {};
    call.message = message;
    call.data = *data;
    call.line = Line(message, *data);
    calls.push_back(call);
    return passCalls ? realShell(message, data) : answer;
}

void StartTrayRecording(bool passToShell, BOOL shellResult) {
    if (!realShell)
        realShell = Shell.ShellNotifyIcon;
    calls.clear();
    passCalls = passToShell;
    answer = shellResult;
    Shell.ShellNotifyIcon = RecordingShell;
}

void StopTrayRecording() {
    if (realShell)
        Shell.ShellNotifyIcon = realShell;
}

std::vector<NotifyCall>& RecordedTrayCalls() {
    return calls;
}

std::vector<std::string> RecordedTraySequence() {
    std::vector<std::string> lines;
    for (const NotifyCall& call : calls)
        lines.push_back(call.line);
    return lines;
}

std::vector<std::string> RecordedBalloons() {
    std::vector<std::string> texts;
    for (const NotifyCall& call : calls)
        if (call.data.uFlags & NIF_INFO)
            texts.push_back(Utf8(call.data.szInfo));
    return texts;
}
