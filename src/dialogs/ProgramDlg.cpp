// The program manager's window: the "Program" template laid out in dialog
// units, the program list, and the keyboard rules of the settings dialogs.
#include "ProgramDlg.h"

#include <QFontMetrics>
#include <algorithm>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>

#include "AppGlobals.h"
#include "ButtonRadio.h"
#include "ChEnEdit.h"
#include "ControlName.h"
#include "DataDefine.h"
#include "DialogUnits.h"
#include "FontStatic.h"
#include "FormHost.h"
#include "GridList.h"
#include "Processor.h"
#include "SxGroupBox.h"

namespace {

constexpr int kIdColumnWidth = 30;
constexpr int kNameColumnWidth = 176;
constexpr int kRowHeight = 18;  // the header's too: with ten rows, the list's height

constexpr int kLabelFontPx = 14;
constexpr int kListFontPx = 13;

}  // namespace

CProgramDlg::CProgramDlg(IFormHost& host, QWidget* pParent)
    : CFormDialog(pParent, QStringLiteral("Program"), kWidth, kHeight), m_host(host)
{
    CreateDeviceGroup();
    CreatePcGroup();
    // The device buttons are decided once: a read still running when the
    // dialog opened leaves them off until it is opened again.
    for (QWidget* pDevice : std::initializer_list<QWidget*>{m_pName, m_pStore, m_pRecall, m_pDelete})
        pDevice->setEnabled(m_host.State().m_bOnline != 0);
    FillList();
    setWindowTitle(Tr(kTxtProgram));
}

// ---- layout ---------------------------------------------------------------------------

void CProgramDlg::AddGroupBox(int nId, TextId caption, const QRect& rect)
{
    auto* pBox = new CSxGroupBox(nId, Tr(caption), this);
    pBox->setGeometry(rect);
    pBox->lower();  // beneath the controls laid over it
}

// A caption longer than its template rectangle (the Chinese ones) widens
// it rather than losing its last characters.
CFontStatic* CProgramDlg::AddLabel(int nId, const QString& strText, const QRect& rect)
{
    auto* pLabel = new CFontStatic(nId, strText, this);
    pLabel->SetFontStyle(kLabelFontPx, Qt::black, CFontStatic::kAlignLeft);
    const int nTextWidth = QFontMetrics(ArialFont(kLabelFontPx)).horizontalAdvance(strText) + 1;
    pLabel->setGeometry(rect.adjusted(0, 0, std::max(0, nTextWidth - rect.width()), 0));
    return pLabel;
}

CButtonRadio* CProgramDlg::AddRadio(int nId, TextId caption, const QRect& rect, QButtonGroup& group, int nChoice)
{
    auto* pRadio = new CButtonRadio(nId, Tr(caption), this);
    pRadio->setGeometry(rect);
    group.addButton(pRadio, nChoice);
    pRadio->setChecked(nChoice == 0);  // "all" is the first choice
    return pRadio;
}

void CProgramDlg::CreateDeviceGroup()
{
    AddGroupBox(kIdDeviceGroup, kTxtDeviceProgram, kSystemUnits.Rect(5, 5, 127, 150));
    const CFontStatic* pIdLabel = AddLabel(kIdIdLabel, Tr(kTxtProgramId), kSystemUnits.Rect(9, 20, 11, 10));
    m_pNumber = AddLabel(kIdNumber, QString(), kSystemUnits.Rect(19, 18, 20, 12));
    m_pNumber->SetFontStyle(kLabelFontPx, Qt::black, CFontStatic::kAlignCentre);
    // The number follows a widened caption instead of sitting on it.
    QRect number = m_pNumber->geometry();
    number.setLeft(std::max(number.left(), pIdLabel->geometry().right() + 1));
    m_pNumber->setGeometry(number);
    AddLabel(kIdNameLabel, Tr(kTxtProgramName), kSystemUnits.Rect(40, 20, 21, 10));
    m_pName = new CChEnEdit(kIdName, this);
    m_pName->setGeometry(kSystemUnits.Rect(63, 18, 63, 12));
    m_pName->SetFlag(0);
    m_pName->setMaxLength(kNameChars);
    // The processor turns anything else into spaces: a name is shown and
    // compared as it will come back.
    m_pName->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[ -~]*")), m_pName));
    CreateList();
    m_pStore = AddButton(kIdStore, kTxtStore, kSystemUnits.Rect(12, 137, 33, 14));
    m_pRecall = AddButton(kIdRecall, kTxtRecall, kSystemUnits.Rect(52, 137, 33, 14));
    m_pDelete = AddButton(kIdDelete, kTxtDelete, kSystemUnits.Rect(92, 137, 33, 14));
    connect(m_pStore, &QPushButton::clicked, this, &CProgramDlg::OnStore);
    connect(m_pRecall, &QPushButton::clicked, this, &CProgramDlg::OnRecall);
    connect(m_pDelete, &QPushButton::clicked, this, &CProgramDlg::OnDelete);
}

void CProgramDlg::CreatePcGroup()
{
    AddGroupBox(kIdPcGroup, kTxtPcProgram, kSystemUnits.Rect(140, 5, 103, 150));
    AddRadio(kIdRecallAll, kTxtRecallAllFromPc, kSystemUnits.Rect(149, 20, 98, 10), m_recallChoice, 0);
    AddRadio(kIdRecallOne, kTxtRecallOneFromPc, kSystemUnits.Rect(149, 37, 97, 10), m_recallChoice, 1);
    QPushButton* pRecall = AddButton(kIdPcRecall, kTxtRecall, kSystemUnits.Rect(161, 50, 50, 14));
    AddRadio(kIdStoreAll, kTxtStoreAllToPc, kSystemUnits.Rect(149, 85, 101, 10), m_storeChoice, 0);
    AddRadio(kIdStoreOne, kTxtStoreOneToPc, kSystemUnits.Rect(149, 99, 100, 10), m_storeChoice, 1);
    QPushButton* pStore = AddButton(kIdPcStore, kTxtStore, kSystemUnits.Rect(161, 113, 50, 14));
    connect(pRecall, &QPushButton::clicked, this, &CProgramDlg::OnPcRecall);
    connect(pStore, &QPushButton::clicked, this, &CProgramDlg::OnPcStore);
}

void CProgramDlg::CreateList()
{
    m_pList = new CGridList(kPrograms, {Tr(kTxtColumnId), Tr(kTxtColumnName)}, {kIdColumnWidth, kNameColumnWidth},
                            kRowHeight, this);
    m_pList->setObjectName(ControlName(kIdList));
    m_pList->setGeometry(kSystemUnits.Rect(11, 33, 115, 100));
    m_pList->setFont(ArialFont(kListFontPx));
    for (int nRow = 0; nRow < kPrograms; ++nRow)
        m_pList->SetText(nRow, 0, QString::number(nRow + 1));
    m_pList->installEventFilter(this);
    connect(m_pList, &QTableWidget::itemSelectionChanged, this, &CProgramDlg::OnListSelect);
    connect(m_pList, &QTableWidget::cellClicked, this, &CProgramDlg::OnListSelect);
}

// ---- the list ----------------------------------------------------------------------------

// Names are shown only once the processor's names have been read.
void CProgramDlg::FillList()
{
    ShowNames();
    SelectRow(m_nProgram);
    ShowProgram();
    update();
}

void CProgramDlg::ShowNames()
{
    for (int n = 1; n <= kPrograms; ++n) {
        std::string strName;
        if (m_host.State().m_bOnline)
            strName = m_host.Processor().ProgramName(n);
        SetRowName(n, QString::fromLatin1(strName.c_str()));
    }
}

void CProgramDlg::SetRowName(int nProgram, const QString& strName)
{
    m_pList->SetText(nProgram - 1, 1, strName);
}

void CProgramDlg::ShowProgram()
{
    m_pName->setText(m_pList->Text(m_nProgram - 1, 1));
    m_pNumber->SetText(m_nProgram <= kPrograms ? QString::number(m_nProgram) : QString());
}

void CProgramDlg::SelectRow(int nProgram)
{
    m_pList->setCurrentCell(nProgram - 1, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// A click that leaves no row selected keeps the program.
void CProgramDlg::OnListSelect()
{
    const QList<QTableWidgetItem*> selected = m_pList->selectedItems();
    if (selected.isEmpty())
        return;
    m_nProgram = selected.front()->row() + 1;
    ShowProgram();
}

// Up and Down step through 1 … 10 and stop at either end; with no row
// selected, Down starts at program 1 and Up does nothing.
void CProgramDlg::OnListKey(int nKey)
{
    const QList<QTableWidgetItem*> selected = m_pList->selectedItems();
    int nProgram = 0;
    if (selected.isEmpty()) {
        if (nKey != Qt::Key_Down)
            return;
        nProgram = 1;
    } else {
        const int nRow = selected.front()->row() + 1;
        nProgram = std::clamp(nKey == Qt::Key_Down ? nRow + 1 : nRow - 1, 1, kPrograms);
    }
    m_nProgram = nProgram;
    SelectRow(nProgram);
    ShowProgram();
}

// ---- keyboard ------------------------------------------------------------------------------

// Enter and Esc (the dialog base) give the dialog the focus, so a field
// commits its text, and close nothing: the close box is the only way out.
bool CProgramDlg::focusNextPrevChild(bool)
{
    return false;
}

bool CProgramDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pList && pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        if (nKey == Qt::Key_Up || nKey == Qt::Key_Down) {
            OnListKey(nKey);
            return true;
        }
    }
    return CFormDialog::eventFilter(pWatched, pEvent);
}
