#include "PresetFileCommands.h"

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

CPresetFileCommands::CPresetFileCommands(CProcessor& processor, CQM7100View& form)
    : m_processor(processor), m_form(form)
{
}

// ---- file dialogs ------------------------------------------------------------------------

QString CPresetFileCommands::AskFile(bool bSave, std::string_view ext)
{
    const QString strExt = QString::fromLatin1(ext.data(), static_cast<qsizetype>(ext.size()));
    FileDialogRequest request;
    request.bSave = bSave;
    request.strFilter = "*" + strExt;
    request.strDefault = m_form.CurrentDir() + "/DataFile/*" + strExt;
    return m_form.Prompts().AskFile(request);
}

std::optional<CPresetFileCommands::PresetFileRead> CPresetFileCommands::AskPresetFile(std::string_view ext, size_t nSize,
                                                                      PresetCheck isValid,
                                                                      const QString& strUnfit)
{
    QString strPath = AskFile(false, ext);
    if (strPath.isEmpty())
        return std::nullopt;
    auto bytes = ReadFileBytes(ToPath(strPath), nSize);
    if (!bytes || !isValid(*bytes)) {
        m_form.ShowMessage(strUnfit);
        return std::nullopt;
    }
    return PresetFileRead{std::move(strPath), std::move(*bytes)};
}

bool CPresetFileCommands::Saved(const PresetFileResult& saved)
{
    if (!saved.bOk)
        m_form.ShowMessage(SaveFailureText(saved));
    return saved.bOk;
}

// ---- one scene ------------------------------------------------------------------------------

bool CPresetFileCommands::SaveScene()
{
    const QString strPath = AskFile(true, kSceneFileExt);
    if (strPath.isEmpty())
        return false;
    // The scene takes the file's title as its name.
    if (!Saved(m_processor.SaveSceneFile(ToPath(strPath))))
        return false;
    m_form.ShowSceneName();
    return true;
}

bool CPresetFileCommands::LoadScene()
{
    const auto file = AskPresetFile(kSceneFileExt, kSceneFileSize, Parses<ParseSceneFile>,
                                    ErrorText(PresetFileError::ReadScene));
    if (!file)
        return false;
    // Nothing is written without a link; the model is loaded all the same.
    m_processor.SendSceneFile(file->bytes, SceneTitle(ToPath(file->strPath)));
    m_form.RefreshStrip();
    m_form.ShowSceneName();
    m_form.AfterLinkEvent();
    m_form.NameLoadStep(file->strPath);
    return true;
}

// ---- all scenes -----------------------------------------------------------------------------

bool CPresetFileCommands::SaveAllScenes()
{
    if (!m_form.IsConnected()) {
        m_form.ShowMessage(QString::fromStdString(UnConnectionText()));
        return false;
    }
    const QString strPath = AskFile(true, kAllScenesFileExt);
    if (strPath.isEmpty())
        return false;
    m_strAllScenesPath = strPath;
    // A link lost while the dialog was open ends here with "UnConnection".
    const bool bReading = m_processor.ReadAllScenes();
    m_form.AfterLinkEvent();
    if (!bReading)
        m_strAllScenesPath.clear();
    return bReading;
}

void CPresetFileCommands::OnAllScenesRead(int nPrograms)
{
    if (nPrograms != kAllPrograms || m_strAllScenesPath.isEmpty())
        return;
    const QString strPath = std::exchange(m_strAllScenesPath, QString());
    Saved(m_processor.SaveAllScenesFile(ToPath(strPath)));
}

bool CPresetFileCommands::LoadAllScenes()
{
    const QString strUnConnection = QString::fromStdString(UnConnectionText());
    if (!m_form.IsConnected()) {
        m_form.ShowMessage(strUnConnection);
        return false;
    }
    const auto file = AskPresetFile(kAllScenesFileExt, kAllScenesFileSize, Parses<ParseAllScenesFile>,
                                    ErrorText(PresetFileError::ReadAllScenes));
    if (!file)
        return false;
    // The programs are for the processor: a link lost while the dialog was
    // open leaves everything as it was.
    if (!m_form.IsConnected()) {
        m_form.ShowMessage(strUnConnection);
        return false;
    }
    m_processor.SendAllScenesFile(file->bytes);
    m_form.RefreshStrip();
    m_form.ShowDelays();  // the position limited to 0 … 3, its button pressed
    m_form.ShowSceneName();
    m_form.AfterLinkEvent();
    m_form.NameLoadStep(file->strPath);
    return true;
}

// ---- listening position -----------------------------------------------------------------

bool CPresetFileCommands::SavePosition()
{
    const QString strPath = AskFile(true, kPositionFileExt);
    return !strPath.isEmpty() && Saved(m_processor.SavePositionFile(ToPath(strPath)));
}

bool CPresetFileCommands::LoadPosition()
{
    const auto file = AskPresetFile(kPositionFileExt, kPositionFileSize, Parses<ParsePositionFile>,
                                    ErrorText(PresetFileError::ReadPosition));
    if (!file)
        return false;
    m_form.ApplyPosition(m_processor.SendPositionFile(file->bytes).nPosition);
    m_form.NameLoadStep(file->strPath);
    return true;
}
