#include <filesystem>
#include <vector>

#include "LiveSnapshot.h"
#include "PresetFile.h"
#include "SessionFixture.h"

namespace fs = std::filesystem;

class LiveRestoreTest : public SessionTest {
protected:
    // The state before, brought back whole, and the processor holding it.
    void UndoAndCompare(const CLiveSnapshot& before, const std::vector<uint8_t>& deviceBefore)
    {
        ASSERT_NE(m_pDevice->LiveImage(), deviceBefore) << "the step changed nothing on the processor";
        ASSERT_TRUE(m_pSession->RestoreLiveState(before));
        ASSERT_TRUE(Pump([this] { return Seen(kMsgBatchProgress, 1) >= 1; }));
        ASSERT_TRUE(Drain());
        EXPECT_EQ(m_pDevice->LiveImage(), deviceBefore);
        EXPECT_EQ(CLiveSnapshot::Capture(Data()), before);
    }
};

TEST_F(LiveRestoreTest, UndoingARecallPutsTheLiveImageBack)
{
    ASSERT_TRUE(ConnectOnline());
    Data().Output(1).SetLevel(33);
    Data().Output(4).EQ()[7].SetGainCode(280);
    ASSERT_TRUE(Drain());
    const CLiveSnapshot before = CLiveSnapshot::Capture(Data());
    const std::vector<uint8_t> deviceBefore = m_pDevice->LiveImage();

    std::vector<uint8_t> program = m_pDevice->SceneProgram(4);
    PutWord(program.data() + kOffOutput + 5 * kOutBlockSize + 250, 12);
    m_pDevice->SetSceneProgram(4, program);
    ASSERT_TRUE(m_pSession->ReadScene(4));
    ASSERT_TRUE(Pump([this] { return State().m_bOnline.load() != 0; }));
    ASSERT_TRUE(Drain());
    m_seen.clear();
    UndoAndCompare(before, deviceBefore);
}

TEST_F(LiveRestoreTest, UndoingAFileLoadPutsTheLiveImageBack)
{
    const fs::path file = fs::path(::testing::TempDir()) / "undo-load.ZR4C";
    Data().Output(2).SetMute(1);
    Data().Output(0).EQ().HighPass().SetFrequency(180, true);
    ASSERT_TRUE(SaveSceneFile(Data(), file).bOk);
    ASSERT_TRUE(ConnectOnline());
    const CLiveSnapshot before = CLiveSnapshot::Capture(Data());
    const std::vector<uint8_t> deviceBefore = m_pDevice->LiveImage();

    {
        CommLock lock(State().m_csComm);
        ASSERT_TRUE(LoadSceneFile(Data(), file).bOk);
        m_pSession->SetSceneName(SceneTitle(file));
        ASSERT_TRUE(m_pSession->WriteScene(0, false));
    }
    ASSERT_TRUE(Pump([this] { return Seen(kMsgBatchProgress, 1) >= 1; }));
    ASSERT_TRUE(Drain());
    m_seen.clear();
    UndoAndCompare(before, deviceBefore);
    fs::remove(file);
}
