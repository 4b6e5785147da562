// The program manager: names scene programs 1 … 10 on the processor, stores
// the live settings into one, recalls one into the live state, deletes a
// program's name, and moves programs between the processor and files on the
// PC. Every device operation and file command is the main form's; the
// dialog checks names, keeps the scene store's names and the list in step,
// and decides when each runs.
//
// Created on the stack of the view's PROGRAM command and run modally.
// User-interface thread only.
#pragma once

#include <QButtonGroup>
#include <cstdint>

#include "DataDefine.h"
#include "FormDialog.h"
#include "Strings.h"

enum class ProgramNameCheck;
class CButtonRadio;
class CChEnEdit;
class CFontStatic;
class CGridList;
class IFormHost;
class QPushButton;

class CProgramDlg : public CFormDialog {
    Q_OBJECT
public:
    // Control ids of the "Program" template.
    static constexpr int kIdDeviceGroup = 2300;
    static constexpr int kIdIdLabel = 2301;
    static constexpr int kIdNumber = 2302;
    static constexpr int kIdNameLabel = 2303;
    static constexpr int kIdName = 2304;
    static constexpr int kIdList = 2305;
    static constexpr int kIdStore = 2306;
    static constexpr int kIdRecall = 2307;
    static constexpr int kIdDelete = 2308;
    static constexpr int kIdPcGroup = 2309;
    static constexpr int kIdRecallAll = 2310;
    static constexpr int kIdRecallOne = 2311;
    static constexpr int kIdPcRecall = 2312;
    static constexpr int kIdStoreAll = 2313;
    static constexpr int kIdStoreOne = 2314;
    static constexpr int kIdPcStore = 2315;

    static constexpr int kPrograms = kScenePrograms;
    static constexpr int kWidth = 505;
    static constexpr int kHeight = 348;

    CProgramDlg(IFormHost& host, QWidget* pParent);

    int SelectedProgram() const { return m_nProgram; }
    // The list's names as the processor keeps them now; the name being
    // typed stays as it is.
    void ShowNames();

protected:
    // Tab stays with the control that has the focus.
    bool focusNextPrevChild(bool bNext) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // ---- layout (ProgramDlg.cpp) -------------------------------------------------
    void CreateDeviceGroup();
    void CreatePcGroup();
    void CreateList();
    void AddGroupBox(int nId, TextId caption, const QRect& rect);
    CFontStatic* AddLabel(int nId, const QString& strText, const QRect& rect);
    CButtonRadio* AddRadio(int nId, TextId caption, const QRect& rect, QButtonGroup& group, int nChoice);

    // ---- the list ----------------------------------------------------------------
    void FillList();
    void ShowProgram();
    void OnListSelect();
    void OnListKey(int nKey);
    void SelectRow(int nProgram);
    void SetRowName(int nProgram, const QString& strName);

    // ---- buttons (ProgramDlgActions.cpp) ------------------------------------------
    void OnStore();
    // The 16-byte name field of a typed name, or false after telling the user why not.
    // False, with the message shown, for a refused name.
    bool AcceptName(ProgramNameCheck check);
    void RefuseName(TextId message);
    void OnRecall();
    void OnDelete();
    void OnPcRecall();
    void OnPcStore();

    IFormHost& m_host;
    int m_nProgram = 1;
    QButtonGroup m_recallChoice;  // id 0: all programs, 1: one scene
    QButtonGroup m_storeChoice;
    CFontStatic* m_pNumber = nullptr;
    CChEnEdit* m_pName = nullptr;
    CGridList* m_pList = nullptr;
    QPushButton* m_pStore = nullptr;
    QPushButton* m_pRecall = nullptr;
    QPushButton* m_pDelete = nullptr;
};
