// The system media transport controls session manager, called through its
// raw Windows Runtime interfaces from the user-interface thread. Nothing here
// waits: each asynchronous operation is started on one poll and taken on a
// later one, once the operation reports itself complete.
#include "media_session.h"
#include "media_session_abi.h"
#include "winrt_runtime.h"
#include "../win/owner.h"
#include <vector>

using namespace MediaAbi;

namespace {

// The out-parameter of a call that hands out a reference as void**.
template <typename Interface> void** Into(ComReference<Interface>& owner) {
    return reinterpret_cast<void**>(owner.Receive());
}

class SystemMediaSessions : public MediaSessionSource {
  public:
    MediaSnapshot Poll() override;
    void Pause() override;

  private:
    enum Stage { NotStarted, AwaitingManager, Ready, Unavailable };
    void RequestManager();
    void TakeManager();
    std::vector<ComReference<ISession>> Sessions() const;
    void ReadSession(ComReference<ISession> chosen, MediaSnapshot* snapshot);
    void ReadItem();

    // First, so that it is destroyed last, after every interface it gave.
    WinRtRuntime runtime;
    Stage stage = NotStarted;
    ComReference<IAsyncOperation> managerRequest;
    ComReference<IManager> manager;
    ComReference<ISession> session; // the session of the item below
    ComReference<IAsyncOperation> itemRequest;
    std::wstring title, artist;
};

INT32 OperationStatus(IAsyncOperation* operation) {
    ComReference<IAsyncInfo> info;
    INT32 status = -1;
    operation->QueryInterface(AsyncInfoId, Into(info));
    if (info)
        info->get_Status(&status);
    return status;
}

MediaPlayback PlaybackOf(ISession* session, double* rate) {
    ComReference<IPlaybackInfo> playback;
    INT32 status = MediaClosed;
    session->GetPlaybackInfo(playback.Receive());
    if (!playback)
        return MediaClosed;
    playback->get_PlaybackStatus(&status);
    ComReference<IDoubleReference> reference;
    if (rate)
        playback->get_PlaybackRate(reference.Receive());
    if (reference)
        reference->get_Value(rate);
    return static_cast<MediaPlayback>(status);
}

const long long UnitsPerMs = 10000;

// The timeline's position was true when it was last updated; a playing item
// has moved on since by the time passed, at its rate.
void ReadTimeline(ISession* session, double rate, MediaSnapshot* snapshot) {
    ComReference<ITimelineProperties> timeline;
    TimeSpan start = 0, end = 0, position = 0;
    DateTime updated = 0;
    session->GetTimelineProperties(timeline.Receive());
    if (!timeline)
        return;
    timeline->get_StartTime(&start);
    timeline->get_EndTime(&end);
    timeline->get_Position(&position);
    timeline->get_LastUpdatedTime(&updated);
    if (end <= start)
        return; // no timeline published
    if (snapshot->Status == MediaPlaying && updated > 0) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        long long current = static_cast<long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
        if (current > updated)
            position += static_cast<TimeSpan>((current - updated) * rate);
    }
    if (position > end)
        position = end;
    snapshot->HasTimeline = true;
    snapshot->PositionMs = (position - start) / UnitsPerMs;
    snapshot->EndMs = (end - start) / UnitsPerMs;
}

MediaSnapshot SystemMediaSessions::Poll() {
    if (stage == NotStarted)
        RequestManager();
    if (stage == AwaitingManager)
        TakeManager();
    MediaSnapshot snapshot;
    if (stage != Ready)
        return snapshot;
    ComReference<ISession> chosen;
    for (auto& candidate : Sessions())
        if (PlaybackOf(candidate.Get(), nullptr) == MediaPlaying) {
            chosen = std::move(candidate);
            break;
        }
    if (!chosen)
        manager->GetCurrentSession(chosen.Receive());
    if (chosen)
        ReadSession(std::move(chosen), &snapshot);
    return snapshot;
}

// Combase, the runtime class and the manager are missing before Windows 10
// 1809 and under Wine: then there are no sessions, for the rest of this lock.
void SystemMediaSessions::RequestManager() {
    stage = Unavailable;
    if (!runtime.Start())
        return;
    ComReference<IManagerStatics> statics;
    runtime.Factory(ManagerClass, ManagerStaticsId, Into(statics));
    if (statics)
        statics->RequestAsync(managerRequest.Receive());
    if (managerRequest)
        stage = AwaitingManager;
}

void SystemMediaSessions::TakeManager() {
    INT32 status = OperationStatus(managerRequest.Get());
    if (status == AsyncStarted)
        return;
    if (status == AsyncCompleted)
        managerRequest->GetResults(Into(manager));
    managerRequest.Reset();
    stage = manager ? Ready : Unavailable;
}

std::vector<ComReference<ISession>> SystemMediaSessions::Sessions() const {
    std::vector<ComReference<ISession>> sessions;
    ComReference<ISessionList> list;
    UINT32 count = 0;
    manager->GetSessions(list.Receive());
    if (!list || FAILED(list->get_Size(&count)))
        return sessions;
    for (UINT32 index = 0; index < count; index++) {
        ComReference<ISession> one;
        list->GetAt(index, one.Receive());
        if (one)
            sessions.push_back(std::move(one));
    }
    return sessions;
}

void SystemMediaSessions::ReadSession(ComReference<ISession> chosen, MediaSnapshot* snapshot) {
    double rate = 1.0;
    snapshot->Present = true;
    snapshot->Status = PlaybackOf(chosen.Get(), &rate);
    ReadTimeline(chosen.Get(), rate, snapshot);
    // Another session: a read under way is of the old one's item. The item
    // known so far stays until the new one is read, so that a switch shows as
    // a change of item, not as an unknown one.
    if (chosen.Get() != session.Get()) {
        itemRequest.Reset();
        session = std::move(chosen);
    }
    ReadItem();
    snapshot->Title = title;
    snapshot->Artist = artist;
}

// Starts a read of the item when none is under way, and takes the one under
// way once it is complete (often at once).
void SystemMediaSessions::ReadItem() {
    if (!itemRequest)
        session->TryGetMediaPropertiesAsync(itemRequest.Receive());
    if (!itemRequest)
        return;
    INT32 status = OperationStatus(itemRequest.Get());
    if (status == AsyncStarted)
        return;
    ComReference<IMediaProperties> item;
    if (status == AsyncCompleted)
        itemRequest->GetResults(Into(item));
    if (item) {
        HSTRING text = nullptr;
        item->get_Title(&text);
        title = runtime.Take(text);
        text = nullptr;
        item->get_Artist(&text);
        artist = runtime.Take(text);
    }
    itemRequest.Reset();
}

// Dropping an operation does not cancel it: each pause goes on after its
// reference is released.
void SystemMediaSessions::Pause() {
    if (stage != Ready)
        return;
    for (auto& one : Sessions())
        if (PlaybackOf(one.Get(), nullptr) == MediaPlaying) {
            ComReference<IAsyncOperation> request;
            one->TryPauseAsync(request.Receive());
        }
}

} // namespace

std::unique_ptr<MediaSessionSource> OpenSystemMediaSessions() {
    return std::unique_ptr<MediaSessionSource>(new SystemMediaSessions());
}

MediaSessionOpener OpenMediaSessions = OpenSystemMediaSessions;
