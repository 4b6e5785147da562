// What every channel record has: an equalizer set, the displayed curve and
// the bypass operations over the whole set.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "BlockAddress.h"
#include "Geometry.h"
#include "KTVEQ.h"
#include "ProcessorState.h"

// Names travel in an 8-byte field. A name of exactly eight characters fills
// it without a terminator (the processor sends such names), so it is kept.
constexpr int kChannelNameSize = 8;
std::string ChannelNameFromBlock(const uint8_t* pField);
void ChannelNameToBlock(uint8_t* pField, const std::string& strName);
bool IsValidChannelName(const std::string& strName);

class CChannelRecord {
public:
    CChannelRecord(CProcessorState& state, EqSetType type, int nRangeCode, uint32_t nColour);
    virtual ~CChannelRecord() = default;
    CChannelRecord(const CChannelRecord&) = delete;
    CChannelRecord& operator=(const CChannelRecord&) = delete;

    CProcessorState& State() const { return m_state; }
    CKTVEQ& EQ() { return m_eq; }
    const CKTVEQ& EQ() const { return m_eq; }

    void SetPlotRect(int nWidth, int nHeight);
    void RecomputeCurve();
    const std::array<BandPoint, kAxisPoints>& Curve() const { return m_ptCurve; }
    const std::array<BandPointF, kAxisPoints>& CurveF() const { return m_ptCurveF; }
    int PlotWidth() const { return m_nPlotW; }
    int PlotHeight() const { return m_nPlotH; }

    // Bypass of every filter of the set (the crossover filters included);
    // neither operation marks anything for sending.
    void SetWholeSetBypass(bool bOn);
    bool TestAllBypassed();

    uint32_t CurveColour() const { return m_nColour; }  // 0xRRGGBB
    int IsCurveVisible() const { return m_bCurveVisible; }
    void SetCurveVisible(int bVisible) { m_bCurveVisible = bVisible; }

    const std::string& GetName() const { return m_strName; }
    // False (and nothing changed) for a name longer than the 8-byte field.
    bool SetName(const std::string& strName);

    // Copies parameter group g into the live image; false for a group this
    // record does not carry.
    bool FillGroup(int nGroup);
    BlockAddress GroupAddress(int nGroup) const { return BlockAddress::Group(BlockKind(), BlockChannel(), nGroup); }
    // Copies every group the record carries into the live image, with the
    // target frequencies: the image is kept or written whole.
    void FillAll();
    // After a whole-block write of the live image: the processor has the
    // target frequencies, nothing is left to step.
    void SettleFrequencies();
    // Sets every field from a block laid out as in the live image.
    void LoadFromImage(const uint8_t* pBlock);
    void SetAllMarks(int nMark);
    // Any group of this record marked for sending.
    bool AnyMark() const;

    // The edit history: the block as FillAll writes it, into pBlock
    // (GroupCount() groups) instead of the live image.
    int GroupCount() const { return NameGroup() + 1; }
    void FillBlock(uint8_t* pBlock) const;
    // The record's own groups (neither filters nor name) from such a block,
    // marking the groups whose bytes differ from what the record holds.
    void RestoreOwnGroups(const uint8_t* pBlock);

protected:
    // Every block has the bands first, then a crossover group, other groups,
    // and the name in its last group.
    virtual int BlockKind() const = 0;
    virtual int BlockChannel() const = 0;
    virtual int BlockOffset() const = 0;
    virtual int NameGroup() const = 0;
    // The record's own groups (not bands, crossover or name); false for a
    // group the record lacks.
    virtual bool FillOwnGroup(int nGroup, uint8_t* pBlock) const = 0;
    virtual void LoadOwnFields(const uint8_t* pBlock) = 0;
    virtual void SetOwnMarks(int nMark) = 0;
    virtual bool AnyOwnMark() const = 0;
    // The change mark of one of the record's own groups, or nullptr.
    virtual int* OwnMark(int nGroup) = 0;

    bool FillGroupBytes(int nGroup, uint8_t* pBlock, CKTVEQ::Freq freq) const;
    uint8_t* LiveBlock() const;
    // Stores a transmittable field, then its group's change mark.
    template <typename T, typename V>
    void SetMarked(T& field, V value, int& nMark)
    {
        ModelLock lock(m_state.m_csModel);
        field = static_cast<T>(value);
        nMark = m_state.m_bOnline.load();
    }
    int GetMark(const int& nMark) const;
    void PutMark(int& nMark, int nValue);
    // Clears a set mark and tells whether it was set (scanner, under the lock).
    static bool TakeMark(int& nMark);
    // The scanner's find: group g filled into the live image, as it goes out.
    std::optional<BlockAddress> ChangedGroup(int nGroup);

    CProcessorState& m_state;
    CKTVEQ m_eq;
    std::string m_strName;
    int m_nMarkName = 0;

private:
    int m_nPlotW = 0;
    int m_nPlotH = 0;
    std::array<BandPoint, kAxisPoints> m_ptCurve{};
    std::array<BandPointF, kAxisPoints> m_ptCurveF{};
    uint32_t m_nColour;
    int m_bCurveVisible = 1;
};
