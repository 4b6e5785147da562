#include "ReportHeading.h"

#include "DataDefine.h"
#include "ListCtrlPrint.h"
#include "ProcessorState.h"
#include "TextTable.h"

namespace {

QString Text(TextId id)
{
    return QString::fromUtf8(TextNow(id));
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
    QStringList lines{Text(kTxtReportHeading)};
    if (!subject.strScene.isEmpty())
        lines << Text(kTxtReportScene).arg(subject.strScene);
    if (!subject.strDevice.isEmpty())
        lines << Text(kTxtReportDevice).arg(subject.strDevice);
    lines << subject.when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    job.m_strHeader = lines.join(QStringLiteral("\r\n"));
    job.m_strFooter = Text(kTxtReportFooter).arg(subject.strProgram, QStringLiteral(ZR470_VERSION));
    job.m_strPageFormat = Text(kTxtReportPageFormat);
    job.m_strTitle = subject.strScene.isEmpty() ? Text(kTxtReportDocUnnamed) : Text(kTxtReportDocName).arg(subject.strScene);
}
