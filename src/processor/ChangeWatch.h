// What a processor's subscribers are told about, as it stood when they were
// last told, so that a change is found by comparing, whatever made it.
//
// Threads: the processor's owning thread; Capture takes the model lock.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ChangeEvent.h"
#include "DataDefine.h"
#include "Filter.h"
#include "GlobalData.h"

class CKTV_Data;

class CChangeWatch {
public:
    // Starts from the model as it is.
    explicit CChangeWatch(CKTV_Data& data);
    // The events that turn the last capture into the model as it is now,
    // all with the given source; the new state becomes the last capture.
    std::vector<ChangeEvent> Update(CKTV_Data& data, bool bConnected, ChangeSource source);

private:
    struct Output {
        int nLevel = 0, nMute = 0, nPolarity = 0;
        std::array<CFilter::Values, kGraphicBands> bands{};
        std::array<CFilter::Values, 2> crossover{};
    };
    struct Seen {
        std::array<Output, kOutputs> outputs{};
        std::vector<uint8_t> delays, system;
        std::array<std::string, kScenePrograms> programs;
        std::string strScene;
        bool bConnected = false;
    };
    static Seen Capture(CKTV_Data& data, bool bConnected);

    Seen m_seen;
};
