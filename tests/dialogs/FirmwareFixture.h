// The editor with the Help dialog and the firmware update dialog opened
// the way a user opens them (ABOUT, then "Firmware Update"), the loader's
// pauses shortened, and a probe of how long the event loop stalls.
#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>

#include "FindControl.h"
#include "../link/FirmwareTestFiles.h"
#include "DataDefine.h"  // ProgramFixture.h names scenes with it
#include "GradientProgressCtrl.h"
#include "ProgramFixture.h"
#include "TransparentStatic.h"
#include "UpgradeDlg.h"
#include "VersionDlg.h"

class FirmwareTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // The loader's pauses, shortened; the order of events is ours.
        View().Session().m_firmwareTiming = {50, 50, 100, 1000};
        VirtualFaults faults;
        faults.nRestartMs = 30;
        m_pDevice->SetFaults(faults);
    }

    // ABOUT, then act in the Help dialog, which is closed afterwards
    // unless act closed it.
    bool WithVersionDialog(const std::function<void(CVersionDlg&)>& act) { return WithModal<CVersionDlg>(8804, act); }

    // ABOUT and "Firmware Update", then act in the update dialog, which is
    // closed afterwards unless act closed it.
    bool WithUpgradeDialog(const std::function<void(CUpgradeDlg&)>& act)
    {
        bool bRan = false;
        OnNextModal<CUpgradeDlg>([&bRan, act](CUpgradeDlg& dialog) {
            bRan = true;
            act(dialog);
            dialog.close();
        });
        return WithVersionDialog([](CVersionDlg& dialog) { ClickOn(dialog, CVersionDlg::kIdFirmwareUpdate); }) &&
               bRan;
    }

    template <typename T = QWidget>
    static T* Find(QWidget& dialog, int nId)
    {
        return FindControl<T>(dialog, nId);
    }

    static void ClickOn(QWidget& dialog, int nId)
    {
        if (QWidget* pWidget = Find(dialog, nId))
            QTest::mouseClick(pWidget, Qt::LeftButton, {}, pWidget->rect().center());
    }

    static QString Status(CUpgradeDlg& dialog)
    {
        return Find<CTransparentStatic>(dialog, CUpgradeDlg::kIdStatus)->GetText();
    }

    // The file typed into the edit, then Update.
    void Update(CUpgradeDlg& dialog, const QString& strFile)
    {
        Find<QLineEdit>(dialog, CUpgradeDlg::kIdFile)->setText(m_dir.filePath(strFile));
        ClickOn(dialog, CUpgradeDlg::kIdUpdate);
    }

    bool WaitStatus(CUpgradeDlg& dialog, const QString& strStatus, int nTimeoutMs = 60000)
    {
        return QTest::qWaitFor([&] { return Status(dialog) == strStatus; }, nTimeoutMs);
    }

    // Runs the event loop for nMs; the longest gap between two ticks of a
    // 5 ms timer, in milliseconds.
    static qint64 LongestStallMs(int nMs)
    {
        QElapsedTimer clock;
        clock.start();
        qint64 nLast = 0;
        qint64 nLongest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            nLongest = std::max(nLongest, clock.elapsed() - nLast);
            nLast = clock.elapsed();
        });
        tick.start(5);
        QTest::qWait(nMs);
        return std::max(nLongest, clock.elapsed() - nLast);
    }

    int StepCount(int nStep) const
    {
        int n = 0;
        for (const RawFrame& f : m_pDevice->ReceivedFrames())
            n += (f.size() > 8 && f[kFoKind] == kKindSystem && f[kFoChannel] == nStep) ? 1 : 0;
        return n;
    }
};
