// The view's preset-file commands: scene, all scenes and listening-position
// files, their dialogs, their failures, and the program manager's PC group.
#include <QFileDialog>
#include <QLineEdit>
#include <QTableWidget>

#include "DelayTable.h"
#include "KTV_Data.h"
#include "Notify.h"
#include "PresetFile.h"
#include "ProgramFixture.h"
#include "TransparentStatic.h"
#include "XPButton.h"

class FileCommandsTest : public ProgramTest {
protected:
    std::vector<uint8_t> FileBytes(const QString& strName)
    {
        const auto bytes = ReadFileBytes(m_dir.filePath(strName).toStdString(), kAllScenesFileSize);
        return bytes ? *bytes : std::vector<uint8_t>();
    }
    std::vector<uint8_t> Live()
    {
        ModelLock lock(State().m_csModel);
        return std::vector<uint8_t>(State().m_LiveImage, State().m_LiveImage + kImageSize);
    }
};

TEST_F(FileCommandsTest, FileDialogsStartInDataFileWithTheirFilters)
{
    AnswerFiles("");  // every dialog cancelled
    EXPECT_FALSE(View().SaveScene());
    EXPECT_FALSE(View().LoadScene());
    EXPECT_FALSE(View().SavePosition());
    EXPECT_FALSE(View().LoadPosition());
    ASSERT_TRUE(ConnectOnline());
    EXPECT_FALSE(View().SaveAllScenes());
    EXPECT_FALSE(View().LoadAllScenes());
    ASSERT_EQ(m_requests.size(), 6u);
    const char* kFilters[] = {"*.ZR4C", "*.ZR4C", "*.Mode_C", "*.Mode_C", "*.ZR4AC", "*.ZR4AC"};
    for (size_t i = 0; i < m_requests.size(); ++i) {
        EXPECT_EQ(m_requests[i].bSave, i % 2 == 0) << i;
        EXPECT_EQ(m_requests[i].strFilter, kFilters[i]);
        EXPECT_EQ(m_requests[i].strDefault, m_dir.path() + "/DataFile/" + kFilters[i]);
    }
    EXPECT_TRUE(m_messages.empty()) << "cancelling is silent";
}

TEST_F(FileCommandsTest, AllScenesCommandsWantALinkBeforeAskingForAFile)
{
    AnswerFiles("backup");
    EXPECT_FALSE(View().SaveAllScenes());
    EXPECT_FALSE(View().LoadAllScenes());
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(m_messages, (std::vector<std::string>{"UnConnection", "UnConnection"}));
    EXPECT_EQ(m_messageKinds, std::vector<MessageKind>(2, MessageKind::kNotice)) << "no box closes itself";
}

TEST_F(FileCommandsTest, SavingAsStudioWritesStudioZR4CAndNamesTheScene)
{
    AnswerFiles("DataFile/studio");
    ASSERT_TRUE(View().SaveScene());
    EXPECT_EQ(QFileInfo(m_dir.filePath("DataFile/studio.ZR4C")).size(), static_cast<qint64>(kSceneFileSize));
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "studio");
    EXPECT_EQ(BytesToName(State().m_LiveImage, kNameSize), "studio");
}

TEST_F(FileCommandsTest, LongFileTitleGivesAThirteenCharacterName)
{
    AnswerFiles("abcdefghijklmnopqrst.ZR4C");
    ASSERT_TRUE(View().SaveScene());
    EXPECT_TRUE(QFile::exists(m_dir.filePath("abcdefghijklmnopqrst.ZR4C"))) << "an extension given is kept";
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "abcdefghijklm");
}

TEST_F(FileCommandsTest, LoadedSceneGoesLiveOnTheProcessorInsideTheMuteBracket)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(0).SetLevel(41);
    AnswerFiles("night");
    ASSERT_TRUE(View().SaveScene());
    Data().Output(0).SetLevel(12);
    ASSERT_TRUE(Drain());
    m_pDevice->ClearReceivedFrames();
    AnswerFiles("night.ZR4C");
    ASSERT_TRUE(View().LoadScene());
    ASSERT_TRUE(Drain());
    EXPECT_EQ(Data().Output(0).GetLevel(), 41);
    EXPECT_EQ(Ctl<QLineEdit>(1002)->text(), "night");
    EXPECT_EQ(m_pDevice->LiveImage()[kOffOutput + kOffLevel], 41);
    EXPECT_EQ(CountWrites(kKindOutput, 5, kCmdWrite), 3) << "muted, written, restored";
    EXPECT_EQ(BytesToName(m_pDevice->LiveImage().data(), kNameSize), "night");
}

TEST_F(FileCommandsTest, SceneFileWithAnotherTagShowsTheReadErrorAndChangesNothing)
{
    ASSERT_TRUE(ConnectOnline());
    ASSERT_TRUE(WriteFile("other.ZR4C", Tagged("ZR471_File", kImageSize)));  // the right length
    const std::vector<uint8_t> before = Live();
    const int nLevel = Data().Output(0).GetLevel();
    m_pDevice->ClearReceivedFrames();
    AnswerFiles("other.ZR4C");
    EXPECT_FALSE(View().LoadScene());
    ASSERT_TRUE(Drain());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Read MusicFile  Error"});
    EXPECT_EQ(Live(), before);
    EXPECT_EQ(Data().Output(0).GetLevel(), nLevel);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(FileCommandsTest, StoreAllThenRecallAllRoundTripsProgramsAndLiveSettings)
{
    for (int n = 1; n <= 10; ++n)
        m_pDevice->SetSceneProgram(n, NamedImage(("Prog " + std::to_string(n)).c_str(), static_cast<uint8_t>(n)));
    m_pDevice->SetLiveImage(NamedImage("Live", 44));
    ASSERT_TRUE(ConnectOnline());
    std::vector<std::vector<uint8_t>> programs;
    for (int n = 1; n <= 10; ++n)
        programs.push_back(m_pDevice->SceneProgram(n));
    AnswerFiles("backup");
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickIn(dialog, CProgramDlg::kIdPcStore);  // "Store all data to PC" is the first choice
        EXPECT_TRUE(QTest::qWaitFor([this] { return QFile::exists(m_dir.filePath("backup.ZR4AC")); }, 10000));
    }));
    const std::vector<uint8_t> file = FileBytes("backup.ZR4AC");
    ASSERT_EQ(file.size(), kAllScenesFileSize);
    const std::vector<uint8_t> savedLive(file.end() - kDelayTableSize - kImageSize, file.end() - kDelayTableSize);

    for (int n = 1; n <= 10; ++n)
        m_pDevice->SetSceneProgram(n, FactoryImage());
    Data().Output(0).SetLevel(5);
    ASSERT_TRUE(Drain());
    AnswerFiles("backup.ZR4AC");
    EXPECT_TRUE(WithProgramDialog([this](CProgramDlg& dialog) {
        ClickIn(dialog, CProgramDlg::kIdPcRecall);
        EXPECT_TRUE(Drain());
        EXPECT_EQ(dialog.findChild<QTableWidget*>(ControlName(CProgramDlg::kIdList))->item(6, 1)->text(), "Prog 7");
    }));
    for (int n = 1; n <= 10; ++n) {
        const std::vector<uint8_t> program = m_pDevice->SceneProgram(n);
        EXPECT_EQ(NameOf(program), "Prog " + std::to_string(n));
        EXPECT_TRUE(std::equal(program.begin() + kOffMusic, program.end(), programs[n - 1].begin() + kOffMusic))
            << "program " << n;
    }
    const std::vector<uint8_t> live = m_pDevice->LiveImage();
    EXPECT_TRUE(std::equal(live.begin() + kOffOutput, live.end(), savedLive.begin() + kOffOutput));
    EXPECT_EQ(Data().Output(0).GetLevel(), 44);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FileCommandsTest, OlderAllScenesTagKeepsTheModelAndTheDelays)
{
    ASSERT_TRUE(ConnectOnline());
    std::vector<uint8_t> file = Tagged("ZR470_ALLFile", kSceneStoreBytes);
    std::memcpy(file.data() + 1 + 13, "Old one", 7);
    ASSERT_TRUE(WriteFile("old.ZR4AC", file));
    SetPositionDelay(State(), 2, 3, 300);
    const std::vector<uint8_t> delays(State().m_DelayTable, State().m_DelayTable + kDelayTableSize);
    const int nLevel = Data().Output(0).GetLevel();
    AnswerFiles("old.ZR4AC");
    ASSERT_TRUE(View().LoadAllScenes());
    EXPECT_EQ(BytesToName(State().SceneEntry(1), kNameSize), "Old one");
    EXPECT_EQ(std::vector<uint8_t>(State().m_DelayTable, State().m_DelayTable + kDelayTableSize), delays);
    EXPECT_EQ(Data().Output(0).GetLevel(), nLevel);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(NameOf(m_pDevice->SceneProgram(1)), "Old one");
}

TEST_F(FileCommandsTest, SavedPositionLoadedElsewhereBecomesCurrentAgain)
{
    for (int k = 0; k < 6; ++k)
        SetPositionDelay(State(), 1, k, 100 + k);
    Click(2067);
    AnswerFiles("front");
    ASSERT_TRUE(View().SavePosition());
    Click(2069);
    for (int k = 0; k < 6; ++k)
        SetPositionDelay(State(), 1, k, 0);
    AnswerFiles("front.Mode_C");
    ASSERT_TRUE(View().LoadPosition());
    EXPECT_EQ(GetCurrentPosition(State()), 1);
    EXPECT_TRUE(Ctl<CXPButton>(2067)->IsPressed());
    EXPECT_FALSE(Ctl<CXPButton>(2069)->IsPressed());
    EXPECT_EQ(GetPositionDelay(State(), 1, 5), 105);
    EXPECT_EQ(Ctl<CTransparentStatic>(8960)->text(), "2.083ms");
}

TEST_F(FileCommandsTest, PositionFileWithAnotherTagIsRefused)
{
    ASSERT_TRUE(WriteFile("bad.Mode_C", Tagged("Mode_Fila", 13)));
    AnswerFiles("bad.Mode_C");
    EXPECT_FALSE(View().LoadPosition());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Read Mode File  Error"});
}

// The failure stops the link thread while the dialog's loop runs; a command
// holding the comm lock there would leave that thread waiting for it for ever.
TEST_F(FileCommandsTest, LinkFailureWhileAFileDialogIsOpenDoesNotHang)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(0).SetLevel(52);
    AnswerFiles("scene");
    ASSERT_TRUE(View().SaveScene());
    Prompts().m_askFile = [this](const FileDialogRequest&) {
        State().m_pNotifySink.load()->Post(kMsgUsbFailure, 0, 0);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !View().IsConnected(); }, 5000));
        return m_dir.filePath("scene.ZR4C");
    };
    Data().Output(0).SetLevel(3);
    EXPECT_TRUE(View().LoadScene());
    EXPECT_EQ(m_messages, std::vector<std::string>{"Connection failure!"});
    EXPECT_EQ(Data().Output(0).GetLevel(), 52) << "the file still loads into the model";
}

TEST_F(FileCommandsTest, SaveDialogTakesANewFileName)
{
    Prompts().m_askFile = nullptr;
    bool bChecked = false;
    OnNextModal<QFileDialog>([this, &bChecked](QFileDialog& dialog) {
        bChecked = true;
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(m_dir.filePath("DataFile")).canonicalPath());
        // Typed, as a user does: selectFile() leaves the name field alone
        // once it has the focus, which depends on how fast the window shows.
        QLineEdit* pName = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(pName, nullptr);
        pName->setText("fresh");
        static_cast<QDialog&>(dialog).accept();  // public there, the file dialog's own is protected
    });
    EXPECT_TRUE(View().SaveScene());
    EXPECT_TRUE(bChecked);
    EXPECT_TRUE(QFile::exists(m_dir.filePath("DataFile/fresh.ZR4C")));
}

TEST_F(FileCommandsTest, OpenDialogWantsAnExistingFile)
{
    Prompts().m_askFile = nullptr;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    OnNextModal<QFileDialog>([&mode](QFileDialog& dialog) {
        mode = dialog.fileMode();
        dialog.reject();
    });
    EXPECT_FALSE(View().LoadScene());
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FileCommandsTest, ASaveOntoAFolderSaysWhy)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("taken.ZR4C"));
    AnswerFiles("taken");
    EXPECT_FALSE(View().SaveScene());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].rfind("Save MusicFile Error!\n", 0), 0u) << m_messages[0];
    EXPECT_NE(m_messages[0].find("taken.ZR4C: "), std::string::npos) << m_messages[0];
    EXPECT_TRUE(QFileInfo(m_dir.filePath("taken.ZR4C")).isDir());
}
