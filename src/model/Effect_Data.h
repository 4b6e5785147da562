// The echo/reverb effect block (block kind 2): three bands, a crossover, the
// echo and reverb groups and the name.
#pragma once

#include "ChannelRecord.h"

class CEffect_Data : public CChannelRecord {
public:
    static constexpr int kGroupCrossover = 15;
    static constexpr int kGroupEcho = 16;
    static constexpr int kGroupReverb = 17;
    static constexpr int kGroupName = 18;

    // Fields of the echo and reverb groups, in block order.
    enum Field {
        kEchoSpace, kEchoDelay, kEchoLevel, kEchoRepeat, kEchoLowCut,
        kReverbTime, kReverbLevel, kReverbLowCut, kEffectVolume, kEffectByteA, kReverbPreDelay,
        kFieldCount
    };

    explicit CEffect_Data(CProcessorState& state);

    int Get(Field field) const { return m_nField[field]; }
    void Set(Field field, int nValue);

protected:
    int BlockKind() const override;
    int BlockChannel() const override { return 0; }
    int BlockOffset() const override;
    int NameGroup() const override { return kGroupName; }
    bool FillOwnGroup(int nGroup, uint8_t* pBlock) const override;
    void LoadOwnFields(const uint8_t* pBlock) override;
    void SetOwnMarks(int nMark) override;
    bool AnyOwnMark() const override { return m_nMarkEcho || m_nMarkReverb; }
    int* OwnMark(int nGroup) override
    {
        return nGroup == kGroupEcho ? &m_nMarkEcho : (nGroup == kGroupReverb ? &m_nMarkReverb : nullptr);
    }

private:
    int m_nField[kFieldCount];
    int m_nMarkEcho = 0;
    int m_nMarkReverb = 0;
};
