// Takes the screenshots of the README: the editor on the virtual processor,
// connected, with a few bands and a crossover set (docs/main-form.png), the
// same on a 1280 × 720 and a 1920 × 1080 screen (docs/screen-*.png), then
// with CH1 + CH2 and CH3 + CH4 linked (docs/linked.png), then the program
// manager with a few programs named (docs/programs.png), then the Help
// dialog beside the firmware update dialog in mid-update (docs/firmware.png);
// also the system settings and the delay manager (docs/system.png, docs/delays.png),
// a room measurement with its predicted response (docs/room.png), the fit
// dialog with its fit previewed on the graph (docs/fit.png), and the
// parameter report with the first page of its printout (docs/report.png,
// docs/report-page.png).
// Run it under
// xvfb-run from the repository root: build/tools/screenshots/zr470_screenshots docs
// (add --chinese for the Chinese texts).
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTableWidget>
#include <QTimer>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "CFStatic.h"
#include "ControlName.h"
#include "DelayTable.h"
#include "EditHistory.h"
#include "EmulatedRoom.h"
#include "EvidenceShots.h"
#include "FilterSetMapping.h"
#include "GlobalData.h"
#include "KTV_Data.h"
#include "LinkSession.h"
#include "ListCtrlPrint.h"
#include "MainFrm.h"
#include "ProgramDlg.h"
#include "QM7100.h"
#include "QM7100View.h"
#include "RoomTuning.h"
#include "ReportHeading.h"
#include "ReportTable.h"
#include "RoomCurve.h"
#include "RoomFitDlg.h"
#include "SizeShots.h"
#include "UpgradeDlg.h"
#include "VenueDlg.h"
#include "VersionDlg.h"
#include "VirtualProcessor.h"
#include "VirtualStartup.h"
#include "VirtualTransport.h"

namespace {

struct BandSetting {
    int nBand;
    int nFreq;
    double dGainDb;
    int nBandwidthCode;
};

void TuneOutput(CKTV_OutData& out, std::initializer_list<BandSetting> bands)
{
    out.SetEqMode(0);
    for (const BandSetting& band : bands) {
        CFilter& filter = out.EQ()[band.nBand];
        filter.SetFrequency(band.nFreq, true);
        filter.SetBandwidthCode(band.nBandwidthCode);
        filter.SetGainCode(static_cast<int>(std::lround(band.dGainDb * 10)) + 200);
    }
}


// Answers the next link dialog with the radio of the given id and OK.
void AnswerLinkDialog(int nRadioId)
{
    QTimer::singleShot(100, [nRadioId] {
        auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        if (auto* pRadio = pDialog->findChild<QAbstractButton*>(ControlName(nRadioId)))
            pRadio->click();
        if (auto* pOk = pDialog->findChild<QAbstractButton*>("ctl1"))
            pOk->click();
    });
}

void ClickControl(QWidget* pWindow, int nId)
{
    if (auto* pWidget = pWindow->findChild<QWidget*>(ControlName(nId)))
        QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
}

// Scene programs 1 … n named on the processor, read by the next connect.
void NamePrograms(std::initializer_list<const char*> names)
{
    int nProgram = 1;
    for (const char* szName : names) {
        std::vector<uint8_t> image(kImageSize);
        FillStartupImage(image.data());
        std::memset(image.data(), 0, kNameSize);
        std::memcpy(image.data(), szName, std::strlen(szName));
        CVirtualTransport::Shared()->SetSceneProgram(nProgram++, image);
    }
}

// Opens the program manager on program 3, saves its picture, closes it.
bool SaveProgramManager(CQM7100View& view, const QString& strPath)
{
    bool bSaved = false;
    QTimer::singleShot(300, [&] {
        CProgramDlg* pDialog = view.ProgramDialog();
        if (!pDialog)
            return;
        if (auto* pList = pDialog->findChild<QWidget*>(ControlName(CProgramDlg::kIdList))) {
            for (int i = 0; i < 2; ++i)
                QTest::keyClick(pList, Qt::Key_Down);
        }
        QTest::qWait(100);
        bSaved = Save(pDialog, strPath);
        pDialog->close();
    });
    view.OnProgram();
    return bSaved;
}

// A DSP and MCU firmware file in the working directory.
QString WriteFirmwareFile()
{
    QByteArray bytes("WDSP");
    for (int i = 0; i < 0x40000; ++i)
        bytes.append(static_cast<char>(i * 13 + 1));
    bytes.append("WMCU");
    for (int i = 0; i < 4 + 960; ++i)
        bytes.append(static_cast<char>(i * 7 + 3));
    QFile file(QDir::current().filePath("DataFile/ZR470-1.01.bin"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

// The Help dialog, then the update dialog a third of the way through an
// update, side by side in one picture; the update is cancelled afterwards.
// The form's own prompts, except that messages are not shown: the pictures
// are taken with no one to close a message box.
class CQuietPrompts : public IUserPrompts {
public:
    explicit CQuietPrompts(IUserPrompts& form) : m_form(form) {}
    QString AskFile(const FileDialogRequest& request) override { return m_form.AskFile(request); }
    QStringList AskFiles(const FileDialogRequest& request) override { return m_form.AskFiles(request); }
    void ShowMessage(const QString&, MessageKind) override {}
    bool OpenUrl(const QUrl& url) override { return m_form.OpenUrl(url); }

private:
    IUserPrompts& m_form;
};

bool SaveFirmwareDialogs(CQM7100View& view, const QString& strPath)
{
    const QString strFile = WriteFirmwareFile();
    view.Session().m_firmwareTiming = {50, 50, 100, 10000};
    VirtualFaults faults;
    faults.nRestartMs = 30;
    faults.nDelayMs = 3;  // slow enough to be caught in mid-update
    CVirtualTransport::Shared()->SetFaults(faults);
    static CQuietPrompts s_quiet(view.FormPrompts());  // the cancel's message
    view.SetPrompts(&s_quiet);
    QPixmap version;
    QPixmap upgrade;
    QTimer::singleShot(300, [&] {
        auto* pVersion = qobject_cast<CVersionDlg*>(QApplication::activeModalWidget());
        if (!pVersion)
            return;
        version = pVersion->grab();
        QTimer::singleShot(300, [&] {
            CUpgradeDlg* pUpgrade = view.UpgradeDialog();
            if (!pUpgrade)
                return;
            pUpgrade->findChild<QLineEdit*>(ControlName(CUpgradeDlg::kIdFile))->setText(strFile);
            ClickControl(pUpgrade, CUpgradeDlg::kIdUpdate);
            const CLinkSession& session = view.Session();
            if (QTest::qWaitFor([&] { return session.FirmwareProgress() * 3 > session.FirmwareRange(); }, 60000)) {
                QTest::qWait(100);
                upgrade = pUpgrade->grab();
            }
            pUpgrade->close();
        });
        ClickControl(pVersion, CVersionDlg::kIdFirmwareUpdate);
    });
    view.OnAbout();
    if (version.isNull() || upgrade.isNull())
        return false;
    constexpr int kGap = 16;
    QPixmap both(version.width() + kGap + upgrade.width(), std::max(version.height(), upgrade.height()));
    both.fill(QColor(0xE3, 0xE4, 0xEE));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, version);
    painter.drawPixmap(version.width() + kGap, 0, upgrade);
    painter.end();
    return Save(both, strPath);
}

// Runs a modal dialog by open() and saves its picture once it shows.
bool SaveModal(const std::function<void()>& open, const QString& strPath)
{
    bool bSaved = false;
    QTimer::singleShot(300, [&] {
        QWidget* pDialog = QApplication::activeModalWidget();
        if (!pDialog)
            return;
        bSaved = Save(pDialog, strPath);
        pDialog->close();
    });
    open();
    return bSaved;
}

// The system settings (docs/system.png), then the delay manager at the
// centre front position with the delays of a small room (docs/delays.png).
bool SaveSettingsDialogs(CQM7100View& view, const QString& strOut)
{
    if (!SaveModal([&view] { view.OnSystem(); }, strOut + "/system.png"))
        return false;
    view.SelectPosition(1);
    const int kDelays[] = {216, 216, 48, 48, 240, 120};
    for (int k = 0; k < 6; ++k)
        view.SetDelay(k, kDelays[k]);
    return SaveModal([&view] { view.OnDelayManager(); }, strOut + "/delays.png");
}

// The report window (docs/report.png) and the first page of its printout,
// printed to a PDF and rendered by pdftoppm (docs/report-page.png).
bool SaveReport(CQM7100View& view, const QString& strOut)
{
    if (!SaveModal([&view] { view.OnReport(); }, strOut + "/report.png"))
        return false;
    CListCtrlPrint job(BuildReportTable(view.Data(), g_nDelayUnit));
    NameReport(job, LiveReportSubject(view.State(), view.IsConnected(), Tr(kTxtAppTitle)));
    const QString strPdf = QDir::current().filePath(QStringLiteral("report.pdf"));
    if (job.PrintToPdf(strPdf) != CPrinterJob::Result::Printed)
        return false;
    return QProcess::execute(QStringLiteral("pdftoppm"), {"-png", "-r", "90", "-f", "1", "-l", "1", "-singlefile",
                                                          strPdf, strOut + "/report-page"}) == 0;
}

}  // namespace

bool Settle(CQM7100View& view, int nMs)
{
    const bool bSent = QTest::qWaitFor([&] { return !view.Session().HasPendingWork(); }, 5000);
    QTest::qWait(nMs);
    return bSent;
}

bool Save(const QPixmap& picture, const QString& strPath)
{
    const bool bSaved = picture.save(strPath);
    std::printf("%s %s\n", bSaved ? "wrote" : "could not write", qPrintable(strPath));
    return bSaved;
}

bool Save(QWidget* pWindow, const QString& strPath)
{
    return Save(pWindow->grab(), strPath);
}

// A room measured at the listening position: a mode at 63 Hz, a dip at
// 160 Hz, a falling top.
std::vector<MeasurementPoint> RoomPoints()
{
    std::vector<MeasurementPoint> points;
    for (double f = 15.0; f < 22000.0; f *= std::pow(2.0, 1.0 / 24)) {
        const double dOct = std::log2(f);
        points.push_back({f, 78.0 + 9.0 * std::exp(-std::pow((dOct - std::log2(63.0)) / 0.15, 2)) -
                                 6.0 * std::exp(-std::pow((dOct - std::log2(160.0)) / 0.2, 2)) -
                                 3.0 * std::max(0.0, dOct - std::log2(4000.0)) + 0.8 * std::sin(dOct * 9)});
    }
    return points;
}

// The room on CH5, with three correcting bands imported from a filter set
// (docs/room.png).
bool SaveRoomTuning(CQM7100View& view, const QString& strPath)
{
    const std::vector<MeasurementPoint> points = RoomPoints();
    CRoomCurve room;
    std::string strError;
    const FilterSetResult filters = ParseFilterSet("Filter 1: ON PK Fc 63 Hz Gain -8.5 dB Q 4.0\n"
                                                   "Filter 2: ON PK Fc 160 Hz Gain 4.5 dB Q 2.5\n"
                                                   "Filter 3: ON HS 12dB Fc 6000 Hz Gain 3.0 dB\n");
    if (!room.Assign(points, &strError) || !filters.bOk)
        return false;
    view.SelectChannel(4);
    ApplyFilterMapping(view.Data().Output(4), MapFilterSet(filters.set));
    view.Graph()->SetMeasurement(4, room);
    view.SelectChannel(4);
    const bool bSaved = Settle(view, 400) && Save(view.window(), strPath);
    view.SelectChannel(0);
    return bSaved;
}

// The same room on CH6, fitted with up to 6 dB of boost: the main form with
// the fit previewed on the graph and the dialog in its lower right corner
// (docs/fit.png). The dialog is cancelled, so the output keeps its bands.
bool SaveRoomFit(CQM7100View& view, const QString& strPath)
{
    CRoomCurve room;
    std::string strError;
    if (!room.Assign(RoomPoints(), &strError))
        return false;
    view.SelectChannel(5);
    view.Graph()->SetMeasurement(5, room);
    QPixmap form;
    QPixmap dialog;
    QTimer::singleShot(300, [&] {
        auto* pDialog = qobject_cast<CRoomFitDlg*>(QApplication::activeModalWidget());
        if (!pDialog)
            return;
        pDialog->findChild<QDoubleSpinBox*>(ControlName(CRoomFitDlg::kIdBoost))->setValue(6.0);
        if (QTest::qWaitFor([pDialog] { return !pDialog->IsFitting(); }, 20000)) {
            QTest::qWait(300);
            form = view.window()->grab();
            dialog = pDialog->grab();
        }
        pDialog->reject();
    });
    view.Room().FitToMeasurement();
    view.Graph()->ClearMeasurement(5);
    view.SelectChannel(0);
    if (form.isNull() || dialog.isNull())
        return false;
    constexpr int kMargin = 12;
    QPainter painter(&form);
    const QPoint corner(form.width() - dialog.width() - kMargin, form.height() - dialog.height() - kMargin);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(QRect(corner - QPoint(1, 1), dialog.size() + QSize(1, 1)));
    painter.drawPixmap(corner, dialog);
    painter.end();
    return Save(form, strPath);
}

// The history window after a few more edits, the last one undone: the
// steps the session so far has made (links, the room fit) and these.
bool SaveHistory(CQM7100View& view, const QString& strPath)
{
    CEditHistory& history = view.History();
    CKTV_Data& data = view.Data();
    const std::function<void()> edits[] = {
        [&] { data.Output(2).SetLevel(48); },
        [&] { data.Output(0).EQ()[16].SetGainCode(150); },
        [&] { data.Output(4).SetMute(1); },
        [&] { data.Output(1).EQ().HighPass().SetFrequency(80, true); },
    };
    for (const auto& edit : edits) {
        edit();
        history.Settle();
    }
    history.Undo();
    view.OnHistory();
    QWidget* pWindow = history.HistoryWindow();
    pWindow->resize(320, 330);
    return Settle(view, 300) && Save(pWindow, strPath);
}

namespace {

// Answers the file dialogs with one path; everything else as the form does.
class CFixedFilePrompts : public IUserPrompts {
public:
    CFixedFilePrompts(IUserPrompts& form, QString strPath) : m_form(form), m_strPath(std::move(strPath)) {}
    QString AskFile(const FileDialogRequest&) override { return m_strPath; }
    QStringList AskFiles(const FileDialogRequest&) override { return {m_strPath}; }
    void ShowMessage(const QString& strText, MessageKind kind) override { m_form.ShowMessage(strText, kind); }
    bool OpenUrl(const QUrl& url) override { return m_form.OpenUrl(url); }

private:
    IUserPrompts& m_form;
    QString m_strPath;
};

// The Venue window over four rooms served over TCP, one of them switched
// off, after a backup of every room.
bool SaveVenue(CQM7100View& view, const QString& strPath)
{
    const char* rooms[] = {"Room 101", "Room 102", "Room 103", "Bar"};
    std::vector<std::unique_ptr<CEmulatedRoom>> emulated;
    QStringList entries;
    for (const char* pName : rooms) {
        emulated.push_back(std::make_unique<CEmulatedRoom>());
        if (!emulated.back()->Start())
            return false;
        entries << QString(R"({"name": "%1", "device": "%2"})").arg(pName, QString::fromStdString(emulated.back()->Device()));
    }
    emulated[2]->Stop();
    QFile venue("venue.json");
    if (!venue.open(QIODevice::WriteOnly))
        return false;
    venue.write(QString(R"({"venue": "Golden Hall", "rooms": [%1]})").arg(entries.join(",\n")).toUtf8());
    venue.close();
    CFixedFilePrompts prompts(view.FormPrompts(), QDir::current().filePath("backup"));
    view.SetPrompts(&prompts);
    const bool bOpened = view.OpenVenue(venue.fileName());
    CVenueDlg* pVenue = view.VenueWindow();
    bool bSaved = false;
    if (bOpened && pVenue && QTest::qWaitForWindowExposed(pVenue) &&
        QTest::qWaitFor([&] { return !pVenue->IsBusy(); }, 20000)) {
        pVenue->BackUp();
        bSaved = QTest::qWaitFor([&] { return !pVenue->IsBusy(); }, 30000) && Save(pVenue, strPath);
    }
    view.SetPrompts(nullptr);
    if (pVenue)
        pVenue->close();
    return bSaved;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString strOut = QDir(argc > 1 ? argv[1] : "docs").absolutePath();
    QDir().mkpath(strOut);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    CAppOptions options;
    options.strDevice = "virtual";
    options.bSplash = false;
    options.bChinese = argc > 2 && std::strcmp(argv[2], "--chinese") == 0;
    NamePrograms({"Lounge", "Karaoke A", "Hall", "Bar", "Party night"});
    CQM7100App editor;
    editor.InitInstance(options);
    CQM7100View& view = *editor.View();
    QWidget* pWindow = editor.MainFrame();
    if (!QTest::qWaitForWindowExposed(pWindow)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    view.OnConnect();
    if (!QTest::qWaitFor([&view] { return view.State().m_bOnline.load() != 0; }, 10000)) {
        std::fprintf(stderr, "the virtual processor did not answer\n");
        return 1;
    }
    CKTV_Data& data = view.Data();
    TuneOutput(data.Output(0), {{3, 45, 4.5, 40}, {9, 180, -3.0, 60}, {16, 900, -6.5, 25}, {24, 4200, 3.0, 80},
                                {29, 14000, 5.0, 120}});
    TuneOutput(data.Output(2), {{5, 80, 6.0, 60}, {20, 2500, -4.0, 50}});
    data.Output(0).EQ().HighPass().SetFrequency(60, true);
    data.Output(0).EQ().LowPass().SetFrequency(16000, true);
    data.Output(0).EQ().LowPass().SetSlope(4, true);
    data.Output(2).EQ().LowPass().SetFrequency(180, true);
    data.Output(2).EQ().LowPass().SetSlope(6, true);
    view.SelectChannel(2);
    view.SelectChannel(0);
    if (!Settle(view, 400) || !Save(pWindow, strOut + "/main-form.png"))
        return 1;
    if (!SaveScreenSizes(view, *editor.MainFrame(), strOut))
        return 1;

    AnswerLinkDialog(2259);  // CH1 applied to CH2
    ClickControl(pWindow, 2247);
    AnswerLinkDialog(2258);  // CH4 applied to CH3
    ClickControl(pWindow, 2248);
    if (!Settle(view, 400) || !Save(pWindow, strOut + "/linked.png"))
        return 1;
    if (!SaveRoomTuning(view, strOut + "/room.png"))
        return 1;
    if (!SaveRoomFit(view, strOut + "/fit.png"))
        return 1;
    if (!SaveProgramManager(view, strOut + "/programs.png"))
        return 1;
    if (!SaveSettingsDialogs(view, strOut))
        return 1;
    if (!SaveReport(view, strOut))
        return 1;
    if (!SaveHistory(view, strOut + "/history.png"))
        return 1;
    if (!SaveEvidence(view, strOut, options.bChinese ? QStringLiteral("-zh") : QString()))
        return 1;
    if (!SaveFirmwareDialogs(view, strOut + "/firmware.png"))
        return 1;
    if (!SaveVenue(view, strOut + "/venue.png"))
        return 1;
    return 0;
}
