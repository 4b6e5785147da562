// The whole-device parameter set of one processor: effect, microphone,
// music and the six outputs, over the memory areas and flags they mirror
// (its CProcessorState). It registers its outputs in the link-group table.
#pragma once

#include <cstdint>
#include <optional>

#include "BlockAddress.h"
#include "Effect_Data.h"
#include "KTV_Routes.h"
#include "ProcessorState.h"

class CKTV_Data {
public:
    CKTV_Data();
    ~CKTV_Data();
    CKTV_Data(const CKTV_Data&) = delete;
    CKTV_Data& operator=(const CKTV_Data&) = delete;

    CProcessorState& State() { return m_state; }
    CEffect_Data& Effect() { return m_effect; }
    CMIC_InData& Mic() { return m_micRoute[0]; }
    CMusic_InData& Music() { return m_musicRoute[0]; }
    CKTV_OutData& Output(int i) { return m_outRoute[i]; }
    CKTV_OutRoute& Outputs() { return m_outRoute; }

    // Sets every record from a 2184-byte image (the live image, a scene
    // store entry or a file's copy). Volumes and crossover limits are
    // corrected inside the image first. The effect record is taken only for
    // preset 0 or 10.
    void LoadFromImage(uint8_t* pImage, int nPreset);
    void FillAll();
    void SetAllMarks(int nMark);
    void SetPlotRect(int nWidth, int nHeight);
    // True while anything is marked for sending (the change scanner would
    // find a change).
    bool HasChanges();

    // The change scanner (link thread, with the queue empty): the first
    // changed part in sending order, its bytes filled into the live image
    // and its mark cleared; nothing when every part has gone out.
    std::optional<BlockAddress> NextChange();

private:
    template <typename Fn>
    void ForEachRecord(Fn fn);

    CProcessorState m_state;  // first: every record refers to it
    CEffect_Data m_effect;
    CKTV_MicRoute m_micRoute;
    CKTV_MusicRoute m_musicRoute;
    CKTV_OutRoute m_outRoute;
};
