// The application: start-up in the order the editor needs (global data,
// shared fonts, the parameter model, main window, the form's initial update)
// and an orderly end.
#pragma once

#include <memory>

#include "AppOptions.h"

class CProcessor;
class CMainFrame;
class CQM7100View;

class CQM7100App {
public:
    CQM7100App();
    ~CQM7100App();
    // Builds everything and shows the main window; false with a message on
    // standard error when the arguments are not understood.
    bool InitInstance(const CAppOptions& options);
    CMainFrame* MainFrame() const { return m_pFrame.get(); }
    CQM7100View* View() const { return m_pView; }

private:
    std::unique_ptr<CProcessor> m_pProcessor;  // the processor the editor edits, for the whole run
    std::unique_ptr<CMainFrame> m_pFrame;
    CQM7100View* m_pView = nullptr;  // owned by the frame
};
