#include "Processor.h"

#include <algorithm>
#include <cstring>

#include "BlockAddress.h"
#include "DataDefine.h"
#include "DelayTable.h"
#include "FilterSetMapping.h"

CProcessor::CProcessor() : m_session(m_data), m_watch(m_data)
{
    m_session.m_onLiveRead = [this](int nPreset) {
        Publish(nPreset == 0 ? ChangeSource::kFullRead : ChangeSource::kRecall);
    };
    m_session.m_onLinkEnded = [this] { Publish(ChangeSource::kLink); };
}

CProcessor::~CProcessor()
{
    m_session.EndCommThread();
}

void CProcessor::Subscribe(IChangeSubscriber* pSubscriber)
{
    if (std::find(m_subscribers.begin(), m_subscribers.end(), pSubscriber) == m_subscribers.end())
        m_subscribers.push_back(pSubscriber);
}

void CProcessor::Unsubscribe(IChangeSubscriber* pSubscriber)
{
    std::erase(m_subscribers, pSubscriber);
}

void CProcessor::NoteEdit()
{
    Publish(ChangeSource::kEdit);
}

void CProcessor::HandleNotification(int nMsg, intptr_t wParam, intptr_t lParam)
{
    m_session.HandleNotification(nMsg, wParam, lParam);
    // During a read the blocks are the read's, told when it completes.
    if (State().m_bOnline && !m_session.m_bTransferRunning)
        Publish(ChangeSource::kLink);
}

void CProcessor::Publish(ChangeSource source)
{
    const std::vector<ChangeEvent> events = m_watch.Update(m_data, m_session.IsConnected(), source);
    for (const ChangeEvent& event : events)
        for (IChangeSubscriber* pSubscriber : m_subscribers)
            pSubscriber->OnChange(event);
}

std::string CProcessor::Identification()
{
    ModelLock lock(State().m_csModel);
    const auto* pId = reinterpret_cast<const char*>(State().m_IdString);
    return std::string(pId, strnlen(pId, kIdSize));
}

int CProcessor::Source()
{
    ModelLock lock(State().m_csModel);
    return State().m_ControlBlock[0];
}

bool CProcessor::SetSource(int nSource)
{
    {
        ModelLock lock(State().m_csModel);
        if (nSource < 0 || State().m_ControlBlock[0] == nSource)
            return false;
        State().m_ControlBlock[0] = static_cast<uint8_t>(nSource);
    }
    m_session.SendSystemItem(kItemControl, 0);
    Publish(ChangeSource::kEdit);
    return true;
}

std::string CProcessor::ProgramName(int nProgram)
{
    ModelLock lock(State().m_csModel);
    const uint8_t* pEntry = State().SceneEntry(nProgram);
    return pEntry ? BytesToName(pEntry, kNameSize) : std::string();
}

std::string CProcessor::SceneName()
{
    ModelLock lock(State().m_csModel);
    return BytesToName(State().m_LiveImage + kOffSceneName, kNameSize);
}

ProgramNameCheck CProcessor::StoreProgram(int nProgram, const std::string& strName, bool* pQueued)
{
    *pQueued = false;
    if (strName.empty())
        return ProgramNameCheck::kEmpty;
    if (IsBlank(strName))
        return ProgramNameCheck::kAllSpaces;
    uint8_t field[kNameSize] = {};
    if (!CopyFixed(field, kNameSize, strName))
        return ProgramNameCheck::kDoesNotFit;
    if (IsDuplicateName(State(), nProgram, field))
        return ProgramNameCheck::kTaken;
    {
        ModelLock lock(State().m_csModel);
        std::memcpy(State().SceneEntry(nProgram), field, kNameSize);
        std::memcpy(State().m_LiveImage + kOffSceneName, field, kNameSize);
    }
    m_session.MarkSceneNameForSending();
    {
        CommLock lock(State().m_csComm);
        *pQueued = m_session.WriteScene(nProgram, true);
    }
    Publish(ChangeSource::kEdit);
    return ProgramNameCheck::kOk;
}

bool CProcessor::RecallProgram(int nProgram)
{
    // A second recall while one is running (the flag cleared) must not start.
    if (!State().m_bOnline || !m_session.ReadScene(nProgram))
        return false;
    // The recalled blocks carry no name: the program's becomes the live one.
    ModelLock lock(State().m_csModel);
    std::memcpy(State().m_LiveImage + kOffSceneName, State().SceneEntry(nProgram), kNameSize);
    return true;
}

void CProcessor::DeleteProgram(int nProgram)
{
    {
        ModelLock lock(State().m_csModel);
        std::memset(State().SceneEntry(nProgram), 0, kNameSize);
    }
    m_session.SendSystemItem(kItemSceneName, nProgram);
    Publish(ChangeSource::kEdit);
}

void CProcessor::TakeRecalledEffect(int nProgram)
{
    ModelLock lock(State().m_csModel);
    if (const uint8_t* pProgram = State().EffectProgEntry(nProgram))
        m_data.Effect().LoadFromImage(pProgram + kNameSize);
}

template <typename Load>
PresetFileResult CProcessor::LoadFile(bool* pQueued, Load load)
{
    bool bQueued = false;
    PresetFileResult loaded;
    {
        CommLock lock(State().m_csComm);
        loaded = load(&bQueued);
    }
    if (pQueued)
        *pQueued = loaded.bOk && bQueued;
    if (loaded.bOk)
        Publish(ChangeSource::kFileLoad);
    return loaded;
}

PresetFileResult CProcessor::SendSceneFile(std::span<const uint8_t> bytes, const std::string& strTitle,
                                           bool* pQueued)
{
    return LoadFile(pQueued, [&](bool* pSent) {
        PresetFileResult loaded = LoadSceneBytes(m_data, bytes);
        if (loaded.bOk) {
            m_session.SetSceneName(strTitle);
            // The live write inside the mute bracket; nothing without a link.
            *pSent = m_session.WriteScene(0, false);
        }
        return loaded;
    });
}

PresetFileResult CProcessor::SendAllScenesFile(std::span<const uint8_t> bytes, bool* pQueued)
{
    return LoadFile(pQueued, [&](bool* pSent) {
        PresetFileResult loaded = LoadAllScenesBytes(m_data, bytes);
        if (!loaded.bOk)
            return loaded;
        *pSent = m_session.WriteAllScenes();
        // The blocks went whole: nothing is left to send edit by edit.
        m_data.SetAllMarks(0);
        SetCurrentPosition(State(), GetCurrentPosition(State()));  // a file may hold a position past 3
        m_session.MarkSceneNameForSending();
        return loaded;
    });
}

PresetFileResult CProcessor::SendPositionFile(std::span<const uint8_t> bytes)
{
    return LoadFile(nullptr, [&](bool*) {
        PresetFileResult loaded = LoadPositionBytes(m_data, bytes);
        if (loaded.bOk)
            m_session.SendSystemItem(kItemDelayTable, 0);
        return loaded;
    });
}

PresetFileResult CProcessor::SaveSceneFile(const std::filesystem::path& path)
{
    const PresetFileResult saved = ::SaveSceneFile(m_data, path);
    if (saved.bOk) {
        m_session.SetSceneName(SceneTitle(saved.path));
        Publish(ChangeSource::kEdit);
    }
    return saved;
}

bool CProcessor::ReadAllScenes()
{
    return m_session.ReadAllScenes();
}

bool CProcessor::LoadProgramInto(int nProgram, CKTV_Data& scene)
{
    if (nProgram < 1 || nProgram > kScenePrograms)
        return false;
    std::vector<uint8_t> image(kImageSize);
    {
        // A program keeps no delays: the live ones apply to it.
        ModelLock lock(State().m_csModel);
        std::memcpy(image.data(), State().SceneEntry(nProgram), kImageSize);
        std::memcpy(scene.State().m_DelayTable, State().m_DelayTable, kDelayTableSize);
    }
    return LoadSceneBytes(scene, SceneFileBytes(image)).bOk;
}

PresetFileResult CProcessor::SaveAllScenesFile(const std::filesystem::path& path)
{
    return ::SaveAllScenesFile(m_data, path);
}

PresetFileResult CProcessor::SavePositionFile(const std::filesystem::path& path)
{
    return ::SavePositionFile(m_data, path);
}

void CProcessor::ApplyFilterMapping(int nOutput, const FilterMapping& mapping, const std::vector<int>& links)
{
    if (nOutput < 0 || nOutput >= kOutputs)
        return;
    {
        ModelLock lock(State().m_csModel);
        for (const int nLinked : links)
            State().SetLinkGroup(nLinked, State().m_nLinkGroup[nOutput]);
        ::ApplyFilterMapping(m_data.Output(nOutput), mapping);
    }
    Publish(ChangeSource::kEdit);
}

void CProcessor::Disconnect()
{
    if (m_session.IsConnected())
        m_session.Disconnect();
}

void CProcessor::CancelFirmwareUpdate()
{
    m_session.CancelFirmwareUpdate();
}
