// The preset-file commands: one scene (".ZR4C"), all scenes (".ZR4AC") and
// the delays of one listening position (".Mode_C").
//
// A file dialog or a message box runs a nested event loop, and a link
// failure handled in it stops the link thread, which may be waiting for
// the comm lock. So each command asks for its file and reads and checks all
// of it first, holds the comm lock only while it loads the model and queues
// the frames, and shows its messages after releasing it.
//
// User-interface thread only.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

struct PresetFileResult;
class CProcessor;
class CQM7100View;

class CPresetFileCommands {
public:
    CPresetFileCommands(CProcessor& processor, CQM7100View& form);

    // Each asks for its file and returns true when it was written or loaded;
    // SaveAllScenes returns true once the read from the processor is under
    // way, and the file is written when that read has finished.
    bool SaveScene();
    bool LoadScene();
    bool SaveAllScenes();
    bool LoadAllScenes();
    bool SavePosition();
    bool LoadPosition();
    // Notification 1135: the programs have been read; the file asked for is written.
    void OnAllScenesRead(int nPrograms);
    // The link is gone: the all-scenes read waited for will not finish.
    void DropPendingRead() { m_strAllScenesPath.clear(); }

private:
    QString AskFile(bool bSave, std::string_view ext);
    // A preset file asked for, read whole and checked; nothing when the user
    // cancels or the file is unfit, which the user has then been told.
    struct PresetFileRead {
        QString strPath;
        std::vector<uint8_t> bytes;
    };
    using PresetCheck = bool (*)(std::span<const uint8_t>);
    std::optional<PresetFileRead> AskPresetFile(std::string_view ext, size_t nSize, PresetCheck isValid,
                                                const QString& strUnfit);

    // True when the file was written; else the user is told why.
    bool Saved(const PresetFileResult& saved);

    CProcessor& m_processor;
    CQM7100View& m_form;
    QString m_strAllScenesPath;  // the all-scenes file waiting for the programs' read
};
