// The form's side of the system settings and the delay manager: each is
// opened modally and changes the model and the form while it runs.
#include "CurSYSDlg.h"
#include "DelayDlg.h"
#include "QM7100View.h"

void CQM7100View::OnSystem()
{
    CCurSYSDlg dialog(m_data, *this, this);
    dialog.exec();
}

void CQM7100View::OnDelayManager()
{
    CDelayDlg dialog(*this, this);
    dialog.exec();
}
