// The editor with the program manager and the preset-file commands: the
// dialog opened with the PROGRAM button and worked in while it runs
// modally, and the file dialogs answered with paths in the scratch folder.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstring>
#include <functional>
#include <string>

#include "FindControl.h"
#include "ProgramDlg.h"
#include "ViewFixture.h"

class ProgramTest : public ViewTest {
protected:
    // Opens the program manager with PROGRAM, runs act in it, then closes it
    // with its close box. False when the dialog did not open.
    bool WithProgramDialog(const std::function<void(CProgramDlg&)>& act) { return WithModal<CProgramDlg>(8801, act); }

    // Presses the form's button nButton and runs act once in the modal
    // window of type T it opens, which is then closed with its close box
    // unless act closed it. False when no such window opened.
    template <typename T>
    bool WithModal(int nButton, const std::function<void(T&)>& act)
    {
        bool bRan = false;
        OnNextModal<T>([&bRan, act](T& dialog) {
            bRan = true;
            act(dialog);
            dialog.close();
        });
        Click(nButton);
        return bRan;
    }

    template <typename T = QWidget>
    static T* In(CProgramDlg& dialog, int nId)
    {
        return FindControl<T>(dialog, nId);
    }

    static void ClickIn(CProgramDlg& dialog, int nId)
    {
        if (QWidget* pWidget = In(dialog, nId))
            QTest::mouseClick(pWidget, Qt::LeftButton, {}, QPoint(6, pWidget->height() / 2));
    }

    // Runs act once in the next modal window of type T, as soon as it shows.
    template <typename T>
    void OnNextModal(std::function<void(T&)> act)
    {
        auto* pPoll = new QTimer(&View());
        pPoll->setInterval(10);
        QObject::connect(pPoll, &QTimer::timeout, [pPoll, act] {
            auto* pWindow = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!pWindow || !pWindow->isVisible())
                return;
            pPoll->stop();
            pPoll->deleteLater();
            act(*pWindow);
        });
        pPoll->start();
    }

    // Every file dialog answers with this path (relative to the scratch
    // folder, which is the working directory).
    void AnswerFiles(const QString& strPath)
    {
        Prompts().m_askFile = [this, strPath](const FileDialogRequest& request) {
            m_requests.push_back(request);
            return strPath.isEmpty() ? QString() : m_dir.filePath(strPath);
        };
    }

    static constexpr int kOffLevel = 250;  // output 1's level within the image's first output block

    // A scene image with a name and output 1's level of its own.
    static std::vector<uint8_t> NamedImage(const char* szName, uint8_t nLevel)
    {
        std::vector<uint8_t> image = FactoryImage();
        std::memset(image.data(), 0, kNameSize);
        std::memcpy(image.data(), szName, std::strlen(szName));
        image[kOffOutput + kOffLevel] = nLevel;
        return image;
    }

    static std::string NameOf(const std::vector<uint8_t>& image)
    {
        return BytesToName(image.data(), kNameSize);
    }

    bool WriteFile(const QString& strName, const std::vector<uint8_t>& bytes)
    {
        QFile file(m_dir.filePath(strName));
        return file.open(QIODevice::WriteOnly) &&
               file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
                   static_cast<qint64>(bytes.size());
    }

    static std::vector<uint8_t> Tagged(std::string_view tag, size_t nBytes)
    {
        std::vector<uint8_t> bytes(1 + tag.size() + nBytes);
        bytes[0] = static_cast<uint8_t>(tag.size());
        std::memcpy(bytes.data() + 1, tag.data(), tag.size());
        return bytes;
    }

    std::vector<FileDialogRequest> m_requests;
};
