#include "ReportHeading.h"

#include "DataDefine.h"
#include "ProcessorState.h"
#include "ListCtrlPrint.h"

namespace {

struct Pair {
    const char* szEnglish;
    const char* szChinese;
};

constexpr Pair kHeading{"ZR-470 parameter report", "ZR-470 参数报告"};
constexpr Pair kScene{"Scene: %1", "场景：%1"};
constexpr Pair kDevice{"Processor: %1", "处理器：%1"};
constexpr Pair kDocName{"ZR-470 report – %1", "ZR-470 报告 – %1"};
constexpr Pair kDocNameUnnamed{"ZR-470 report", "ZR-470 报告"};
constexpr Pair kPageFormat{"Page %d of %d", "第 %d 页，共 %d 页"};  // page, pages
constexpr Pair kFooter{"Printed by %1 %2", "由 %1 %2 打印"};        // program, version

QString Text(const Pair& pair)
{
    return QString::fromUtf8(g_bChinese ? pair.szChinese : pair.szEnglish);
}

}  // namespace

ReportSubject LiveReportSubject(CProcessorState& state, bool bConnected, const QString& strProgram)
{
    ReportSubject subject;
    subject.strProgram = strProgram;
    ModelLock lock(state.m_csModel);
    subject.strScene = QString::fromStdString(BytesToName(state.m_LiveImage + kOffSceneName, kNameSize));
    if (bConnected) {
        const QByteArray id(reinterpret_cast<const char*>(state.m_IdString), kIdSize);
        subject.strDevice = QString::fromLatin1(id).remove(QChar('\0')).trimmed();
    }
    return subject;
}

void NameReport(CListCtrlPrint& job, const ReportSubject& subject)
{
    QStringList lines{Text(kHeading)};
    if (!subject.strScene.isEmpty())
        lines << Text(kScene).arg(subject.strScene);
    if (!subject.strDevice.isEmpty())
        lines << Text(kDevice).arg(subject.strDevice);
    lines << subject.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    job.m_strHeader = lines.join(QStringLiteral("\r\n"));
    job.m_strFooter = Text(kFooter).arg(subject.strProgram, QStringLiteral(ZR470_VERSION));
    job.m_strPageFormat = Text(kPageFormat);
    job.m_strTitle = subject.strScene.isEmpty() ? Text(kDocNameUnnamed) : Text(kDocName).arg(subject.strScene);
}
