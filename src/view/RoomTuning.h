// Room tuning from the graph's context menu: a measurement of the room on
// the selected output's graph, and filter sets computed by a measurement
// program into (or out of) the output's bands.
//
// The import goes through the record setters like any edit: marked, sent
// by the change scanner, applied to the linked outputs. No lock is held
// while a dialog or a message box is open.
//
// User-interface thread only.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <map>

#include "CFStatic.h"
#include "UserPrompts.h"

class CKTV_Data;
class CProcessor;
class CQM7100View;
struct FilterMapping;

class CRoomTuning : public QObject {
public:
    CRoomTuning(CProcessor& processor, CQM7100View& form);
    // The graph's context menu entries, handled here.
    void ConnectGraph(CFStatic* pGraph);

    // Each returns true when it did its work; refusals are told to the user.
    // Up to kMaxPositions files chosen together; bAddPosition: they join
    // the output's microphone positions, else they replace them.
    bool LoadMeasurement(bool bAddPosition);
    bool LoadMeasurementFiles(const QStringList& paths, bool bAddPosition);
    void ClearMeasurement();
    // A of the graph's comparison from a scene file.
    bool LoadA();
    // A from stored program n (1 … 10). Its blocks are read from the
    // processor with the other programs', as the all-scenes backup reads
    // them, without waiting: OnAllScenesRead, at the read's end, draws A.
    bool LoadAFromProgram(int nProgram);
    void OnAllScenesRead(int nPrograms);
    // A closed link ends the read A waited for.
    void DropPendingA() { m_nAProgram = 0; }
    bool ImportFilters();
    bool ExportFilters();
    // The fit dialog on the output's measurement; true when a fit was applied.
    bool FitToMeasurement();

private:
    // Opens in the folder last used for files of strFilter, DataFile/ at first.
    FileDialogRequest RoomFileRequest(bool bSave, const QString& strFilter) const;
    QString AskRoomFile(bool bSave, const QString& strFilter);
    QStringList AskMeasurementFiles();
    CFStatic::ProgramList NamedPrograms();
    bool AskParametricMode();
    // The bands on the output (and its linked outputs), the page and graph
    // redrawn; one step of the edit history, named strStep.
    void ApplyRoomMapping(const FilterMapping& mapping, const QString& strStep);

    CProcessor& m_processor;
    CKTV_Data& m_data;
    CQM7100View& m_form;
    std::map<QString, QString> m_roomFolders;  // file filter → folder last used
    int m_nAProgram = 0;  // the program being read for A; 0: none
};
