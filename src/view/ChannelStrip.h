// The strip of six outputs on the main form: selection and tag buttons,
// level fader and field, mute, polarity, curve visibility, the pair and
// link-all buttons, and the music volume.
//
// User-interface thread only. Its edits go through the model's setters
// like any edit: marked, sent by the change scanner, applied to the linked
// outputs.
#pragma once

#include <QObject>
#include <array>

#include "GlobalData.h"

class CKTV_Data;
class CNumEdit;
class CNumSpin;
class CProcessor;
class CProcessorState;
class CQM7100View;
class CSkinFader;
class CXPButton;

class CChannelStrip : public QObject {
public:
    CChannelStrip(CProcessor& processor, CQM7100View& form);

    // The controls, placed from nX, nY on the form, and their handlers.
    void CreateControls(int nX, int nY);
    void SetUpControls();

    // Every output's level, mute, polarity and curve button as the model
    // holds them, and the link buttons: the groups shown (bKeepLinks), or
    // undone.
    void Refresh(bool bKeepLinks);
    // The selection moved from nOld (−1: none) to nNew.
    void ShowSelection(int nOld, int nNew);
    void ShowLevel(int i);
    void ShowVolume();
    void ShowMute(int i);
    void ShowPolarity(int i);
    // Whether the write of output k closes the progress window: the second
    // output of a linked pair, or the last of link-all.
    bool ClosesProgress(int nChannel) const;
    bool IsLinkAll() const;
    // The polarity button of output i, pressed (also by the graph's
    // alignment advice).
    void OnPolarity(int i);

private:
    void CreateChannel(int i, int nX, int nY);
    void CreateVolume(int nX, int nY);
    void ConnectChannel(int i);
    void OnMute(int i);
    void OnLevelEdit(int i);
    void OnLevelFader(int i);
    void OnLine(int i);
    void OnVolumeEdit();
    void OnVolumeFader();
    void OnFaderMoved(int nId);
    void ShowLinkedLevels(int i);
    void ShowLinkedPolarity(int i);

    // ---- linking (ChannelStripLinks.cpp) ----------------------------------------------
    void OnPairLink(int nPair);
    void OnLinkAll();
    void ResetLinks();
    bool IsPairLinked(int nPair) const;
    void ShowPairLinked(int nPair);
    void JoinGroup(int nChannel, int nGroup);
    void LinkAllFrom(int nSource);
    void ShowLinks();
    // Output k's record written whole, and shown where it is shown.
    void AfterRecordCopied(int nChannel);

    CProcessor& m_processor;
    CKTV_Data& m_data;
    CProcessorState& m_state;
    CQM7100View& m_form;

    std::array<CXPButton*, kOutputs> m_pSelect{};       // 8900 + i
    std::array<CXPButton*, kOutputs> m_pTag{};          // 6703 + i
    std::array<CSkinFader*, kOutputs> m_pLevelFader{};  // 8650 + i
    std::array<CNumEdit*, kOutputs> m_pLevelEdit{};     // 8630 + i
    std::array<CNumSpin*, kOutputs> m_pLevelSpin{};     // 8640 + i (hidden: holds the value)
    std::array<CXPButton*, kOutputs> m_pMute{};         // 6052 + i
    std::array<CXPButton*, kOutputs> m_pPolarity{};     // 1944 + i
    std::array<CXPButton*, kOutputs> m_pLine{};         // 2103 + i
    std::array<CXPButton*, 3> m_pPair{};                // 2247 … 2249
    CXPButton* m_pLinkAll = nullptr;                    // 2250
    CSkinFader* m_pVolumeFader = nullptr;               // 2227
    CNumEdit* m_pVolumeEdit = nullptr;                  // 2225
    CNumSpin* m_pVolumeSpin = nullptr;                  // 2226 (hidden)
};
