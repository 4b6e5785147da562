#include "RoomTuning.h"

#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <algorithm>
#include <memory>
#include <utility>

#include "ApoChannels.h"
#include "CFStatic.h"
#include "ChannelStrip.h"
#include "DataDefine.h"
#include "EditHistory.h"
#include "FilterSetMapping.h"
#include "KTV_Data.h"
#include "MeasurementAverage.h"
#include "PresetFile.h"
#include "Processor.h"
#include "QM7100View.h"
#include "RoomCurve.h"
#include "RoomFitDlg.h"
#include "RoomText.h"
#include "Strings.h"

namespace {

const QString kMeasurementFilter = QStringLiteral("*.txt *.frd");
const QString kSceneFilter = QStringLiteral("*.ZR4C");
const QString kFilterSetFilter = QStringLiteral("*.txt");

std::string LocalPath(const QString& strPath)
{
    return QFile::encodeName(strPath).toStdString();
}

// Of an APO file with filters for several channels, the one the user
// chooses, offered with the reader's choice; false when cancelled.
bool AskApoChannel(QWidget* pParent, const FilterSet& set, std::string* pChannel)
{
    QStringList items;
    for (const std::string& strChannel : set.channels)
        items << (strChannel == kApoAllChannels ? Tr(kTxtAllChannels) : QString::fromStdString(RoomQuote(strChannel)));
    const auto nProposed = std::find(set.channels.begin(), set.channels.end(), set.strChannel) - set.channels.begin();
    bool bOk = false;
    const QString strItem = QInputDialog::getItem(pParent, Tr(kTxtAppTitle), Tr(kTxtChooseApoChannel), items,
                                                  static_cast<int>(nProposed), false, &bOk);
    if (!bOk)
        return false;
    *pChannel = set.channels[static_cast<std::size_t>(std::max<qsizetype>(items.indexOf(strItem), 0))];
    return true;
}

// The filter set of the file, of the channel the user chooses when it has
// several; false when the user cancelled.
bool ReadAskedFilterSet(QWidget* pParent, const QString& strPath, FilterSetResult* pRead)
{
    *pRead = ReadFilterSetFile(LocalPath(strPath));
    if (!pRead->bOk || pRead->set.channels.size() < 2)
        return true;
    std::string strChannel;
    if (!AskApoChannel(pParent, pRead->set, &strChannel))
        return false;
    if (strChannel != pRead->set.strChannel)
        *pRead = ReadFilterSetFile(LocalPath(strPath), strChannel);
    return true;
}

}  // namespace

CRoomTuning::CRoomTuning(CProcessor& processor, CQM7100View& form)
    : QObject(&form), m_processor(processor), m_data(processor.Data()), m_form(form)
{
}

void CRoomTuning::ConnectGraph(CFStatic* pGraph)
{
    connect(pGraph, &CFStatic::LoadMeasurementRequested, this, [this] { LoadMeasurement(false); });
    connect(pGraph, &CFStatic::AddPositionRequested, this, [this] { LoadMeasurement(true); });
    connect(pGraph, &CFStatic::AFromFileRequested, this, [this] { LoadA(); });
    connect(pGraph, &CFStatic::AFromProgramRequested, this, [this](int nProgram) { LoadAFromProgram(nProgram); });
    pGraph->SetProgramsForA([this] { return NamedPrograms(); });
    connect(pGraph, &CFStatic::ApplyAdviceRequested, this, [this](int nOutput, int nCode, int nPolarityOutput, bool bInverted) {
        m_form.SetDelay(nOutput, nCode);
        if ((m_data.Output(nPolarityOutput).GetPolarity() != 0) != bInverted)
            m_form.Strip().OnPolarity(nPolarityOutput);
    });
    connect(pGraph, &CFStatic::ClearMeasurementRequested, this, [this] { ClearMeasurement(); });
    connect(pGraph, &CFStatic::ImportFiltersRequested, this, [this] { ImportFilters(); });
    connect(pGraph, &CFStatic::FitRequested, this, [this] { FitToMeasurement(); });
    connect(pGraph, &CFStatic::ExportFiltersRequested, this, [this] { ExportFilters(); });
}

FileDialogRequest CRoomTuning::RoomFileRequest(bool bSave, const QString& strFilter) const
{
    const auto folder = m_roomFolders.find(strFilter);
    FileDialogRequest request;
    request.bSave = bSave;
    request.strFilter = strFilter;
    request.strDefault = (folder != m_roomFolders.end() ? folder->second : m_form.CurrentDir() + "/DataFile") + '/' +
                         strFilter.section(' ', 0, 0);
    return request;
}

QString CRoomTuning::AskRoomFile(bool bSave, const QString& strFilter)
{
    const QString strPath = m_form.Prompts().AskFile(RoomFileRequest(bSave, strFilter));
    if (!strPath.isEmpty())
        m_roomFolders[strFilter] = QFileInfo(strPath).absolutePath();
    return strPath;
}

QStringList CRoomTuning::AskMeasurementFiles()
{
    const QStringList paths = m_form.Prompts().AskFiles(RoomFileRequest(false, kMeasurementFilter));
    if (!paths.isEmpty())
        m_roomFolders[kMeasurementFilter] = QFileInfo(paths.front()).absolutePath();
    return paths;
}

bool CRoomTuning::LoadMeasurement(bool bAddPosition)
{
    const QStringList paths = AskMeasurementFiles();
    return !paths.isEmpty() && LoadMeasurementFiles(paths, bAddPosition);
}

// All files are read and checked before the output's measurement changes:
// one bad file, or too many, and it keeps what it had.
bool CRoomTuning::LoadMeasurementFiles(const QStringList& paths, bool bAddPosition)
{
    CFStatic* pGraph = m_form.Graph();
    const int nChannel = m_form.CurrentChannel();
    const qsizetype nTotal = paths.size() + (bAddPosition ? pGraph->PositionCount(nChannel) : 0);
    if (nTotal > kMaxPositions) {
        m_form.ShowMessage(Tr(kTxtTooManyPositions).arg(nTotal).arg(kMaxPositions));
        return false;
    }
    Positions positions;
    std::string strError;
    for (const QString& strPath : paths) {
        const MeasurementResult measured = ReadMeasurementFile(LocalPath(strPath));
        if (!measured.bOk) {
            m_form.ShowMessage(QString::fromStdString(RoomFileErrorText(measured.error)));
            return false;
        }
        positions.push_back(measured.points);
    }
    if (!pGraph->LoadPositions(nChannel, positions, bAddPosition, &strError)) {
        m_form.ShowMessage(QString::fromStdString(strError));
        return false;
    }
    return true;
}

bool CRoomTuning::LoadA()
{
    const QString strPath = AskRoomFile(false, kSceneFilter);
    if (strPath.isEmpty())
        return false;
    auto scene = std::make_unique<CKTV_Data>();
    const PresetFileResult loaded = LoadSceneFile(*scene, LocalPath(strPath));
    if (!loaded.bOk) {
        m_form.ShowMessage(QString::fromUtf8(PresetFileErrorText(PresetFileError::ReadScene)));
        return false;
    }
    m_form.Graph()->SetA(SnapshotOf(*scene));
    return true;
}

CFStatic::ProgramList CRoomTuning::NamedPrograms()
{
    CFStatic::ProgramList programs;
    if (!m_processor.IsConnected() || !m_processor.State().m_bOnline)
        return programs;
    for (int n = 1; n <= kScenePrograms; ++n) {
        const std::string strName = m_processor.ProgramName(n);
        if (!strName.empty())
            programs.emplace_back(n, QString::fromLatin1(strName.c_str()));
    }
    return programs;
}

bool CRoomTuning::LoadAFromProgram(int nProgram)
{
    if (nProgram < 1 || nProgram > kScenePrograms || !m_processor.ReadAllScenes())
        return false;
    m_nAProgram = nProgram;
    return true;
}

void CRoomTuning::OnAllScenesRead(int nPrograms)
{
    const int nProgram = std::exchange(m_nAProgram, 0);
    if (nPrograms != kScenePrograms || nProgram == 0)
        return;
    auto scene = std::make_unique<CKTV_Data>();
    if (m_processor.LoadProgramInto(nProgram, *scene))
        m_form.Graph()->SetA(SnapshotOf(*scene));
}

void CRoomTuning::ClearMeasurement()
{
    m_form.Graph()->ClearMeasurement(m_form.CurrentChannel());
}

// The mode button's question, asked only when the output is graphic.
bool CRoomTuning::AskParametricMode()
{
    if (m_data.Output(m_form.CurrentChannel()).GetEqMode() == 0)
        return true;
    return QMessageBox::question(&m_form, Tr(kTxtAppTitle), Tr(kTxtToParametricQuestion),
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool CRoomTuning::ImportFilters()
{
    const QString strPath = AskRoomFile(false, kFilterSetFilter);
    if (strPath.isEmpty())
        return false;
    FilterSetResult read;
    if (!ReadAskedFilterSet(&m_form, strPath, &read))
        return false;
    if (!read.bOk) {
        m_form.ShowMessage(QString::fromStdString(RoomFileErrorText(read.error)));
        return false;
    }
    const FilterMapping mapping = MapFilterSet(read.set);
    if (!AskParametricMode())
        return false;
    ApplyRoomMapping(mapping, Tr(kTxtStepImport).arg(m_form.CurrentChannel() + 1));
    QString strReport = Tr(kTxtImportDone).arg(mapping.bands.size()).arg(m_form.CurrentChannel() + 1);
    if (!mapping.notes.Empty())
        strReport += "\n\n" + Tr(kTxtImportNotes);
    for (const std::string& strNote : mapping.notes.Lines())
        strReport += "\n" + QString::fromStdString(strNote);
    m_form.ShowMessage(strReport);
    return true;
}

void CRoomTuning::ApplyRoomMapping(const FilterMapping& mapping, const QString& strStep)
{
    m_processor.ApplyFilterMapping(m_form.CurrentChannel(), mapping, {});
    m_form.RefreshSelectedOutput();
    m_form.RedrawAll();
    m_form.History().NameNextStep(strStep, false);
    m_form.History().Settle();
}

bool CRoomTuning::FitToMeasurement()
{
    // An output without a measurement takes its positions first.
    if (m_form.Graph()->Measurement(m_form.CurrentChannel()).IsEmpty() && !LoadMeasurement(false))
        return false;
    RoomFitInput input;
    input.measurement = m_form.Graph()->Measurement(m_form.CurrentChannel());
    input.crossover = CrossoverResponse(m_data.Output(m_form.CurrentChannel()).EQ());
    RoomFitDlgHost host;
    host.askTargetFile = [this] { return AskRoomFile(false, kMeasurementFilter); };
    host.showPreview = [this, nChannel = m_form.CurrentChannel()](const AxisResponse& curve) {
        m_form.Graph()->SetFitPreview(nChannel, curve);
    };
    host.clearPreview = [this] { m_form.Graph()->ClearFitPreview(); };
    host.mayApply = [this] { return AskParametricMode(); };
    host.showMessage = [this](const QString& strText) { m_form.ShowMessage(strText); };
    CRoomFitDlg dialog(&m_form, input, std::move(host));
    const bool bApply = dialog.exec() == QDialog::Accepted;
    if (bApply)
        ApplyRoomMapping(RoomFitMapping(dialog.Result()), Tr(kTxtStepFit).arg(m_form.CurrentChannel() + 1));
    return bApply;
}

bool CRoomTuning::ExportFilters()
{
    const CKTV_OutData& out = m_data.Output(m_form.CurrentChannel());
    const std::vector<RoomFilter> filters = FiltersOfBands(out.EQ());
    if (filters.empty()) {
        m_form.ShowMessage(Tr(kTxtNoBandsToExport));
        return false;
    }
    QMessageBox ask(QMessageBox::Question, Tr(kTxtAppTitle), Tr(kTxtExportSyntax),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &m_form);
    ask.button(QMessageBox::Yes)->setText(QStringLiteral("Equalizer APO"));
    ask.button(QMessageBox::No)->setText(QStringLiteral("REW"));
    const int nAnswer = ask.exec();
    if (nAnswer == QMessageBox::Cancel)
        return false;
    const QString strPath = AskRoomFile(true, kFilterSetFilter);
    if (strPath.isEmpty())
        return false;
    const FilterSetFormat format = nAnswer == QMessageBox::No ? FilterSetFormat::Rew : FilterSetFormat::Apo;
    const std::string strText =
        WriteFilterSet(filters, format, "ZR-470 CH" + std::to_string(m_form.CurrentChannel() + 1) + " (" + out.GetName() + ")");
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(strText.data(), static_cast<qint64>(strText.size())) != static_cast<qint64>(strText.size()) ||
        !file.commit()) {
        m_form.ShowMessage(QString::fromStdString(Say(kTxtRoomCannotWrite, {LocalPath(strPath)})));
        return false;
    }
    return true;
}
