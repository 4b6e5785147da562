#include "RoomWorker.h"

#include <chrono>

#include "Notify.h"
#include "Processor.h"
#include "ProcessorState.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStepMs = 10;

// The flat list of parameter values, for telling what moved.
Json Flatten(const Json& settings)
{
    Json flat = Json::object();
    for (const auto& [strName, value] : settings.at("system").items())
        flat["0/" + strName] = value;
    for (const auto& [strChannel, params] : settings.at("outputs").items())
        for (const auto& [strName, value] : params.items())
            flat[strChannel + "/" + strName] = value;
    flat["0/scene"] = settings.at("scene");
    flat["0/programs"] = settings.at("programs");
    return flat;
}

}  // namespace

std::string SourceName(ChangeSource source, const std::string& strTaskSource)
{
    switch (source) {
    case ChangeSource::kRecall: return "recall";
    case ChangeSource::kFullRead: return "reconnect";
    case ChangeSource::kLink: return "editor";
    case ChangeSource::kEdit:
    case ChangeSource::kFileLoad: break;
    }
    return strTaskSource.empty() ? "editor" : strTaskSource;
}

CRoomWorker::CRoomWorker(VenueRoom room, EventSink sink, Timing timing, RecallHook afterRecall)
    : m_room(std::move(room)), m_sink(std::move(sink)), m_timing(timing), m_afterRecall(std::move(afterRecall))
{
    m_state = {{"type", "state"}, {"room", m_room.strName}, {"online", false}};
    m_thread = std::thread([this] { Run(); });
}

CRoomWorker::~CRoomWorker()
{
    m_bStop = true;
    m_cv.notify_all();
    m_thread.join();
}

void CRoomWorker::Post(RoomTask task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_cv.notify_all();
    m_queue.Post(0, 0, 0);  // wakes a thread waiting for notifications
}

void CRoomWorker::ReadAgainForEditor()
{
    RoomTask task;
    task.strSource = "editor";
    task.run = [this](CProcessor& processor, bool bOnline) {
        if (bOnline && processor.ReadAgain())
            m_bEditorRead = true;
    };
    Post(std::move(task));
}

Json CRoomWorker::State() const
{
    std::lock_guard lock(m_mutex);
    return m_state;
}

Json CRoomWorker::Levels() const
{
    std::lock_guard lock(m_mutex);
    return m_levels;
}

void CRoomWorker::Run()
{
    // The processor is made, used and destroyed on this thread.
    auto pProcessor = std::make_unique<CProcessor>();
    pProcessor->State().m_pNotifySink = &m_queue;
    pProcessor->Subscribe(this);
    while (!m_bStop) {
        if (Open(*pProcessor))
            ServeOnline(*pProcessor);
        pProcessor->Disconnect();
        SetOffline();
        WaitOffline(*pProcessor);
    }
    pProcessor->Unsubscribe(this);
    pProcessor->Disconnect();
    pProcessor->State().m_pNotifySink = nullptr;
}

bool CRoomWorker::Open(CProcessor& processor)
{
    if (!processor.Connect(m_room.strDevice))
        return false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_timing.nOpenMs);
    while (!m_bStop && processor.IsConnected() && Clock::now() < deadline) {
        if (processor.State().m_bOnline && !processor.Session().HasPendingWork())
            return true;
        Step(processor, kStepMs);
    }
    return false;
}

void CRoomWorker::ServeOnline(CProcessor& processor)
{
    // The state is kept before the room counts as online, so that whoever
    // sees it online also sees its settings.
    Publish(processor, "reconnect");
    m_bOnline = true;
    while (!m_bStop && processor.IsConnected())
        Step(processor, kStepMs);
}

void CRoomWorker::WaitOffline(CProcessor& processor)
{
    const Clock::time_point retry = Clock::now() + std::chrono::milliseconds(m_timing.nRetryMs);
    while (!m_bStop && Clock::now() < retry)
        Step(processor, kStepMs);
}

void CRoomWorker::Step(CProcessor& processor, int nMs)
{
    PostedNotification note{};
    if (m_queue.Take(&note, nMs) && note.nMsg != 0) {
        processor.HandleNotification(note.nMsg, note.wParam, note.lParam);
        if (note.nMsg == kMsgLiveReadDone && note.wParam != 0)
            m_bRecalled = true;
        if (note.nMsg == kMsgLiveReadDone && note.wParam == 0)
            m_bEditorRead = false;
        if (note.nMsg == kMsgLevels) {
            Json levels = LevelsJson(processor);
            std::lock_guard lock(m_mutex);
            m_levels = std::move(levels);
        }
    }
    if (m_bRecalled && m_afterRecall && m_bOnline) {
        m_bRecalled = false;
        m_strTaskSource = "api";
        m_afterRecall(processor);
    }
    RunTasks(processor);
    if (!m_strPending.empty() && m_bOnline && !processor.Session().m_bTransferRunning)
        Publish(processor, m_strPending);
}

void CRoomWorker::RunTasks(CProcessor& processor)
{
    for (;;) {
        RoomTask task;
        {
            std::lock_guard lock(m_mutex);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        m_strTaskSource = task.strSource;
        task.run(processor, m_bOnline && processor.IsConnected());
        if (!m_strPending.empty() && m_bOnline)
            Publish(processor, m_strPending);
        m_strTaskSource.clear();
        if (task.then)
            task.then();
    }
}

void CRoomWorker::OnChange(const ChangeEvent& event)
{
    if (event.kind == ChangeKind::kConnection)
        return;
    // A recall's read is told as the recall, whatever else is pending.
    if (m_strPending.empty() || event.source == ChangeSource::kRecall)
        m_strPending = (m_bEditorRead && event.source == ChangeSource::kFullRead)
                           ? "editor"
                           : SourceName(event.source, m_strTaskSource);
}

void CRoomWorker::Publish(CProcessor& processor, std::string strSource)
{
    m_strPending.clear();
    Json settings = RoomSettingsJson(processor);
    Json state = {{"type", "state"}, {"room", m_room.strName}, {"online", true}};
    state.update(settings);
    Json before;
    {
        std::lock_guard lock(m_mutex);
        std::swap(before, m_state);
        m_state = state;
    }
    if (!before.value("online", false)) {
        m_sink(state);
        return;
    }
    const Json old = Flatten(before);
    const Json now = Flatten(settings);
    for (const auto& [strKey, value] : now.items()) {
        if (old.contains(strKey) && old.at(strKey) == value)
            continue;
        const size_t nSlash = strKey.find('/');
        m_sink({{"type", "change"},
                {"room", m_room.strName},
                {"channel", std::stoi(strKey.substr(0, nSlash))},
                {"param", strKey.substr(nSlash + 1)},
                {"value", value},
                {"source", strSource}});
    }
}

void CRoomWorker::SetOffline()
{
    const bool bWas = m_bOnline.exchange(false);
    m_strPending.clear();
    m_bEditorRead = false;
    Json state;
    {
        std::lock_guard lock(m_mutex);
        m_state["online"] = false;
        state = m_state;
    }
    if (bWas)
        m_sink(state);
}
