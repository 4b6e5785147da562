// The answers a test gives in place of the form's dialogs. A question with
// no answer set goes to the form's own dialogs.
#pragma once

#include <QUrl>
#include <functional>

#include "UserPrompts.h"

class CTestPrompts : public IUserPrompts {
public:
    explicit CTestPrompts(IUserPrompts& form) : m_form(form) {}

    QString AskFile(const FileDialogRequest& request) override
    {
        return m_askFile ? m_askFile(request) : m_form.AskFile(request);
    }
    QStringList AskFiles(const FileDialogRequest& request) override
    {
        return m_askFiles ? m_askFiles(request) : m_form.AskFiles(request);
    }
    void ShowMessage(const QString& strText, MessageKind kind) override
    {
        m_showMessage ? m_showMessage(strText, kind) : m_form.ShowMessage(strText, kind);
    }
    bool OpenUrl(const QUrl& url) override { return m_openUrl ? m_openUrl(url) : m_form.OpenUrl(url); }

    std::function<QString(const FileDialogRequest&)> m_askFile;
    std::function<QStringList(const FileDialogRequest&)> m_askFiles;
    std::function<void(const QString&, MessageKind)> m_showMessage;
    std::function<bool(const QUrl&)> m_openUrl;

private:
    IUserPrompts& m_form;
};
