// The channel lists of the whole-device set. Each owns its records.
#pragma once

#include <array>
#include <memory>

#include "KTV_OutData.h"
#include "MIC_InData.h"
#include "Music_InData.h"

class CKTV_MicRoute {
public:
    explicit CKTV_MicRoute(CProcessorState& state) : m_mic(state) {}
    CMIC_InData& operator[](int) { return m_mic; }
    int GetSize() const { return 1; }

private:
    CMIC_InData m_mic;
};

class CKTV_MusicRoute {
public:
    explicit CKTV_MusicRoute(CProcessorState& state) : m_music(state) {}
    CMusic_InData& operator[](int) { return m_music; }
    int GetSize() const { return 1; }

private:
    CMusic_InData m_music;
};

class CKTV_OutRoute {
public:
    explicit CKTV_OutRoute(CProcessorState& state);
    CKTV_OutData& operator[](int i) { return *m_outputs[static_cast<size_t>(i)]; }
    const CKTV_OutData& operator[](int i) const { return *m_outputs[static_cast<size_t>(i)]; }
    int GetSize() const { return kOutputs; }

private:
    std::array<std::unique_ptr<CKTV_OutData>, kOutputs> m_outputs;
};
