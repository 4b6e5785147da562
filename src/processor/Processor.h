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

#include <cstdint>
#include <span>
#include <string>

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

class CProcessor {
public:
    CProcessor();
    ~CProcessor();
    CProcessor(const CProcessor&) = delete;
    CProcessor& operator=(const CProcessor&) = delete;

    CKTV_Data& Data() { return m_data; }
    CProcessorState& State() { return m_data.State(); }
    CLinkSession& Session() { return m_session; }

    // ---- scene programs 1 … 10 ----------------------------------------------------
    // The name of program n as the processor keeps it.
    std::string ProgramName(int nProgram);
    // The live scene's name.
    std::string SceneName();
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

    // ---- preset files ------------------------------------------------------------
    // A checked scene file's bytes into the model, titled strTitle (its
    // name), and the live settings written inside the mute bracket while
    // connected: all under the comm lock, so the link never sends a
    // half-loaded scene. *pQueued (when asked) tells whether the write was
    // queued.
    PresetFileResult SendSceneFile(std::span<const uint8_t> bytes, const std::string& strTitle,
                                   bool* pQueued = nullptr);

private:
    CKTV_Data m_data;
    CLinkSession m_session;
};
