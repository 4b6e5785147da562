// The program manager against the virtual processor: opening, the list,
// naming and storing, recalling and deleting programs, its keyboard rules,
// and the progress window over it.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "BoxAnswerer.h"
#include "ButtonRadio.h"
#include "FontStatic.h"
#include "KTV_Data.h"
#include "PresetFile.h"
#include "ProgramFixture.h"
#include "SkinFader.h"
#include "SxGroupBox.h"

namespace {

constexpr int kName = CProgramDlg::kIdName;

QTableWidget* List(CProgramDlg& dialog)
{
    return dialog.findChild<QTableWidget*>(ControlName(CProgramDlg::kIdList));
}

QString RowName(CProgramDlg& dialog, int nProgram)
{
    return List(dialog)->item(nProgram - 1, 1)->text();
}

void ClickRow(CProgramDlg& dialog, int nProgram)
{
    QTableWidget* pList = List(dialog);
    pList->scrollToItem(pList->item(nProgram - 1, 0));
    const QRect cell = pList->visualItemRect(pList->item(nProgram - 1, 1));
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, cell.center());
}

void TypeName(CProgramDlg& dialog, const QString& strName)
{
    auto* pField = dialog.findChild<QLineEdit*>(ControlName(kName));
    pField->clear();
    for (const QChar ch : strName)  // keyClicks knows the keys of ASCII only
        QTest::sendKeyEvent(QTest::Click, pField, Qt::Key_unknown, QString(ch), {});
}

}  // namespace

class ProgramDlgTest : public ProgramTest {
protected:
    // Programs 1 … 10 named on the processor, then connected.
    bool ConnectWithPrograms(const std::vector<std::string>& names)
    {
        for (size_t i = 0; i < names.size(); ++i)
            m_pDevice->SetSceneProgram(static_cast<int>(i) + 1,
                                       NamedImage(names[i].c_str(), static_cast<uint8_t>(20 + i)));
        return ConnectOnline();
    }
    // Frames that would change a program on the processor.
    int ProgramWrites() const
    {
        int n = 0;
        for (const RawFrame& f : Sent())
            n += (f[kFoCommand] == kCmdWrite && f[kFoPreset] >= 1 && f[kFoPreset] <= 10) ? 1 : 0;
        return n;
    }
};

TEST_F(ProgramDlgTest, OpenedBeforeTheFullReadShowsNoNamesAndOnlyThePcGroup)
{
    std::memcpy(State().SceneEntry(2), "Stale", 5);
    const bool bOpened = WithProgramDialog([this](CProgramDlg& dialog) {
        EXPECT_EQ(View().ProgramDialog(), &dialog);
        for (int n = 1; n <= 10; ++n)
            EXPECT_EQ(RowName(dialog, n), "") << n;
        for (int nId : {CProgramDlg::kIdName, CProgramDlg::kIdStore, CProgramDlg::kIdRecall, CProgramDlg::kIdDelete})
            EXPECT_FALSE(In(dialog, nId)->isEnabled()) << nId;
        for (int nId : {CProgramDlg::kIdPcRecall, CProgramDlg::kIdPcStore, CProgramDlg::kIdRecallAll,
                        CProgramDlg::kIdStoreOne})
            EXPECT_TRUE(In(dialog, nId)->isEnabled()) << nId;
        EXPECT_EQ(In<CFontStatic>(dialog, CProgramDlg::kIdNumber)->text(), "1");
        EXPECT_EQ(dialog.SelectedProgram(), 1);
    });
    EXPECT_TRUE(bOpened);
    EXPECT_EQ(View().ProgramDialog(), nullptr) << "the view forgets the dialog once it is closed";
}

TEST_F(ProgramDlgTest, WindowAndListFollowTheTemplate)
{
    EXPECT_TRUE(WithProgramDialog([](CProgramDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Program");
        EXPECT_EQ(dialog.size(), QSize(505, 348));
        EXPECT_TRUE(dialog.findChildren<QPushButton*>(QStringLiteral("ctl1")).isEmpty()) << "no OK button";
        EXPECT_EQ(In(dialog, CProgramDlg::kIdDeviceGroup)->geometry(), QRect(10, 10, 254, 300));
        EXPECT_EQ(In(dialog, kName)->geometry(), QRect(126, 36, 126, 24));
        EXPECT_EQ(In(dialog, CProgramDlg::kIdStoreAll)->geometry(), QRect(298, 170, 202, 20));
        QTableWidget* pList = List(dialog);
        EXPECT_EQ(pList->geometry(), QRect(22, 66, 230, 200));
        EXPECT_EQ(pList->columnWidth(0), 30);
        EXPECT_EQ(pList->columnWidth(1), 176);
        EXPECT_EQ(pList->horizontalHeaderItem(0)->text(), "ID");
        EXPECT_EQ(pList->horizontalHeaderItem(1)->text(), "Name");
        EXPECT_EQ(pList->item(9, 0)->text(), "10");
        EXPECT_EQ(pList->item(4, 1)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(pList->palette().color(QPalette::Base), QColor(0xF7, 0xF7, 0xFF));
        EXPECT_EQ(pList->item(0, 0)->foreground().color(), QColor(0, 0, 0xFF));
        EXPECT_TRUE(pList->showGrid());
        EXPECT_EQ(pList->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(qobject_cast<QLineEdit*>(In(dialog, kName))->maxLength(), 13);
    }));
}

TEST_F(ProgramDlgTest, ChineseCaptions)
{
    StartApp(true);
    EXPECT_TRUE(WithProgramDialog([](CProgramDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "程序");
        EXPECT_EQ(In<CSxGroupBox>(dialog, CProgramDlg::kIdDeviceGroup)->text(), "设备程序");
        EXPECT_EQ(In<CSxGroupBox>(dialog, CProgramDlg::kIdPcGroup)->text(), "电脑程序");
        EXPECT_EQ(In<CFontStatic>(dialog, CProgramDlg::kIdIdLabel)->text(), "组号：");
        EXPECT_EQ(In<CFontStatic>(dialog, CProgramDlg::kIdNameLabel)->text(), "组名：");
        EXPECT_EQ(List(dialog)->horizontalHeaderItem(1)->text(), "组名");
        EXPECT_EQ(In<QPushButton>(dialog, CProgramDlg::kIdStore)->text(), "存储");
        EXPECT_EQ(In<QPushButton>(dialog, CProgramDlg::kIdPcRecall)->text(), "调用");
        EXPECT_EQ(In<QPushButton>(dialog, CProgramDlg::kIdDelete)->text(), "删除");
        EXPECT_EQ(In<CButtonRadio>(dialog, CProgramDlg::kIdRecallAll)->text(), "从电脑调用所有组数据");
        EXPECT_EQ(In<CButtonRadio>(dialog, CProgramDlg::kIdStoreOne)->text(), "存储单组数据到电脑");
    }));
}

TEST_F(ProgramDlgTest, ClickingARowShowsItsNumberAndName)
{
    ASSERT_TRUE(ConnectWithPrograms({"Lounge", "Bar"}));
    EXPECT_TRUE(WithProgramDialog([](CProgramDlg& dialog) {
        EXPECT_TRUE(In(dialog, kName)->isEnabled());
        EXPECT_EQ(RowName(dialog, 1), "Lounge");
        EXPECT_EQ(In<QLineEdit>(dialog, kName)->text(), "Lounge");
        ClickRow(dialog, 2);
        EXPECT_EQ(dialog.SelectedProgram(), 2);
        EXPECT_EQ(In<QLineEdit>(dialog, kName)->text(), "Bar");
        EXPECT_EQ(In<CFontStatic>(dialog, CProgramDlg::kIdNumber)->text(), "2");
    }));
}

// "ABC" comes back from the processor padded with spaces; typed, with or
// without a trailing space, it is still the same name.
TEST_F(ProgramDlgTest, StoreRefusesEmptyBlankAndTakenNamesAndSendsNothing)
{
    ASSERT_TRUE(ConnectWithPrograms({"Lounge", "ABC"}));
    m_pDevice->ClearReceivedFrames();
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        auto* pField = In<QLineEdit>(dialog, kName);
        TypeName(dialog, "");
        ClickIn(dialog, CProgramDlg::kIdStore);
        TypeName(dialog, "   ");
        ClickIn(dialog, CProgramDlg::kIdStore);
        EXPECT_EQ(pField->text(), "");
        for (const char* szTaken : {"ABC", "ABC "}) {
            TypeName(dialog, szTaken);
            ClickIn(dialog, CProgramDlg::kIdStore);
            EXPECT_EQ(pField->text(), "") << "a taken name is cleared";
            EXPECT_EQ(dialog.focusWidget(), pField) << "and given the focus";
        }
        EXPECT_EQ(RowName(dialog, 1), "Lounge");
    }));
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_messages, (std::vector<std::string>{"The name can not be empty!", "The name can not be all spaces!",
                                                    "Have been the same name!", "Have been the same name!"}));
    EXPECT_EQ(ProgramWrites(), 0);
    EXPECT_EQ(BytesToName(State().SceneEntry(1), kNameSize), "Lounge");
}

// The processor keeps printable ASCII only: the field takes nothing else,
// so the list, the form and the processor show one name.
TEST_F(ProgramDlgTest, NamesTakePrintableAsciiOnly)
{
    ASSERT_TRUE(ConnectWithPrograms({"Lounge"}));
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        TypeName(dialog, QString::fromUtf8("Café 1"));
        EXPECT_EQ(In<QLineEdit>(dialog, kName)->text(), "Caf 1");
        ClickIn(dialog, CProgramDlg::kIdStore);
        EXPECT_TRUE(Drain());
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isEnabled(); }, 3000));
    }));
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "Caf 1");
    EXPECT_EQ(NameOf(m_pDevice->SceneProgram(1)), "Caf 1");
}

TEST_F(ProgramDlgTest, StoreHallInProgramThreeReachesTheProcessor)
{
    ASSERT_TRUE(ConnectWithPrograms({"One", "Two", "Three"}));
    Data().Output(0).SetLevel(37);
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickRow(dialog, 3);
        TypeName(dialog, "Hall");
        ClickIn(dialog, CProgramDlg::kIdStore);
        EXPECT_EQ(RowName(dialog, 3), "Hall");
        EXPECT_TRUE(Drain());
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isEnabled(); }, 3000));
    }));
    const std::vector<uint8_t> program = m_pDevice->SceneProgram(3);
    EXPECT_EQ(NameOf(program), "Hall");
    EXPECT_EQ(program[kOffOutput + kOffLevel], 37) << "the live settings went with it";
    EXPECT_EQ(BytesToName(State().m_LiveImage, kNameSize), "Hall");
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "Hall");
    EXPECT_TRUE(m_messages.empty());
}

// The link is held off while the level changes and Store is pressed, so
// the edit is still marked when the scene goes out: it travels with the
// scene and must not follow it as a later edit that blanks the name.
TEST_F(ProgramDlgTest, AnEditNotYetSentWhenStoringKeepsTheStoredName)
{
    ASSERT_TRUE(ConnectWithPrograms({"One", "Two", "Three"}));
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickRow(dialog, 3);
        TypeName(dialog, "Hall");
        {
            CommLock lock(State().m_csComm);
            Data().Output(0).SetLevel(41);
            ClickIn(dialog, CProgramDlg::kIdStore);
        }
        EXPECT_TRUE(Drain());
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isEnabled(); }, 3000));
    }));
    EXPECT_EQ(m_pDevice->SceneProgram(3)[kOffOutput + kOffLevel], 41);
    EXPECT_EQ(BytesToName(m_pDevice->LiveImage().data(), kNameSize), "Hall");
    EXPECT_EQ(BytesToName(State().m_LiveImage, kNameSize), "Hall");
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "Hall");
}

TEST_F(ProgramDlgTest, RecallThreeLoadsTheProgramIntoModelAndForm)
{
    ASSERT_TRUE(ConnectWithPrograms({"One", "Two", "Club"}));
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickRow(dialog, 3);
        ClickIn(dialog, CProgramDlg::kIdRecall);
        EXPECT_TRUE(QTest::qWaitFor([this] { return State().m_bOnline.load() != 0; }, 5000));
        EXPECT_TRUE(Drain());
    }));
    EXPECT_EQ(Data().Output(0).GetLevel(), 22);
    EXPECT_EQ(Ctl<CSkinFader>(8650)->GetPosInverted(), 22);
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "Club");
    EXPECT_EQ(m_pDevice->LiveImage()[kOffOutput + kOffLevel], 22) << "the processor recalled it too";
}

TEST_F(ProgramDlgTest, DeleteSendsAnEmptyNameForThatProgramOnly)
{
    ASSERT_TRUE(ConnectWithPrograms({"One", "Two", "Three", "Four"}));
    m_pDevice->ClearReceivedFrames();
    BoxAnswerer answers({QMessageBox::Ok});
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickRow(dialog, 4);
        ClickIn(dialog, CProgramDlg::kIdDelete);
        EXPECT_EQ(RowName(dialog, 4), "");
        EXPECT_EQ(In<QLineEdit>(dialog, kName)->text(), "");
        EXPECT_TRUE(Drain());
    }));
    ASSERT_EQ(answers.m_asked.size(), 1u);
    EXPECT_EQ(answers.m_asked[0], "Are you delete this Data?");
    std::vector<RawFrame> nameWrites;
    for (const RawFrame& f : Sent())
        if (f[kFoCommand] == kCmdWrite && f[kFoKind] == kKindSystem && f[kFoChannel] == kItemSceneName)
            nameWrites.push_back(f);
    ASSERT_EQ(nameWrites.size(), 1u);
    EXPECT_EQ(nameWrites[0][kFoPreset], 4);
    EXPECT_EQ(RawFrame(nameWrites[0].begin() + kFoPayload, nameWrites[0].begin() + kFoPayload + kNameSize),
              RawFrame(kNameSize, 0));
    EXPECT_EQ(NameOf(m_pDevice->SceneProgram(4)), "");
    EXPECT_EQ(m_pDevice->SceneProgram(4)[kOffOutput + kOffLevel], 23) << "its blocks stay";
}

TEST_F(ProgramDlgTest, UpAndDownNeverLeaveOneToTen)
{
    EXPECT_TRUE(WithProgramDialog([](CProgramDlg& dialog) {
        QTableWidget* pList = List(dialog);
        pList->setFocus();
        QTest::keyClick(pList, Qt::Key_Up);
        EXPECT_EQ(dialog.SelectedProgram(), 1);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(pList, Qt::Key_Down);
        EXPECT_EQ(dialog.SelectedProgram(), 10);
        EXPECT_EQ(pList->currentRow(), 9);
        EXPECT_EQ(In<CFontStatic>(dialog, CProgramDlg::kIdNumber)->text(), "10");
        QTest::keyClick(pList, Qt::Key_Up);
        EXPECT_EQ(dialog.SelectedProgram(), 9);
    }));
}

// Keys go to the control directly: the window need not be active.
TEST_F(ProgramDlgTest, EnterAndEscapeOnlyMoveTheFocusAndTabStays)
{
    ASSERT_TRUE(ConnectOnline());
    AnswerFiles("");  // a pressed PC button would ask for a file
    EXPECT_TRUE(WithProgramDialog([](CProgramDlg& dialog) {
        QWidget* pField = In(dialog, kName);
        pField->setFocus();
        QTest::keyClick(pField, Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), pField) << "Tab does not move between controls";
        QTest::keyClick(pField, Qt::Key_Return);
        EXPECT_EQ(dialog.focusWidget(), &dialog);
        pField->setFocus();
        QTest::keyClick(pField, Qt::Key_Escape);
        EXPECT_EQ(dialog.focusWidget(), &dialog);
        QTest::keyClick(In(dialog, CProgramDlg::kIdPcStore), Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
    }));
    EXPECT_TRUE(m_requests.empty()) << "Enter on a button pressed nothing";
}

TEST_F(ProgramDlgTest, ProgressWindowDisablesTheDialogDuringStoreAll)
{
    ASSERT_TRUE(ConnectOnline());
    VirtualFaults slow;
    slow.nDelayMs = 10;  // the 70 reads then take long enough to be seen
    m_pDevice->SetFaults(slow);
    AnswerFiles("backup");
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickIn(dialog, CProgramDlg::kIdPcStore);
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isEnabled(); }, 2000));
        EXPECT_TRUE(View().isEnabled()) << "the form stays as the modal dialog left it";
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isEnabled(); }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([this] { return QFile::exists(m_dir.filePath("backup.ZR4AC")); }, 2000));
    }));
    EXPECT_EQ(QFileInfo(m_dir.filePath("backup.ZR4AC")).size(), static_cast<qint64>(kAllScenesFileSize));
}
