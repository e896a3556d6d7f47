// What the system's media sessions say about the playing item, and a way to
// pause it, behind one interface that tests replace.
#pragma once
#include <memory>
#include <string>

// The system's playback status values.
enum MediaPlayback {
    MediaClosed = 0,
    MediaOpened = 1,
    MediaChanging = 2,
    MediaStopped = 3,
    MediaPlaying = 4,
    MediaPaused = 5,
};

// The session read last: the one that plays, else the one the system calls
// current.
struct MediaSnapshot {
    bool Present = false; // no session, or none read yet
    MediaPlayback Status = MediaClosed;
    std::wstring Title; // the item; both empty until read
    std::wstring Artist;
    // Many browsers publish no timeline: then only the item and the status count.
    bool HasTimeline = false;
    long long PositionMs = 0; // where the item is now, from its start
    long long EndMs = 0;      // its length
};

class MediaSessionSource {
  public:
    MediaSessionSource() = default;
    virtual ~MediaSessionSource() = default;
    MediaSessionSource(const MediaSessionSource&) = delete;
    MediaSessionSource& operator=(const MediaSessionSource&) = delete;

    // Moves the reads under way on without waiting for them, starts the next
    // ones, and returns the latest state known.
    virtual MediaSnapshot Poll() = 0;
    // Asks every playing session to pause; returns at once.
    virtual void Pause() = 0;
};

// Every source is opened through this pointer, so tests can stand in for the
// sessions Wine does not have. It opens the system's, which report no session
// where the system has none (before Windows 10 1809, and under Wine).
typedef std::unique_ptr<MediaSessionSource> (*MediaSessionOpener)();
extern MediaSessionOpener OpenMediaSessions;
std::unique_ptr<MediaSessionSource> OpenSystemMediaSessions();
