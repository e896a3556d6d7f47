// The system media transport controls session manager, called through its
// raw Windows Runtime interfaces from the user-interface thread. Nothing here
// waits: each asynchronous operation is started on one poll and taken on a
// later one, once the operation reports itself complete.
#include "media_session.h"
#include "media_session_abi.h"
#include "winrt_runtime.h"
#include <vector>

using namespace MediaAbi;

namespace {

struct ReleaseInterface {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface> using Owned = std::unique_ptr<Interface, ReleaseInterface>;

// The out-parameter of a call that hands out a reference, typed or as void**,
// which the owner takes over at the end of the statement: Call(Into(owner)).
// So the owner is tested in the next statement, not in the same one. A failed
// call hands out nothing and leaves the owner empty.
template <typename Interface> class Receiver {
  public:
    explicit Receiver(Owned<Interface>& target) : owner(target) {}
    ~Receiver() { owner.reset(received); }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    operator Interface**() { return &received; }
    operator void**() { return reinterpret_cast<void**>(&received); }

  private:
    Owned<Interface>& owner;
    Interface* received = nullptr;
};
template <typename Interface> Receiver<Interface> Into(Owned<Interface>& owner) {
    return Receiver<Interface>(owner);
}

class SystemMediaSessions : public MediaSessionSource {
  public:
    MediaSnapshot Poll() override;
    void Pause() override;

  private:
    enum Stage { NotStarted, AwaitingManager, Ready, Unavailable };
    void RequestManager();
    void TakeManager();
    std::vector<Owned<ISession>> Sessions() const;
    void ReadSession(Owned<ISession> chosen, MediaSnapshot* snapshot);
    void ReadItem();

    // First, so that it is destroyed last, after every interface it gave.
    WinRtRuntime runtime;
    Stage stage = NotStarted;
    Owned<IAsyncOperation> managerRequest;
    Owned<IManager> manager;
    Owned<ISession> session; // the session of the item below
    Owned<IAsyncOperation> itemRequest;
    std::wstring title, artist;
};

INT32 OperationStatus(IAsyncOperation* operation) {
    Owned<IAsyncInfo> info;
    INT32 status = -1;
    operation->QueryInterface(AsyncInfoId, Into(info));
    if (info)
        info->get_Status(&status);
    return status;
}

MediaPlayback PlaybackOf(ISession* session, double* rate) {
    Owned<IPlaybackInfo> playback;
    INT32 status = MediaClosed;
    session->GetPlaybackInfo(Into(playback));
    if (!playback)
        return MediaClosed;
    playback->get_PlaybackStatus(&status);
    Owned<IDoubleReference> reference;
    if (rate)
        playback->get_PlaybackRate(Into(reference));
    if (reference)
        reference->get_Value(rate);
    return static_cast<MediaPlayback>(status);
}

const long long UnitsPerMs = 10000;

// The timeline's position was true when it was last updated; a playing item
// has moved on since by the time passed, at its rate.
void ReadTimeline(ISession* session, double rate, MediaSnapshot* snapshot) {
    Owned<ITimelineProperties> timeline;
    TimeSpan start = 0, end = 0, position = 0;
    DateTime updated = 0;
    session->GetTimelineProperties(Into(timeline));
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
    Owned<ISession> chosen;
    for (auto& candidate : Sessions())
        if (PlaybackOf(candidate.get(), nullptr) == MediaPlaying) {
            chosen = std::move(candidate);
            break;
        }
    if (!chosen)
        manager->GetCurrentSession(Into(chosen));
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
    Owned<IManagerStatics> statics;
    runtime.Factory(ManagerClass, ManagerStaticsId, Into(statics));
    if (statics)
        statics->RequestAsync(Into(managerRequest));
    if (managerRequest)
        stage = AwaitingManager;
}

void SystemMediaSessions::TakeManager() {
    INT32 status = OperationStatus(managerRequest.get());
    if (status == AsyncStarted)
        return;
    if (status == AsyncCompleted)
        managerRequest->GetResults(Into(manager));
    managerRequest.reset();
    stage = manager ? Ready : Unavailable;
}

std::vector<Owned<ISession>> SystemMediaSessions::Sessions() const {
    std::vector<Owned<ISession>> sessions;
    Owned<ISessionList> list;
    UINT32 count = 0;
    manager->GetSessions(Into(list));
    if (!list || FAILED(list->get_Size(&count)))
        return sessions;
    for (UINT32 index = 0; index < count; index++) {
        Owned<ISession> one;
        list->GetAt(index, Into(one));
        if (one)
            sessions.push_back(std::move(one));
    }
    return sessions;
}

void SystemMediaSessions::ReadSession(Owned<ISession> chosen, MediaSnapshot* snapshot) {
    double rate = 1.0;
    snapshot->Present = true;
    snapshot->Status = PlaybackOf(chosen.get(), &rate);
    ReadTimeline(chosen.get(), rate, snapshot);
    // Another session: a read under way is of the old one's item. The item
    // known so far stays until the new one is read, so that a switch shows as
    // a change of item, not as an unknown one.
    if (chosen != session) {
        itemRequest.reset();
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
        session->TryGetMediaPropertiesAsync(Into(itemRequest));
    if (!itemRequest)
        return;
    INT32 status = OperationStatus(itemRequest.get());
    if (status == AsyncStarted)
        return;
    Owned<IMediaProperties> item;
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
    itemRequest.reset();
}

// Dropping an operation does not cancel it: each pause goes on after its
// reference is released.
void SystemMediaSessions::Pause() {
    if (stage != Ready)
        return;
    for (auto& one : Sessions())
        if (PlaybackOf(one.get(), nullptr) == MediaPlaying) {
            Owned<IAsyncOperation> request;
            one->TryPauseAsync(Into(request));
        }
}

} // namespace

std::unique_ptr<MediaSessionSource> OpenSystemMediaSessions() {
    return std::unique_ptr<MediaSessionSource>(new SystemMediaSessions());
}

MediaSessionOpener OpenMediaSessions = OpenSystemMediaSessions;
