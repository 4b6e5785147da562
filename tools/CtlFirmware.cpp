// zr470ctl firmware F.bin: the whole update, with a progress line for each
// change of the status and each tenth of the way.
#include <memory>

#include "CtlCommands.h"
#include "CtlJson.h"
#include "FirmwareFile.h"
#include "LinkTexts.h"
#include "NotifyQueue.h"
#include "Processor.h"

namespace {

constexpr int kUpdateLimitMs = 10 * 60 * 1000;

class ProgressPrinter {
public:
    ProgressPrinter(std::ostream& out, bool bJson) : m_out(out), m_bJson(bJson) {}
    void Update(const CLinkSession& session)
    {
        const int nRange = session.FirmwareRange();
        const int nPercent = nRange > 0 ? 100 * session.FirmwareProgress() / nRange : 0;
        const std::string strStatus = session.FirmwareStatus();
        if (strStatus == m_strStatus && nPercent / 10 == m_nPercent / 10)
            return;
        m_strStatus = strStatus;
        m_nPercent = nPercent;
        Line(nPercent, strStatus);
    }
    // {"percent":40,"status":"…"} with --json, else "40% …".
    void Line(int nPercent, const std::string& strStatus)
    {
        if (m_bJson)
            m_out << JsonLine({{"percent", nPercent}, {"status", strStatus}}) << std::flush;
        else
            m_out << nPercent << "% " << strStatus << '\n' << std::flush;
    }

    bool Showed(const std::string& strStatus) const { return m_strStatus == strStatus; }

private:
    std::ostream& m_out;
    bool m_bJson;
    std::string m_strStatus = "-";
    int m_nPercent = -10;
};

}  // namespace

int RunFirmware(CtlContext& ctx)
{
    const std::string& strPath = ctx.inv.args[0];
    if (std::string strError; !CheckDeviceToOpen(ctx.inv, &strError))
        return Refuse(ctx, strError), kExitUsage;
    FirmwareFileResult file = LoadFirmwareFile(strPath);
    if (!file.update)
        return Refuse(ctx, FirmwareFileErrorText(file.error) + " (" + strPath + ")");

    CNotifyQueue queue;
    int nExit = kExitFailed;
    {
        CProcessor processor;
        processor.State().m_pNotifySink = &queue;
        CLinkSession& session = processor.Session();
        std::vector<std::string> messages;
        session.m_onMessage = [&messages](const std::string& strText, MessageKind) { messages.push_back(strText); };
        ProgressPrinter progress(ctx.out, ctx.inv.bJson);
        if (processor.StartFirmwareUpdate(std::move(*file.update), ctx.inv.strDevice)) {
            PumpUntil(queue, session, [&session] { return !session.IsFirmwareMode(); }, kUpdateLimitMs,
                      [&](const PostedNotification&) { progress.Update(session); });
            processor.CancelFirmwareUpdate();  // only acts when the time ran out
        }
        for (const std::string& strMessage : messages) {
            if (strMessage == FirmwareDoneText())
                nExit = kExitOk;
        }
        if (nExit == kExitOk) {
            if (!progress.Showed(FirmwareDoneText()))
                progress.Line(100, FirmwareDoneText());
            if (ctx.inv.bJson)
                ctx.out << JsonLine({{"done", true}});
        } else {
            std::string strLine;
            for (const std::string& strMessage : messages)
                strLine += (strLine.empty() ? "" : " ") + strMessage;
            if (!session.LastError().empty())
                strLine += " (" + session.LastError() + ")";
            Refuse(ctx, strLine.empty() ? FirmwareFailedText() : strLine);
        }
    }
    return nExit;
}
