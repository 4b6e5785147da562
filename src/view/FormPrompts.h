// The main form's own prompts: Qt's file dialog, message boxes (the English
// connection failure in the box that closes itself, so an unattended
// installation is not left behind a dialog) and the desktop's viewer.
//
// User-interface thread only.
#pragma once

#include <functional>

#include "UserPrompts.h"

class QWidget;

class CFormPrompts : public IUserPrompts {
public:
    // showSelfClosing: the form's box that closes itself after a second.
    CFormPrompts(QWidget* pParent, std::function<void(const QString&)> showSelfClosing);

    QString AskFile(const FileDialogRequest& request) override;
    QStringList AskFiles(const FileDialogRequest& request) override;
    void ShowMessage(const QString& strText, MessageKind kind) override;
    bool OpenUrl(const QUrl& url) override;

private:
    QWidget* m_pParent;
    std::function<void(const QString&)> m_showSelfClosing;
};
