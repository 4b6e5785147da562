// How the main form asks the user or tells them something: a file dialog, a
// message, a document opened in its viewer. The form's own are real dialogs
// (CFormPrompts); tests and the screenshot tool put in their own.
//
// User-interface thread only.
#pragma once

#include <QString>
#include <QStringList>

#include "LinkTexts.h"

class QUrl;

// What a file dialog is asked for.
struct FileDialogRequest {
    bool bSave = false;
    QString strFilter;   // "*.ZR4C"
    QString strDefault;  // working directory + "/DataFile/*.ZR4C", or a proposed name
    QString strTitle;    // empty: the dialog's own
    bool bFolder = false;  // an existing folder (strDefault: where to start), not a file
};

class IUserPrompts {
public:
    virtual ~IUserPrompts() = default;
    // The chosen path; empty when cancelled.
    virtual QString AskFile(const FileDialogRequest& request) = 0;
    // Existing files chosen together; empty when cancelled.
    virtual QStringList AskFiles(const FileDialogRequest& request) = 0;
    virtual void ShowMessage(const QString& strText, MessageKind kind) = 0;
    // False when no viewer took the document.
    virtual bool OpenUrl(const QUrl& url) = 0;
};
