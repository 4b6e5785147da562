// The preset-file commands: one scene (".ZR4C"), all scenes (".ZR4AC") and
// the delays of one listening position (".Mode_C").
//
// A file dialog or a message box runs a nested event loop, and a link
// failure handled in it stops the link thread, which may be waiting for
// the comm lock. So each command asks for its file and reads and checks all
// of it first, holds the comm lock only while it loads the model and queues
// the frames, and shows its messages after releasing it.
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <utility>

#include "BlockAddress.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "LinkTexts.h"
#include "PresetFile.h"
#include "Processor.h"
#include "QM7100View.h"

namespace fs = std::filesystem;

namespace {

constexpr int kAllPrograms = 10;  // 1135 carries the number of programs read

fs::path ToPath(const QString& strPath)
{
    return fs::path(QFile::encodeName(strPath).toStdString());
}

QString ErrorText(PresetFileError error)
{
    return QString::fromUtf8(PresetFileErrorText(error));
}

// The message of a failed save, and the system's reason where it gave one:
// "Save MusicFile Error!" alone does not tell a folder in the way from a
// full disk.
QString SaveFailureText(const PresetFileResult& saved)
{
    QString strText = ErrorText(saved.error);
    if (!saved.strReason.empty())
        strText += "\n" + QString::fromStdString(saved.path.string()) + ": " + QString::fromStdString(saved.strReason);
    return strText;
}

template <auto Parse>
bool Parses(std::span<const uint8_t> bytes)
{
    return Parse(bytes).has_value();
}

}  // namespace

// ---- file dialogs ------------------------------------------------------------------------

QString CQM7100View::AskFile(bool bSave, std::string_view ext)
{
    const QString strExt = QString::fromLatin1(ext.data(), static_cast<qsizetype>(ext.size()));
    FileDialogRequest request;
    request.bSave = bSave;
    request.strFilter = "*" + strExt;
    request.strDefault = m_strCurrentDir + "/DataFile/*" + strExt;
    return Prompts().AskFile(request);
}

std::optional<CQM7100View::PresetFileRead> CQM7100View::AskPresetFile(std::string_view ext, size_t nSize,
                                                                      PresetCheck isValid,
                                                                      const QString& strUnfit)
{
    QString strPath = AskFile(false, ext);
    if (strPath.isEmpty())
        return std::nullopt;
    auto bytes = ReadFileBytes(ToPath(strPath), nSize);
    if (!bytes || !isValid(*bytes)) {
        ShowMessage(strUnfit);
        return std::nullopt;
    }
    return PresetFileRead{std::move(strPath), std::move(*bytes)};
}

// ---- one scene ------------------------------------------------------------------------------

bool CQM7100View::SaveScene()
{
    const QString strPath = AskFile(true, kSceneFileExt);
    if (strPath.isEmpty())
        return false;
    const PresetFileResult saved = SaveSceneFile(m_data, ToPath(strPath));
    if (!saved.bOk) {
        ShowMessage(SaveFailureText(saved));
        return false;
    }
    SetSceneName(QString::fromStdString(SceneTitle(saved.path)));
    return true;
}

bool CQM7100View::LoadScene()
{
    const auto file = AskPresetFile(kSceneFileExt, kSceneFileSize, Parses<ParseSceneFile>,
                                    ErrorText(PresetFileError::ReadScene));
    if (!file)
        return false;
    // Nothing is written without a link; the model is loaded all the same.
    m_processor.SendSceneFile(file->bytes, SceneTitle(ToPath(file->strPath)));
    RefreshStrip();
    ShowSceneName();
    AfterLinkEvent();
    NameLoadStep(file->strPath);
    return true;
}

// ---- all scenes -----------------------------------------------------------------------------

bool CQM7100View::SaveAllScenes()
{
    if (!IsConnected()) {
        ShowMessage(QString::fromStdString(UnConnectionText()));
        return false;
    }
    const QString strPath = AskFile(true, kAllScenesFileExt);
    if (strPath.isEmpty())
        return false;
    m_strAllScenesPath = strPath;
    // A link lost while the dialog was open ends here with "UnConnection".
    const bool bReading = m_pSession->ReadAllScenes();
    AfterLinkEvent();
    if (!bReading)
        m_strAllScenesPath.clear();
    return bReading;
}

void CQM7100View::OnAllScenesRead(int nPrograms)
{
    if (nPrograms != kAllPrograms)
        return;
    m_pSession->m_bTransferRunning = 0;
    if (m_strAllScenesPath.isEmpty())
        return;
    const QString strPath = std::exchange(m_strAllScenesPath, QString());
    const PresetFileResult saved = SaveAllScenesFile(m_data, ToPath(strPath));
    if (!saved.bOk)
        ShowMessage(SaveFailureText(saved));
}

bool CQM7100View::LoadAllScenes()
{
    const QString strUnConnection = QString::fromStdString(UnConnectionText());
    if (!IsConnected()) {
        ShowMessage(strUnConnection);
        return false;
    }
    const auto file = AskPresetFile(kAllScenesFileExt, kAllScenesFileSize, Parses<ParseAllScenesFile>,
                                    ErrorText(PresetFileError::ReadAllScenes));
    if (!file)
        return false;
    // The programs are for the processor: a link lost while the dialog was
    // open leaves everything as it was.
    if (!IsConnected()) {
        ShowMessage(strUnConnection);
        return false;
    }
    m_processor.SendAllScenesFile(file->bytes);
    RefreshStrip();
    ShowDelays();  // the position limited to 0 … 3, its button pressed
    ShowSceneName();
    AfterLinkEvent();
    NameLoadStep(file->strPath);
    return true;
}

// ---- listening position -----------------------------------------------------------------

bool CQM7100View::SavePosition()
{
    const QString strPath = AskFile(true, kPositionFileExt);
    if (strPath.isEmpty())
        return false;
    const PresetFileResult saved = SavePositionFile(m_data, ToPath(strPath));
    if (!saved.bOk) {
        ShowMessage(SaveFailureText(saved));
        return false;
    }
    return true;
}

bool CQM7100View::LoadPosition()
{
    const auto file = AskPresetFile(kPositionFileExt, kPositionFileSize, Parses<ParsePositionFile>,
                                    ErrorText(PresetFileError::ReadPosition));
    if (!file)
        return false;
    ApplyPosition(m_processor.SendPositionFile(file->bytes).nPosition);
    NameLoadStep(file->strPath);
    return true;
}
