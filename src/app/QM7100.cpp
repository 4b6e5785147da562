#include "QM7100.h"

#include <QApplication>
#include <QPalette>

#include "AppGlobals.h"
#include "GlobalData.h"
#include "MainFrm.h"
#include "Processor.h"
#include "QM7100View.h"

CQM7100App::CQM7100App() = default;

CQM7100App::~CQM7100App()
{
    // The view (inside the frame) refers to the model.
    if (m_pView)
        m_pView->EndCommThread();
    m_pFrame.reset();
    m_pProcessor.reset();
}

bool CQM7100App::InitInstance(const CAppOptions& options)
{
    CreateSharedResources();
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, g_brushDialog);
    QApplication::setPalette(palette);
    // The controls are built in the language wanted from the start.
    g_bChinese = options.bChinese ? 1 : 0;

    m_pProcessor = std::make_unique<CProcessor>();
    m_pFrame = std::make_unique<CMainFrame>();
    m_pView = new CQM7100View(*m_pProcessor, m_pFrame.get());
    m_pFrame->SetView(m_pView);
    m_pView->OnInitialUpdate(options);
    m_pFrame->show();
    m_pView->AfterShown(options);
    return true;
}
