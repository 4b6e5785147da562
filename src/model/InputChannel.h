// The microphone and the music channel share one block layout (112 bytes,
// 14 groups); this is that layout and the fields it carries.
#pragma once

#include "ChannelRecord.h"

struct InputChannelDefaults {
    const char* pName;
    int nChannel;
    uint32_t nColour;
    int nVolume;
};

class CInputChannel : public CChannelRecord {
public:
    // Groups of the block besides the bands (0 … 8).
    static constexpr int kGroupMisc = 9;
    static constexpr int kGroupCrossover = 10;
    static constexpr int kGroupNoiseGate = 11;
    static constexpr int kGroupLimit = 12;
    static constexpr int kGroupName = 13;

    int GetPolarity() const { return m_nPolarity; }
    int GetDelay() const { return m_nDelay; }
    int GetVolume() const { return m_nVolume; }
    int GetVolumeOff() const { return m_bVolumeOff; }
    int GetNoiseGate() const { return m_nNoiseGate; }
    int GetChannel() const { return m_nChannel; }

    void SetPolarity(int n) { SetMarked(m_nPolarity, n, m_nMarkMisc); }
    void SetDelay(int n) { SetMarked(m_nDelay, n, m_nMarkMisc); }
    // As with an output's level: 0 turns the volume off, any other value on.
    void SetVolume(int n);
    void SetVolumeOff(int b) { SetMarked(m_bVolumeOff, b, m_nMarkMisc); }
    void SetNoiseGate(int n) { SetMarked(m_nNoiseGate, n, m_nMarkNoiseGate); }
    int GetMiscMark() const { return GetMark(m_nMarkMisc); }
    int GetNoiseGateMark() const { return GetMark(m_nMarkNoiseGate); }
    void SetMiscMark(int n) { PutMark(m_nMarkMisc, n); }

    // The change scanner's step for the music channel: group 9, then group
    // 11, clearing the mark it finds; nothing when neither is marked.
    std::optional<BlockAddress> NextChange();

protected:
    CInputChannel(CProcessorState& state, const InputChannelDefaults& defaults, int nKind, int nOffset);

    int BlockKind() const override { return m_nKind; }
    int BlockChannel() const override { return m_nChannel; }
    int BlockOffset() const override { return m_nOffset; }
    int NameGroup() const override { return kGroupName; }
    bool FillOwnGroup(int nGroup, uint8_t* pBlock) const override;
    void LoadOwnFields(const uint8_t* pBlock) override;
    void SetOwnMarks(int nMark) override;
    bool AnyOwnMark() const override { return m_nMarkMisc || m_nMarkNoiseGate || m_nMarkLimit; }
    int* OwnMark(int nGroup) override
    {
        return nGroup == kGroupMisc        ? &m_nMarkMisc
               : nGroup == kGroupNoiseGate ? &m_nMarkNoiseGate
               : nGroup == kGroupLimit     ? &m_nMarkLimit
                                           : nullptr;
    }

    int m_nFeedback = 0;
    int m_nAuxSwitch = 1;

private:
    int m_nKind;
    int m_nOffset;
    int m_nChannel;
    int m_nPolarity = 0;
    int m_nChannelOn = 1;
    int m_nDelay = 0;
    int m_nVolume;
    int m_bVolumeOff = 0;
    int m_nNoiseGate = 40;
    int m_nLimit = 500;
    int m_nLimitA = 0;
    int m_nLimitB = 0;
    int m_nMarkMisc = 0;
    int m_nMarkNoiseGate = 0;
    int m_nMarkLimit = 0;
};
