// What a printed report names, so that an archived printout says what it
// shows: the scene (or the preset file), the processor when one was
// connected, the date and time, and the program that printed it.
//
// User-interface thread (or the command's thread); the live texts are read
// under the model lock.
#pragma once

#include <QDateTime>
#include <QString>

class CListCtrlPrint;
class CProcessorState;

struct ReportSubject {
    QString strScene;    // the live scene's name, or the preset file's name
    QString strDevice;   // the processor's identification; empty when none is connected
    QString strProgram;  // "zr470ctl" or the editor's name
    QDateTime when = QDateTime::currentDateTime();
};

// The live scene name, and the identification the processor sent at the
// connect when bConnected.
ReportSubject LiveReportSubject(CProcessorState& state, bool bConnected, const QString& strProgram);

// Header, page numbers, footer and document name of the print, in the
// current language.
void NameReport(CListCtrlPrint& job, const ReportSubject& subject);
