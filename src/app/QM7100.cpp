#include "QM7100.h"

#include <QApplication>
#include <QPalette>

#include "AppGlobals.h"
#include "GlobalData.h"
#include "MainFrm.h"
#include "QM7100Doc.h"
#include "QM7100View.h"

CQM7100App::CQM7100App() = default;

CQM7100App::~CQM7100App()
{
    // The view (inside the frame) refers to the document's model.
    if (m_pView)
        m_pView->EndCommThread();
    m_pFrame.reset();
    m_pDoc.reset();
}

bool CQM7100App::InitInstance(const CAppOptions& options)
{
    InitGlobalDefaults();
    CreateSharedResources();
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, g_brushDialog);
    QApplication::setPalette(palette);
    g_nCurOutput = 0;
    // The form applies the language by flipping the flag, so the flag starts
    // as the opposite of the language wanted.
    g_bChinese = options.bChinese ? 0 : 1;

    m_pDoc = std::make_unique<CQM7100Doc>();
    m_pFrame = std::make_unique<CMainFrame>();
    m_pView = new CQM7100View(m_pDoc->Data(), m_pFrame.get());
    m_pFrame->SetView(m_pView);
    m_pView->OnInitialUpdate(options);
    m_pFrame->show();
    m_pView->AfterShown(options);
    return true;
}
