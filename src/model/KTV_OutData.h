// One output channel (block kind 4, channels 0 … 5): 31 bands, crossover,
// level, mute, polarity, delay, routing, limiter and name.
//
// Level, polarity, equalizer mode, limiter and routing setters also apply to
// every other output of the same link group.
#pragma once

#include "ChannelRecord.h"

class CKTV_OutData : public CChannelRecord {
public:
    static constexpr int kGroupMisc = 31;
    static constexpr int kGroupCrossover = 32;
    static constexpr int kGroupRouting = 33;
    static constexpr int kGroupLimiter = 35;
    static constexpr int kGroupName = 36;
    static constexpr int kPercentages = 3;
    // Where the own fields lie in the block.
    static constexpr int kOffMute = 248;
    static constexpr int kOffPolarity = 249;
    static constexpr int kOffLevel = 250;
    static constexpr int kOffDelay = 252;
    static constexpr int kOffEqMode = 254;
    static constexpr int kOffByteA = 255;
    static constexpr int kOffInL = 264;
    static constexpr int kOffInR = 265;
    static constexpr int kOffThreshold = 280;
    static constexpr int kOffAttack = 282;
    static constexpr int kOffRelease = 283;

    CKTV_OutData(CProcessorState& state, int nChannel, const char* pName, uint32_t nColour, int nRangeCode);

    int GetChannel() const { return m_nChannel; }
    int GetPolarity() const { return m_nPolarity; }
    int GetMute() const { return m_nMute; }
    int GetLevel() const { return m_bLevelZero ? 0 : m_nLevel; }
    int GetLevelZero() const { return m_bLevelZero; }
    int GetDelay() const { return m_nDelay; }
    int GetEqMode() const { return m_nEqMode; }
    int GetThreshold() const { return m_nThreshold; }
    int GetAttack() const { return m_nAttack; }
    int GetRelease() const { return m_nRelease; }
    int GetInL() const { return m_nInL; }
    int GetInR() const { return m_nInR; }
    int GetLeftOff() const { return m_bLeftOff; }
    int GetRightOff() const { return m_bRightOff; }

    // Shared with the link group.
    void SetLevel(int nLevel);
    void SetPolarity(int nPolarity);
    void SetEqMode(int nMode);
    void SetThreshold(int n);
    void SetAttack(int n);
    void SetRelease(int n);
    void SetLeftOff(int bOff);
    void SetRightOff(int bOff);
    // This output only.
    void SetMute(int nMute);
    void SetDelay(int nDelay);
    // Also routes the channel's own side: even channels take the left
    // source, odd channels the right one.
    void SetChannel(int nChannel);

    int GetMiscMark() const { return GetMark(m_nMarkMisc); }
    void SetMiscMark(int nMark) { PutMark(m_nMarkMisc, nMark); }

    // Channel linking: takes the other output's sound (bands, crossover,
    // level, polarity, delay, mode, limiter) but keeps name, mute, routing
    // and marks.
    void CopyFrom(const CKTV_OutData& other);
    // The equalizer reset: every band on its standard centre, 0.2 octaves,
    // 0.0 dB, bypassed. Sets no change marks; the record travels whole.
    void ResetEqBands();

    // The change scanner's step for this output: the first marked group
    // (its mark cleared), or nothing when nothing is marked.
    std::optional<BlockAddress> NextChange();

protected:
    int BlockKind() const override;
    int BlockChannel() const override { return m_nChannel; }
    int BlockOffset() const override;
    int NameGroup() const override { return kGroupName; }
    bool FillOwnGroup(int nGroup, uint8_t* pBlock) const override;
    void LoadOwnFields(const uint8_t* pBlock) override;
    void SetOwnMarks(int nMark) override;
    bool AnyOwnMark() const override { return m_nMarkMisc || m_nMarkRouting || m_nMarkLimiter; }
    int* OwnMark(int nGroup) override
    {
        return nGroup == kGroupMisc      ? &m_nMarkMisc
               : nGroup == kGroupRouting ? &m_nMarkRouting
               : nGroup == kGroupLimiter ? &m_nMarkLimiter
                                         : nullptr;
    }

private:
    template <typename Fn>
    void ForLinked(Fn fn);
    void ShareMisc();
    void ShareLimiter();
    void ShareRouting();
    void StoreEqMode(int nMode);
    void StoreLevel(int nLevel, int bLevelZero);
    std::optional<BlockAddress> ChangedOutputGroup(int nGroup);

    int m_nChannel;
    int m_nPolarity = 0;
    int m_nMute = 0;
    int m_nLevel = 60;
    int m_bLevelZero = 0;
    int m_nDelay = 960;
    int m_nSecondaryGain = 0;
    int m_nEqMode = 1;
    int m_nByteA = 0;
    int m_nThreshold = 300;
    int m_nAttack = 106;
    int m_nRelease = 5;
    int m_nInL = 50;
    int m_nInR = 50;
    int m_bLeftOff = 1;
    int m_bRightOff = 1;
    int m_nPercent[kPercentages] = {50, 40, 80};
    int m_bPercentOff[kPercentages] = {0, 0, 0};
    int m_nMarkMisc = 0;
    int m_nMarkRouting = 0;
    int m_nMarkLimiter = 0;
};
