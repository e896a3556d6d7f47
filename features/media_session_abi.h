// The Windows Runtime interfaces of the system media transport controls
// session manager, declared by hand: mingw-w64 has no header for them. Each
// lists its methods in vtable order after IInspectable's six, up to the last
// one this program calls; the types of methods it never calls only hold
// their slots.
#pragma once
#include <windows.h>
#include <hstring.h>
#include <inspectable.h>

namespace MediaAbi {

typedef INT64 TimeSpan; // 100 ns units
typedef INT64 DateTime; // 100 ns units since 1601, as a FILETIME

const wchar_t* const ManagerClass =
    L"Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";
// IGlobalSystemMediaTransportControlsSessionManagerStatics
const IID ManagerStaticsId = {
    0x2050C4EE, 0x11A0, 0x57DE, {0xAE, 0xD7, 0xC9, 0x7C, 0x70, 0x33, 0x82, 0x45}};
const IID AsyncInfoId = {
    0x00000036, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The status of an asynchronous operation.
const INT32 AsyncStarted = 0;
const INT32 AsyncCompleted = 1;

struct IAsyncInfo : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status(INT32* status) = 0;
};

// IAsyncOperation<T>, of an interface T here: results receives the T.
struct IAsyncOperation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IUnknown** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(void** results) = 0;
};

// IReference<double>
struct IDoubleReference : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Value(double* value) = 0;
};

struct ITimelineProperties : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_StartTime(TimeSpan* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EndTime(TimeSpan* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MinSeekTime(TimeSpan* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MaxSeekTime(TimeSpan* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(TimeSpan* time) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LastUpdatedTime(DateTime* time) = 0;
};

struct IPlaybackInfo : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Controls(IInspectable** controls) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackStatus(INT32* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackType(IInspectable** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AutoRepeatMode(IInspectable** mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PlaybackRate(IDoubleReference** rate) = 0;
};

struct IMediaProperties : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* title) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Subtitle(HSTRING* subtitle) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING* artist) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Artist(HSTRING* artist) = 0;
};

struct ISession : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_SourceAppUserModelId(HSTRING* id) = 0;
    // The operation's results: an IMediaProperties.
    virtual HRESULT STDMETHODCALLTYPE TryGetMediaPropertiesAsync(IAsyncOperation** read) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTimelineProperties(ITimelineProperties** timeline) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPlaybackInfo(IPlaybackInfo** playback) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryPlayAsync(IAsyncOperation** request) = 0;
    virtual HRESULT STDMETHODCALLTYPE TryPauseAsync(IAsyncOperation** request) = 0;
};

// IVectorView<GlobalSystemMediaTransportControlsSession>
struct ISessionList : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, ISession** session) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;
};

struct IManager : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetCurrentSession(ISession** session) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSessions(ISessionList** sessions) = 0;
};

struct IManagerStatics : IInspectable {
    // The operation's results: an IManager.
    virtual HRESULT STDMETHODCALLTYPE RequestAsync(IAsyncOperation** request) = 0;
};

} // namespace MediaAbi
