// What the settings, delay, program and report dialogs need from the main
// form: its messages, the device commands it runs with the progress window,
// its file commands and the form's own displays that follow a dialog's
// changes. The main view implements it.
//
// User-interface thread only.
#pragma once

#include <QString>

class CFStatic;
class CProcessor;
class CProcessorState;

class IFormHost {
public:
    virtual ~IFormHost() = default;

    // A message for the user (tests record it instead).
    virtual void ShowMessage(const QString& strText) = 0;
    virtual bool IsConnected() const = 0;
    // The processor the form edits, and its state.
    virtual CProcessor& Processor() = 0;
    virtual CProcessorState& State() const = 0;
    // One system item written to the processor; nothing when not connected.
    virtual void SendSystemItem(int nItem, int nPreset) = 0;

    // ---- delays: each also shown on the form --------------------------------------
    virtual void SetDelay(int nChannel, int nValue) = 0;
    // The position shown, its delay table marked for sending while connected.
    virtual void ApplyPosition(int nPosition) = 0;
    // The form's delay labels again, after the unit has changed.
    virtual void ShowDelays() = 0;

    // ---- scene programs: the processor's calls, with the progress window ----------
    // The live scene name on the form, and to the processor while connected.
    virtual void ShowSceneName() = 0;
    // After a command of the processor's was queued: the progress window,
    // or the link failure when nothing could be.
    virtual void AfterDeviceCommand() = 0;

    // The response graph: the handover report prints its measurements and
    // the sum it shows.
    virtual CFStatic* Graph() const = 0;

    // ---- files: each asks for its file; true when it was written or loaded --------
    virtual bool SaveScene() = 0;
    virtual bool LoadScene() = 0;
    // True once the read from the processor is under way; the file is
    // written when that read has finished.
    virtual bool SaveAllScenes() = 0;
    virtual bool LoadAllScenes() = 0;
    virtual bool SavePosition() = 0;
    virtual bool LoadPosition() = 0;
    // The report's worksheet; empty when cancelled.
    virtual QString AskExportFile() = 0;
};
