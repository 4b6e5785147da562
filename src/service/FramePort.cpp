#include "FramePort.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>

#include "Frame.h"
#include "Processor.h"
#include "RoomWorker.h"
#include "TcpListen.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStopCheckMs = 50;  // how soon a stop is seen
constexpr int kAnswerCommand = 1;
constexpr int kRecordsPerTurn = 64;  // in an answer, numbered from its start byte
// A recall's or a store's frames come in a quick run: the room is read
// again once none has been answered for this long.
constexpr auto kQuietBeforeReading = std::chrono::milliseconds(300);

// A read of a program's block without the library mode: the processor
// recalls the program into its live settings.
bool IsRecallRead(const std::vector<uint8_t>& frame)
{
    return frame[kFoCommand] == kCmdRead && frame[kFoKind] != kKindSystem && frame[kFoPreset] != 0 &&
           frame[kFoGroup] != kModeLibrary;
}

}  // namespace

// What the link's answers hand to the port. nClient counts the clients
// served: answers for one that has left are dropped.
struct CFramePort::Mailbox {
    Mailbox() : nWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Mailbox() { close(nWakeFd); }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    void Wake() const
    {
        const uint64_t nOne = 1;
        [[maybe_unused]] const ssize_t n = write(nWakeFd, &nOne, sizeof nOne);
    }
    void Answer(uint64_t nFor, const uint8_t* pAnswer, int nLength)
    {
        {
            std::lock_guard lock(mutex);
            if (nFor != nClient)
                return;
            for (const Report64& report : CutIntoReports(std::vector<uint8_t>(pAnswer, pAnswer + nLength)))
                reports.push_back(report);
        }
        Wake();
    }
    void Done(uint64_t nFor)
    {
        {
            std::lock_guard lock(mutex);
            if (nFor == nClient)
                bInFlight = false;
        }
        Wake();
    }
    void AskReadAgain()
    {
        std::lock_guard lock(mutex);
        bReadAgain = true;
        lastUnclear = Clock::now();
    }
    // A new client, or none: nothing of the last one is kept.
    void NextClient()
    {
        std::lock_guard lock(mutex);
        ++nClient;
        bInFlight = false;
        reports.clear();
    }

    const int nWakeFd;
    std::mutex mutex;  // guards what follows
    std::deque<Report64> reports;
    uint64_t nClient = 0;
    bool bInFlight = false;
    bool bReadAgain = false;
    Clock::time_point lastUnclear;
};

namespace {

// Travels with a frame on the room's link; when the frame is answered, or
// dropped with the link, the port may send the next one.
struct FrameTicket {
    std::shared_ptr<CFramePort::Mailbox> pBox;
    uint64_t nClient = 0;
    ~FrameTicket() { pBox->Done(nClient); }
};

// What an answer means for the room's state: an acknowledged write is
// applied, a recall is read back.
void FollowAnswer(CRoomWorker& room, const std::shared_ptr<CFramePort::Mailbox>& pBox,
                  const std::shared_ptr<const std::vector<uint8_t>>& pFrame, uint8_t nAnswer)
{
    if ((*pFrame)[kFoCommand] == kCmdWrite && nAnswer == kReplyAck) {
        RoomTask task;
        task.strSource = "editor";
        task.run = [pBox, pFrame](CProcessor& processor, bool bOnline) {
            if (bOnline && !processor.TakeOthersWrite(pFrame->data(), static_cast<int>(pFrame->size())))
                pBox->AskReadAgain();
        };
        room.Post(std::move(task));
    } else if (nAnswer == kReplyData && IsRecallRead(*pFrame)) {
        pBox->AskReadAgain();
    }
}

}  // namespace

CFramePort::CFramePort(CRoomWorker& room) : m_room(room), m_pBox(std::make_shared<Mailbox>()) {}

CFramePort::~CFramePort()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_nClientFd >= 0)
        close(m_nClientFd);
    if (m_nListenFd >= 0)
        close(m_nListenFd);
}

bool CFramePort::Listen(const std::string& strHost, int nPort, std::string* pError)
{
    m_nListenFd = ListenTcp(strHost, nPort, &m_nPort, pError);
    return m_nListenFd >= 0;
}

void CFramePort::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void CFramePort::Run()
{
    while (!m_bStop) {
        pollfd fds[3] = {{m_nListenFd, POLLIN, 0}, {m_pBox->nWakeFd, POLLIN, 0}, {m_nClientFd, POLLIN, 0}};
        if (poll(fds, 3, kStopCheckMs) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN) {
            uint64_t nCount = 0;
            [[maybe_unused]] const ssize_t n = read(m_pBox->nWakeFd, &nCount, sizeof nCount);
        }
        // A client that has left is noticed before the next one is let in.
        if (m_nClientFd >= 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadClient())
            DropClient();
        if (fds[0].revents & POLLIN)
            Accept();
        if (m_nClientFd >= 0 && !SendAnswers())
            DropClient();
        if (m_nClientFd >= 0)
            ForwardNext();
        ReadAgainWhenDue();
    }
}

void CFramePort::Accept()
{
    const int nFd = accept4(m_nListenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (nFd < 0)
        return;
    if (m_nClientFd >= 0) {
        close(nFd);  // the processor is taken: this link fails at once
        return;
    }
    TuneRecordClient(nFd);
    m_nClientFd = nFd;
    m_nHave = 0;
    m_intake.Reset();
    m_pBox->NextClient();
}

bool CFramePort::ReadClient()
{
    // What has arrived, but a bounded share, so that a client that never
    // pauses still gets its answers.
    for (int nRecords = 0; nRecords < kRecordsPerTurn;) {
        const ssize_t n =
            recv(m_nClientFd, m_record + m_nHave, static_cast<size_t>(kRecordSize - m_nHave), MSG_DONTWAIT);
        if (n < 0)
            return errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK;
        if (n == 0)
            return false;
        m_nHave += static_cast<int>(n);
        if (m_nHave == kRecordSize) {
            m_nHave = 0;
            ++nRecords;
            if (!m_intake.Take(m_record))
                return false;
        }
    }
    return true;
}

bool CFramePort::SendAnswers()
{
    std::vector<Report64> answers = m_intake.TakeAnswers();
    {
        std::lock_guard lock(m_pBox->mutex);
        answers.insert(answers.end(), m_pBox->reports.begin(), m_pBox->reports.end());
        m_pBox->reports.clear();
    }
    for (const Report64& report : answers)
        if (!SendAll(m_nClientFd, report.data(), report.size()))
            return false;
    return true;
}

void CFramePort::ForwardNext()
{
    {
        std::lock_guard lock(m_pBox->mutex);
        if (m_pBox->bInFlight)
            return;
    }
    std::vector<uint8_t> frame;
    if (m_intake.NextFrame(&frame))
        Forward(std::move(frame));
}

void CFramePort::Forward(std::vector<uint8_t> frame)
{
    auto pTicket = std::make_shared<FrameTicket>();
    pTicket->pBox = m_pBox;
    {
        std::lock_guard lock(m_pBox->mutex);
        m_pBox->bInFlight = true;
        pTicket->nClient = m_pBox->nClient;
    }
    auto pFrame = std::make_shared<const std::vector<uint8_t>>(std::move(frame));
    RoomTask task;
    task.strSource = "editor";
    task.run = [pTicket, pFrame, pRoom = &m_room](CProcessor& processor, bool bOnline) {
        // Offline: the frame is dropped with its ticket, and never answered.
        if (!bOnline)
            return;
        processor.Session().RelayFrame(pFrame->data(), static_cast<int>(pFrame->size()),
                                       [pTicket, pFrame, pRoom](const uint8_t* pAnswer, int nLength) {
                                           pTicket->pBox->Answer(pTicket->nClient, pAnswer, nLength);
                                           FollowAnswer(*pRoom, pTicket->pBox, pFrame, pAnswer[kAnswerCommand]);
                                       });
    };
    m_room.Post(std::move(task));
}

void CFramePort::DropClient()
{
    close(m_nClientFd);
    m_nClientFd = -1;
    m_nHave = 0;
    m_intake.Reset();
    m_pBox->NextClient();
}

void CFramePort::ReadAgainWhenDue()
{
    {
        std::lock_guard lock(m_pBox->mutex);
        if (!m_pBox->bReadAgain || (m_nClientFd >= 0 && Clock::now() - m_pBox->lastUnclear < kQuietBeforeReading))
            return;
        m_pBox->bReadAgain = false;
    }
    m_room.ReadAgainForEditor();
}
