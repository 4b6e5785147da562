// One processor the program talks to: its model with the memory areas it
// mirrors and their two locks (CKTV_Data and its CProcessorState), and the
// link session with its command queue, receiver and communication thread.
// A program holds one (the editor) or many (venue commands, a service);
// nothing of one is shared with another.
//
// The use cases every front end offers are written here once. Each is one
// call that takes the locks it needs itself, so that a front end only asks
// and shows.
//
// Threads: every call is for the thread that owns the object (the editor's
// user-interface thread, a command's thread), as for CLinkSession.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "ChangeEvent.h"
#include "ChangeWatch.h"
#include "FirmwareFile.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "PresetFile.h"

// Why a program name was refused; nothing was changed then.
enum class ProgramNameCheck {
    kOk,
    kEmpty,
    kAllSpaces,
    kDoesNotFit,  // longer than the name field, in the processor's bytes
    kTaken,       // another scene program has the same name
};

struct FilterMapping;

class CProcessor {
public:
    CProcessor();
    ~CProcessor();
    CProcessor(const CProcessor&) = delete;
    CProcessor& operator=(const CProcessor&) = delete;

    CKTV_Data& Data() { return m_data; }
    CProcessorState& State() { return m_data.State(); }
    CLinkSession& Session() { return m_session; }

    // ---- the link -------------------------------------------------------------------
    // Opens "usb", "tcp:HOST:PORT" or "virtual" and starts the
    // identification, then the full read of the live settings; returns at
    // once. The read completes while the owning thread hands the session its
    // notifications, and ends in a kConnection event. False when the device
    // could not be opened: the session showed the link-failure message and
    // keeps the reason in LastError().
    bool Connect(const std::string& strDevice);
    // Stops the transfers and closes the link, when there is one.
    void Disconnect();
    bool IsConnected() const { return m_session.IsConnected(); }

    // ---- the firmware update ----------------------------------------------------------
    // Hands a checked firmware file to the link, which looks for the
    // processor on strDevice (and again there after its restart into the
    // loader) and runs the update; returns at once. The update's end comes
    // as the session's notifications: its status and message. False only
    // while an update is already running.
    bool StartFirmwareUpdate(CFirmwareUpdate update, const std::string& strDevice);
    // Cancels a running update: a failure, unless the processor had already
    // confirmed the end.
    void CancelFirmwareUpdate();

    // ---- what the processor reported ---------------------------------------------
    // The identification as it arrived (up to its first zero byte); the
    // session blanks a rejected one with spaces.
    std::string Identification();
    // The live scene's name.
    std::string SceneName();
    // The music source (0 … 3) in the control block.
    int Source();
    // A new source goes to the processor with the whole control block;
    // false (nothing sent) when it is already the source.
    bool SetSource(int nSource);

    // ---- scene programs 1 … 10 ----------------------------------------------------
    // The name of program n as the processor keeps it.
    std::string ProgramName(int nProgram);
    // Stores the live settings as program n: the name goes into the program
    // store and becomes the live scene's name, marked for sending, and the
    // program's blocks are written from the model. *pQueued tells whether
    // the write was queued (not without a link).
    ProgramNameCheck StoreProgram(int nProgram, const std::string& strName, bool* pQueued);
    // Reads program n into the live settings; its name becomes the live
    // scene's. False (nothing done) while a full read is not complete, or
    // when nothing could be queued.
    bool RecallProgram(int nProgram);
    // Blanks program n's name, here and on the processor; its blocks stay.
    void DeleteProgram(int nProgram);
    // The effect record from effect program n (21 … 40), once the processor
    // has recalled it.
    void TakeRecalledEffect(int nProgram);

    // ---- preset files ------------------------------------------------------------
    // A checked scene file's bytes into the model, titled strTitle (its
    // name), and the live settings written inside the mute bracket while
    // connected: all under the comm lock, so the link never sends a
    // half-loaded scene. *pQueued (when asked) tells whether the write was
    // queued.
    PresetFileResult SendSceneFile(std::span<const uint8_t> bytes, const std::string& strTitle,
                                   bool* pQueued = nullptr);
    // A checked all-scenes file into the program store (and the model, for
    // a file with the live scene), then every program written to the
    // processor while connected, the live scene's name with them: under the
    // comm lock. *pQueued (when asked) tells whether the writes were queued.
    PresetFileResult SendAllScenesFile(std::span<const uint8_t> bytes, bool* pQueued = nullptr);
    // A checked listening-position file's delays into the delay table, and
    // the table to the processor while connected.
    PresetFileResult SendPositionFile(std::span<const uint8_t> bytes);
    // The live settings as a scene file; the live scene then takes the
    // file's title as its name (told as an edit), to be sent with the next
    // transfer.
    PresetFileResult SaveSceneFile(const std::filesystem::path& path);
    // Starts reading every program from the processor, for a backup; false
    // (nothing queued) without a link. Notification kMsgAllScenesRead ends
    // it, after which SaveAllScenesFile writes what was read.
    bool ReadAllScenes();
    // Every program, the live scene and the delay table as an all-scenes file.
    PresetFileResult SaveAllScenesFile(const std::filesystem::path& path);
    // Program n (1 … 10) as the last ReadAllScenes left it, loaded into
    // scene (another model) with the live delays; false when n is no program.
    bool LoadProgramInto(int nProgram, CKTV_Data& scene);
    // The current listening position and its delays as a position file.
    PresetFileResult SavePositionFile(const std::filesystem::path& path);

    // ---- room tuning --------------------------------------------------------------------
    // Links each output of links (0 … 5) with output nOutput (0 … 5) and
    // puts the mapped bands on it and on the outputs linked with it, in
    // parametric mode: under the model lock, so the link sends them as it
    // sends any edit, and told as an edit.
    void ApplyFilterMapping(int nOutput, const FilterMapping& mapping, const std::vector<int>& links);

    // ---- another client's frames (a frame port) -----------------------------------
    // A write the processor acknowledged to another client, applied to the
    // model as the processor applied it and told as the link's change.
    // False (nothing changed) for a frame whose effect is not a plain write
    // of the live settings: ReadAgain brings those in.
    bool TakeOthersWrite(const uint8_t* pFrame, int nLength);
    // Reads the system items, the program names and the live settings
    // again, as after connecting; false without a link.
    bool ReadAgain();

    // ---- change events ----------------------------------------------------------------
    // A subscriber is told every change on this object's owning thread, from
    // this object's calls and from the session's notifications it handles.
    void Subscribe(IChangeSubscriber* pSubscriber);
    void Unsubscribe(IChangeSubscriber* pSubscriber);
    // After a front end changed the model itself (its controls' setters).
    void NoteEdit();
    // A notification the link posted, handled by the session on the owning
    // thread; once the full read is complete, what a frame the processor
    // sent on its own changed (another client's edit) is told as the link's.
    void HandleNotification(int nMsg, intptr_t wParam, intptr_t lParam);

private:
    void Publish(ChangeSource source);
    // A preset file loaded and sent under the comm lock, its changes told
    // after it.
    template <typename Load>
    PresetFileResult LoadFile(bool* pQueued, Load load);

    CKTV_Data m_data;
    CLinkSession m_session;
    CChangeWatch m_watch;
    std::vector<IChangeSubscriber*> m_subscribers;
};
