// Room tuning from the graph's context menu, on the running editor against
// the virtual processor.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "BoxAnswerer.h"
#include "CFStatic.h"
#include "DelayTable.h"
#include "EditHistory.h"
#include "Frame.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "Processor.h"
#include "RoomFitDlg.h"
#include "RoomFixture.h"
#include "Strings.h"
#include "TestPaths.h"
#include "ViewFixture.h"

namespace {

QString RoomFile(const char* szName)
{
    return QString::fromStdString(RoomFixture(szName));
}

// The measurement's levels on the axis, to tell two apart.
std::vector<double> Levels(const CRoomCurve& curve)
{
    std::vector<double> levels;
    for (int i = curve.First(); i <= curve.Last(); ++i)
        levels.push_back(curve.At(i));
    return levels;
}

}  // namespace

class RoomTuning : public ViewTest {
protected:
    CFStatic& Graph() { return *View().Graph(); }

    // Right click on the graph and choose the entry (and in its submenu
    // strSub) with the keyboard.
    void ChooseFromMenu(TextId entry) { ChooseFromMenu(Tr(entry)); }
    void ChooseFromMenu(const QString& strEntry, const QString& strSub = {})
    {
        QTimer::singleShot(50, [this, strEntry, strSub] {
            auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(pMenu, nullptr);
            QAction* pEntry = Choose(*pMenu, strEntry);
            if (!strSub.isEmpty() && m_bEntryEnabled) {
                QTest::keyClick(pMenu, Qt::Key_Right);
                QMenu* pSub = pEntry->menu();
                ASSERT_TRUE(pSub && pSub->isVisible()) << strEntry.toStdString();
                Choose(*pSub, strSub);
                QTest::keyClick(pSub, Qt::Key_Return);
            } else {
                QTest::keyClick(pMenu, Qt::Key_Return);
            }
            if (pMenu->isVisible())  // a disabled entry: Return does nothing
                pMenu->close();
        });
        const QPoint pt = Graph().PlotRect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pt, Graph().mapToGlobal(pt));
        QApplication::sendEvent(&Graph(), &event);
        QCoreApplication::processEvents();
    }
    QAction* Choose(QMenu& menu, const QString& strEntry)
    {
        QAction* pChosen = nullptr;
        for (QAction* pAction : menu.actions())
            pChosen = pAction->text() == strEntry ? pAction : pChosen;
        m_bEntryEnabled = pChosen && pChosen->isEnabled();
        if (pChosen)
            menu.setActiveAction(pChosen);
        return pChosen;
    }

    // Answers the next file dialogs with strPath (or paths, chosen together);
    // m_strOfferedFolder is where the last one opened.
    void AnswerFiles(const QString& strPath)
    {
        Prompts().m_askFile = [this, strPath](const FileDialogRequest& request) {
            m_strOfferedFolder = QFileInfo(request.strDefault).absolutePath();
            return strPath;
        };
        AnswerFiles(QStringList{strPath});
    }
    void AnswerFiles(const QStringList& paths)
    {
        Prompts().m_askFiles = [this, paths](const FileDialogRequest& request) {
            m_strOfferedFolder = QFileInfo(request.strDefault).absolutePath();
            return paths;
        };
    }

    // Runs act on the fit dialog once it is open and its first fit has ended.
    void OnFitDialog(std::function<void(CRoomFitDlg&)> act)
    {
        m_fitDriver.setInterval(10);
        QObject::disconnect(&m_fitDriver, nullptr, nullptr, nullptr);
        QObject::connect(&m_fitDriver, &QTimer::timeout, [this, act] {
            auto* pDialog = qobject_cast<CRoomFitDlg*>(QApplication::activeModalWidget());
            if (!pDialog || !pDialog->isVisible())
                return;
            m_fitDriver.stop();
            EXPECT_TRUE(QTest::qWaitFor([pDialog] { return !pDialog->IsFitting(); }, 20000));
            act(*pDialog);
        });
        m_fitDriver.start();
    }

    void LoadMeasurement()
    {
        AnswerFiles(RoomFile("rew_measurement.txt"));
        ChooseFromMenu(kTxtLoadMeasurement);
        ASSERT_FALSE(Graph().Measurement(0).IsEmpty());
    }

    // Band 10 (160 Hz) of output 1 dragged 40 pixels up on the graph.
    void DragBand10Up()
    {
        const BandRect& rc = Data().Output(0).EQ()[9].MarkerRect();
        const QPoint from(rc.CenterX(), rc.CenterY());
        QTest::mouseMove(&Graph(), from + QPoint(1, 0));
        QTest::mouseMove(&Graph(), from);
        QTest::mousePress(&Graph(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&Graph(), from - QPoint(0, 40));
        QTest::mouseRelease(&Graph(), Qt::LeftButton, {}, from - QPoint(0, 40));
    }

    // The outputs' records as the live image lays them out.
    std::vector<uint8_t> ModelBytes()
    {
        for (int k = 0; k < kOutputs; ++k)
            Data().Output(k).FillAll();
        return std::vector<uint8_t>(State().m_LiveImage, State().m_LiveImage + kImageSize);
    }

    // Everything sent and the progress window gone (the form is disabled
    // while it shows).
    bool Settled()
    {
        return Drain() && QTest::qWaitFor([this] { return View().isEnabled(); }, 2000);
    }

    QString m_strOfferedFolder;
    bool m_bEntryEnabled = false;
    QTimer m_fitDriver;
};

TEST_F(RoomTuning, MenuLoadsAMeasurementAndThePredictionFollowsADrag)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    AnswerFiles(RoomFile("rew_measurement.txt"));
    ChooseFromMenu(kTxtLoadMeasurement);
    ASSERT_FALSE(Graph().Measurement(0).IsEmpty());
    Graph().Offscreen();
    const std::vector<QPointF> before = Graph().PredictedPoints();
    ASSERT_EQ(before.size(), static_cast<size_t>(kAxisPoints));

    // Band 10 (160 Hz) dragged up on the graph: the prediction rises there.
    DragBand10Up();
    Graph().Offscreen();
    const int i160 = NearestAxisIndex(160.0);
    EXPECT_LT(Graph().PredictedPoints()[i160].y(), before[i160].y() - 20);
    EXPECT_NEAR(Graph().PredictedPoints()[kAxisPoints - 1].y(), before[kAxisPoints - 1].y(), 0.5);

    // Another output has none; the first keeps its own.
    Click(8901);
    EXPECT_TRUE(Graph().Measurement(1).IsEmpty());
    ChooseFromMenu(kTxtClearMeasurement);  // disabled: nothing happens
    EXPECT_FALSE(Graph().Measurement(0).IsEmpty());

    AnswerFiles(RoomFile("apo.txt"));  // not a measurement
    ChooseFromMenu(kTxtLoadMeasurement);
    EXPECT_EQ(m_strOfferedFolder, QFileInfo(RoomFile("apo.txt")).absolutePath());  // the folder last used
    ASSERT_FALSE(m_messages.empty());
    EXPECT_NE(m_messages.back().find("line 2: \"Preamp:\" is not a number"), std::string::npos) << m_messages.back();
    EXPECT_TRUE(Graph().Measurement(1).IsEmpty());
}

TEST_F(RoomTuning, ImportAsksForParametricModeAndExportWritesTheBands)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    AnswerFiles(RoomFile("apo.txt"));
    {
        BoxAnswerer answers({QMessageBox::Cancel});
        ChooseFromMenu(kTxtImportFilters);
        EXPECT_EQ(m_strOfferedFolder, QDir::currentPath() + "/DataFile");
        ASSERT_EQ(answers.m_asked.size(), 1u);
        EXPECT_EQ(answers.m_asked[0], Tr(kTxtToParametricQuestion));
    }
    EXPECT_EQ(Data().Output(0).GetEqMode(), 1);
    EXPECT_EQ(Data().Output(0).EQ()[0].GetFrequency(), 20);

    State().SetLinkGroup(1, State().m_nLinkGroup[0]);  // CH2 follows CH1
    {
        BoxAnswerer answers({QMessageBox::Ok});
        ChooseFromMenu(kTxtImportFilters);
    }
    for (const int k : {0, 1}) {
        EXPECT_EQ(Data().Output(k).GetEqMode(), 0);
        EXPECT_EQ(Data().Output(k).EQ()[0].GetFrequency(), 63);
        EXPECT_EQ(Data().Output(k).EQ()[4].GetGainCode(), 0);
    }
    ASSERT_FALSE(m_messages.empty());
    EXPECT_NE(m_messages.back().find("HP 30 Hz: skipped"), std::string::npos) << m_messages.back();
    ASSERT_TRUE(Drain());
    EXPECT_GT(CountWrites(kKindOutput, 1, kCmdWrite), 0);

    const QString strOut = m_dir.filePath(QStringLiteral("ch1.txt"));
    AnswerFiles(strOut);
    {
        BoxAnswerer answers({QMessageBox::No});  // REW
        ChooseFromMenu(kTxtExportFilters);
    }
    EXPECT_EQ(m_strOfferedFolder, QFileInfo(RoomFile("apo.txt")).absolutePath());
    QFile written(strOut);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("Filter  1: ON  PK       Fc    63 Hz  Gain  -5.0 dB  Q  3.997"));
}

TEST_F(RoomTuning, ImportOfSeveralApoChannelsAsksForOne)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    AnswerFiles(RoomFile("apo_channels.txt"));
    QStringList offered;
    QString strProposed;
    QTimer chooser;
    chooser.setInterval(10);
    QObject::connect(&chooser, &QTimer::timeout, [&] {
        auto* pDialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!pDialog || !pDialog->isVisible())
            return;
        offered = pDialog->comboBoxItems();
        strProposed = pDialog->textValue();
        pDialog->setTextValue(QStringLiteral("R"));
        pDialog->accept();
    });
    chooser.start();
    {
        BoxAnswerer answers({QMessageBox::Ok});
        ChooseFromMenu(kTxtImportFilters);
    }
    EXPECT_EQ(offered, QStringList({"L", "R"}));
    EXPECT_EQ(strProposed, "L");
    EXPECT_EQ(Data().Output(0).EQ()[0].GetFrequency(), 71);
    ASSERT_FALSE(m_messages.empty());
    EXPECT_NE(m_messages.back().find("\"Channel: L\": 2 filters not taken"), std::string::npos) << m_messages.back();
}

TEST_F(RoomTuning, FitWithoutAMeasurementFitsTheFilesChosenTogether)
{
    int nOpened = 0;
    int nPositions = 0;
    OnFitDialog([&](CRoomFitDlg& dialog) {
        ++nOpened;
        nPositions = Graph().PositionCount(0);
        dialog.reject();
    });
    AnswerFiles(QStringList());  // cancelled: no fit
    ChooseFromMenu(kTxtFitToMeasurement);
    EXPECT_TRUE(m_bEntryEnabled);
    EXPECT_EQ(nOpened, 0);
    AnswerFiles(QStringList{RoomFile("rew_measurement.txt"), RoomFile("measurement.frd")});
    ChooseFromMenu(kTxtFitToMeasurement);
    EXPECT_EQ(nOpened, 1);
    EXPECT_EQ(nPositions, 2);
}

TEST_F(RoomTuning, FitAppliesTheBandsToTheOutputsAndTheProcessor)
{
    ASSERT_TRUE(ConnectOnline());
    LoadMeasurement();
    State().SetLinkGroup(1, State().m_nLinkGroup[0]);  // CH2 follows CH1
    const QString strScene = QDir::temp().filePath(QString("zr470-fit-%1.ZR4C").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(SaveSceneFile(Data(), strScene.toStdString()).bOk);
    RoomFitResult fit;
    bool bPreviewFollowed = false;
    OnFitDialog([&](CRoomFitDlg& dialog) {
        const AxisResponse first = Graph().FitPreview();
        dialog.findChild<QSpinBox*>(ControlName(CRoomFitDlg::kIdBands))->setValue(3);
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.IsFitting(); }, 20000));
        fit = dialog.Result();
        bPreviewFollowed = Graph().HasFitPreview() && Graph().FitPreview() != first;
        QTest::mouseClick(dialog.findChild<QWidget*>(ControlName(CRoomFitDlg::kIdApply)), Qt::LeftButton);
    });
    {
        BoxAnswerer answers({QMessageBox::Ok});
        ChooseFromMenu(kTxtFitToMeasurement);
        ASSERT_EQ(answers.m_asked.size(), 1u);
        EXPECT_EQ(answers.m_asked[0], Tr(kTxtToParametricQuestion));
    }
    ASSERT_EQ(fit.status, RoomFitStatus::Done);
    ASSERT_FALSE(fit.bands.empty());
    EXPECT_TRUE(bPreviewFollowed);
    EXPECT_FALSE(Graph().HasFitPreview());
    // zr470ctl fits the same scene to the same bands.
    QProcess ctl;
    ctl.start(Zr470CtlPath(), {"--json", "eq-fit", "1", RoomFile("rew_measurement.txt"), "--bands",
                              "3", "--from", strScene});
    ASSERT_TRUE(ctl.waitForFinished(20000));
    QFile::remove(strScene);
    ASSERT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    const nlohmann::json cli = nlohmann::json::parse(ctl.readAllStandardOutput().toStdString(), nullptr, false);
    ASSERT_TRUE(cli.is_object() && cli.contains("bands")) << cli.dump();
    const nlohmann::json& cliBands = cli.at("bands");
    ASSERT_EQ(cliBands.size(), fit.bands.size());
    for (size_t b = 0; b < fit.bands.size(); ++b) {
        EXPECT_EQ(cliBands[b].value("freq_hz", -1), fit.bands[b].nFreq) << "band " << b;
        EXPECT_EQ(GainToCode(cliBands[b].value("gain_db", -99.0)), fit.bands[b].nGainCode) << "band " << b;
    }
    ASSERT_TRUE(Drain());
    const std::vector<uint8_t> image = m_pDevice->LiveImage();
    for (const int k : {0, 1}) {
        EXPECT_EQ(Data().Output(k).GetEqMode(), 0);
        const uint8_t* pBlock = image.data() + kOffOutput + kOutBlockSize * k;
        for (size_t b = 0; b < fit.bands.size(); ++b) {
            EXPECT_EQ(Data().Output(k).EQ()[static_cast<int>(b)].GetGainCode(), fit.bands[b].nGainCode);
            EXPECT_EQ(GetWord(pBlock + kGroupSize * static_cast<int>(b)), fit.bands[b].nFreq) << k << " band " << b;
        }
    }
}

TEST_F(RoomTuning, FitCancelledDuringARefitLeavesTheModelAsItWas)
{
    LoadMeasurement();
    const std::vector<uint8_t> before = ModelBytes();
    OnFitDialog([](CRoomFitDlg& dialog) {
        dialog.findChild<QSpinBox*>(ControlName(CRoomFitDlg::kIdBands))->setValue(4);
        EXPECT_TRUE(dialog.IsFitting());
        QTest::mouseClick(dialog.findChild<QWidget*>(ControlName(CRoomFitDlg::kIdCancel)), Qt::LeftButton);
    });
    ChooseFromMenu(kTxtFitToMeasurement);
    EXPECT_FALSE(Graph().HasFitPreview());
    EXPECT_EQ(ModelBytes(), before);
}

TEST_F(RoomTuning, KeptAStaysAcrossEditsAndUndoAndItsDifferenceStartsAtZero)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    auto largest = [this] {
        const AxisResponse diff = Graph().Difference();
        return std::abs(*std::max_element(diff.begin(), diff.end(), [](double a, double b) { return std::abs(a) < std::abs(b); }));
    };
    ChooseFromMenu(kTxtKeepAsA);
    ASSERT_TRUE(Graph().HasA());
    ChooseFromMenu(kTxtDifference);
    EXPECT_TRUE(Graph().ShowsDifference());
    EXPECT_EQ(largest(), 0.0);
    const AxisResponse keptDb = Graph().A()[0].dDb;

    // Band 10 dragged up: B moves away from A, and A stays.
    DragBand10Up();
    ASSERT_TRUE(QTest::qWaitFor([this] { return View().History().Stack().count() == 1; }, 2000));
    EXPECT_GT(largest(), 3.0);
    for (const ResponseView view : {ResponseView::Phase, ResponseView::GroupDelay}) {
        ChooseFromMenu(view == ResponseView::Phase ? kTxtPhase : kTxtGroupDelay);
        EXPECT_EQ(Graph().View(), view);
        EXPECT_GT(largest(), 0.1);
    }
    // Undo brings B back onto A and leaves A as it was.
    QTest::keyClick(&Graph(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_LT(largest(), 1e-9);
    EXPECT_EQ(Graph().A()[0].dDb, keptDb);
    QTest::keyClick(&Graph(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Graph().A()[0].dDb, keptDb);
    ChooseFromMenu(kTxtClearA);
    EXPECT_FALSE(Graph().HasA());
}

TEST_F(RoomTuning, PositionsChosenTogetherOrOneByOneGiveTheirPowerAverageUpToEight)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    const QString strSeat = m_dir.filePath("seat3.frd");
    QFile seat(strSeat);
    ASSERT_TRUE(seat.open(QIODevice::WriteOnly));
    for (double f = 10.0; f < 25000.0; f *= 1.1)
        seat.write(QByteArray::number(f) + " " + QByteArray::number(70.0 + 4.0 * std::sin(std::log(f))) + "\n");
    seat.close();
    const QStringList three = {RoomFile("rew_measurement.txt"), RoomFile("measurement.frd"), strSeat};
    AnswerFiles(three);
    ChooseFromMenu(kTxtLoadMeasurement);
    ASSERT_EQ(Graph().PositionCount(0), 3);
    Positions read;
    for (const QString& strPath : three)
        read.push_back(ReadMeasurementFile(strPath.toStdString()).points);
    std::vector<MeasurementPoint> average;
    std::string strError;
    ASSERT_TRUE(PowerAverage(read, &average, &strError));
    CRoomCurve expected;
    ASSERT_TRUE(expected.Assign(average, &strError));
    EXPECT_EQ(Levels(Graph().Measurement(0)), Levels(expected));
    Graph().Offscreen();  // draws the spread

    // One by one: a fourth joins them.
    AnswerFiles(RoomFile("measurement.frd"));
    ChooseFromMenu(Tr(kTxtAddPosition).arg(3).arg(kMaxPositions));
    ASSERT_EQ(Graph().PositionCount(0), 4);
    const std::vector<double> four = Levels(Graph().Measurement(0));
    EXPECT_NE(four, Levels(expected));

    // Nine at once, or five more to the four: refused, nothing changes.
    AnswerFiles(QStringList(9, RoomFile("measurement.frd")));
    ChooseFromMenu(kTxtLoadMeasurement);
    AnswerFiles(QStringList(5, RoomFile("measurement.frd")));
    ChooseFromMenu(Tr(kTxtAddPosition).arg(4).arg(kMaxPositions));
    EXPECT_EQ(Graph().PositionCount(0), 4);
    EXPECT_EQ(Levels(Graph().Measurement(0)), four);
    EXPECT_EQ(m_messages, std::vector<std::string>({Tr(kTxtTooManyPositions).arg(9).arg(8).toStdString(),
                                                    Tr(kTxtTooManyPositions).arg(9).arg(8).toStdString()}));

    LoadMeasurement();  // a new measurement starts afresh
    EXPECT_EQ(Graph().PositionCount(0), 1);
}

TEST_F(RoomTuning, AlignmentAdviceIsShownAndAppliedOnlyWhenAsked)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    View().SetDelay(1, 48);  // output 2 a millisecond late
    Graph().SetSumMember(0, true);
    Graph().SetSumMember(1, true);
    ChooseFromMenu(kTxtSum);
    ASSERT_TRUE(Graph().ShowsSum());
    ChooseFromMenu(kTxtAlignAdvice);
    ASSERT_TRUE(Graph().Advice().has_value());
    const int nPosition = GetCurrentPosition(State());
    EXPECT_EQ(GetPositionDelay(State(), nPosition, 0), 0);  // shown, not applied
    ChooseFromMenu(kTxtApplyAdvice);
    EXPECT_EQ(GetPositionDelay(State(), nPosition, 0), GetPositionDelay(State(), nPosition, 1));
    EXPECT_NEAR(Graph().CurrentSum().dDb[NearestAxisIndex(500.0)], 6.02, 0.05);  // the comb's null is gone
}

TEST_F(RoomTuning, AComesFromASceneFileAndABadFileLeavesItAlone)
{
    StartApp();
    ASSERT_TRUE(ConnectOnline());
    const QString strScene = m_dir.filePath("a.ZR4C");
    ASSERT_TRUE(SaveSceneFile(Data(), strScene.toStdString()).bOk);
    DragBand10Up();
    AnswerFiles(strScene);
    ChooseFromMenu(kTxtAFromFile);
    ASSERT_TRUE(Graph().HasA());
    const AxisResponse kept = Graph().A()[0].dDb;
    Graph().ShowDifference(true);
    EXPECT_GT(Graph().Difference()[NearestAxisIndex(160.0)], 3.0);  // B is the drag, A the file
    AnswerFiles(RoomFile("apo.txt"));
    ChooseFromMenu(kTxtAFromFile);
    EXPECT_EQ(Graph().A()[0].dDb, kept);
    EXPECT_FALSE(m_messages.empty());
}

TEST_F(RoomTuning, AComesFromAStoredProgramReadFromTheProcessor)
{
    ChooseFromMenu(Tr(kTxtAFromProgram), QStringLiteral("4  Before"));
    EXPECT_FALSE(m_bEntryEnabled) << "offline";
    ASSERT_TRUE(ConnectOnline());
    bool bQueued = false;
    ASSERT_EQ(View().Processor().StoreProgram(4, "Before", &bQueued), ProgramNameCheck::kOk);
    ASSERT_TRUE(Settled());
    ChooseFromMenu(kTxtKeepAsA);
    DragBand10Up();
    const AxisResponse boost = Graph().Difference();  // the drag: B − A
    ASSERT_GT(boost[static_cast<size_t>(NearestAxisIndex(160.0))], 3.0);
    ASSERT_EQ(View().Processor().StoreProgram(3, "After", &bQueued), ProgramNameCheck::kOk);
    ASSERT_TRUE(Settled());

    // Each program is read from the processor before it becomes A.
    auto takeA = [this](const char* szEntry) {
        Graph().ClearA();
        ChooseFromMenu(Tr(kTxtAFromProgram), QString::fromLatin1(szEntry));
        EXPECT_TRUE(m_bEntryEnabled) << szEntry;
        return QTest::qWaitFor([this] { return Graph().HasA(); }, 10000) && Settled();
    };
    ASSERT_TRUE(takeA("4  Before"));
    const AxisResponse diff = Graph().Difference();
    for (size_t i = 0; i < diff.size(); ++i)
        EXPECT_NEAR(diff[i], boost[i], 1e-9) << "at " << g_dFreqAxis[i] << " Hz";
    ASSERT_TRUE(takeA("3  After"));  // the live settings' twin
    for (const double d : Graph().Difference())
        EXPECT_NEAR(d, 0.0, 1e-9);
}

TEST_F(RoomTuning, AReadCutOffByALostLinkIsForgottenNotTakenFromALaterBackup)
{
    ASSERT_TRUE(ConnectOnline());
    bool bQueued = false;
    ASSERT_EQ(View().Processor().StoreProgram(2, "Hall", &bQueued), ProgramNameCheck::kOk);
    ASSERT_TRUE(Settled());
    VirtualFaults faults;
    faults.nSilentAfter = 1;
    m_pDevice->SetFaults(faults);
    ChooseFromMenu(Tr(kTxtAFromProgram), QStringLiteral("2  Hall"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View().IsConnected(); }, 10000));
    m_pDevice->SetFaults({});
    ASSERT_TRUE(ConnectOnline());
    ASSERT_TRUE(View().Processor().ReadAllScenes());
    ASSERT_TRUE(Settled());
    EXPECT_FALSE(QTest::qWaitFor([this] { return Graph().HasA(); }, 1000));
}
