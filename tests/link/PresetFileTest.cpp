#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "DataDefine.h"
#include "ModelFixture.h"
#include "PresetFile.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

// The failure as the user reads it, in the language of the moment.
std::string Message(const PresetFileResult& result)
{
    return PresetFileErrorText(result.error);
}

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Tagged(const std::string& strTag, size_t nPayload, uint8_t nFill)
{
    Bytes bytes(1 + strTag.size() + nPayload, nFill);
    bytes[0] = static_cast<uint8_t>(strTag.size());
    std::memcpy(bytes.data() + 1, strTag.data(), strTag.size());
    return bytes;
}

Bytes PositionFile(uint8_t nPosition, const std::vector<int>& delays)
{
    Bytes bytes = Tagged("Mode_File", 0, 0);
    bytes.push_back(nPosition);
    for (int nDelay : delays) {
        bytes.push_back(static_cast<uint8_t>(nDelay & 0xFF));
        bytes.push_back(static_cast<uint8_t>(nDelay >> 8));
    }
    return bytes;
}

Bytes Region(const uint8_t* pData, size_t nBytes)
{
    return Bytes(pData, pData + nBytes);
}

int DelayOf(CProcessorState& state, int nPosition, int nOutput)
{
    return GetWord(state.m_DelayTable + kPositionDelayBytes * nPosition + 2 * nOutput);
}

// Everything a preset file can touch.
struct Shared {
    Bytes live;
    Bytes store;
    Bytes delays;
    bool operator==(const Shared&) const = default;
};

Shared Capture(CProcessorState& state)
{
    return {Region(state.m_LiveImage, kImageSize), Region(state.SceneEntry(1), kSceneStoreBytes),
            Region(state.m_DelayTable, kDelayTableSize)};
}

// Lowers the file size limit so that writes beyond it fail (EFBIG) even for
// root, who may write into any directory.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t nBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        m_bActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool Active() const { return m_bActive; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_bActive = false;
};

}  // namespace

class PresetFileTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        const auto* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("zr470-presets-" + std::to_string(getpid()) + "-" + pInfo->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::remove_all(m_dir);
        ModelTest::TearDown();
    }

    // The program as just started: default data areas, a model never edited.
    void FreshModel()
    {
        m_pData.reset();
        m_pData = std::make_unique<CKTV_Data>();
    }

    void EditEverything()
    {
        Data().Output(1).EQ()[3].SetGainCode(123);
        Data().Output(2).SetDelay(480);
        ASSERT_TRUE(Data().Output(4).SetName("Sub"));
        std::mt19937 random(470);
        for (size_t i = 0; i < kSceneStoreBytes; ++i)
            State().SceneEntry(1)[i] = static_cast<uint8_t>(random());
        for (int i = 0; i < kDelayPositions * kOutputs; ++i)
            PutWord(State().m_DelayTable + 2 * i, 40 * i);
        State().m_DelayTable[kDelaySelectedByte] = 2;
    }

    // The data areas with the live image brought up to date from the model.
    Shared Settled()
    {
        Data().FillAll();
        return Capture(State());
    }

    // A failed load leaves the data areas and the model as they were.
    void ExpectNothingChanged(const Shared& before)
    {
        EXPECT_TRUE(Capture(State()) == before);
        Data().FillAll();
        EXPECT_TRUE(Capture(State()) == before) << "the model changed";
    }

    fs::path m_dir;
};

TEST_F(PresetFileTest, SceneRoundTripIntoFreshModel)
{
    EditEverything();
    const PresetFileResult saved = SaveSceneFile(Data(), m_dir / "studio");
    ASSERT_TRUE(saved.bOk) << Message(saved);
    EXPECT_EQ(saved.path, m_dir / "studio.ZR4C");
    EXPECT_EQ(SceneTitle(saved.path), "studio");
    const Bytes file = ReadAll(saved.path);
    ASSERT_EQ(file.size(), 2195u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 11), Tagged("ZR470_File", 0, 0));

    FreshModel();
    State().m_bOnline = 1;
    Data().Output(0).SetDelay(7);  // a pending edit the loaded scene replaces
    const PresetFileResult loaded = LoadSceneFile(Data(), saved.path);
    ASSERT_TRUE(loaded.bOk) << Message(loaded);
    EXPECT_TRUE(loaded.bModelLoaded);
    EXPECT_EQ(Region(State().m_LiveImage, kImageSize), Bytes(file.begin() + 11, file.end()));
    EXPECT_EQ(Data().Output(1).EQ()[3].GetGainCode(), 123);
    EXPECT_EQ(Data().Output(4).GetName(), "Sub");
    EXPECT_EQ(Data().Output(0).GetMiscMark(), 0);
    State().m_bOnline = 0;

    const PresetFileResult again = SaveSceneFile(Data(), m_dir / "again.ZR4C");
    ASSERT_TRUE(again.bOk);
    EXPECT_EQ(again.path, m_dir / "again.ZR4C");
    EXPECT_EQ(ReadAll(again.path), file);
}

TEST_F(PresetFileTest, AllScenesRoundTripIntoFreshModel)
{
    EditEverything();
    const Shared edited = Capture(State());
    const PresetFileResult saved = SaveAllScenesFile(Data(), m_dir / "backup");
    ASSERT_TRUE(saved.bOk) << Message(saved);
    EXPECT_EQ(saved.path, m_dir / "backup.ZR4AC");
    const Bytes file = ReadAll(saved.path);
    ASSERT_EQ(file.size(), 45928u);

    FreshModel();
    const PresetFileResult loaded = LoadAllScenesFile(Data(), saved.path);
    ASSERT_TRUE(loaded.bOk) << Message(loaded);
    EXPECT_TRUE(loaded.bModelLoaded);
    EXPECT_EQ(Region(State().SceneEntry(1), kSceneStoreBytes), edited.store);
    EXPECT_EQ(Region(State().m_DelayTable, kDelayTableSize), edited.delays);
    EXPECT_EQ(Data().Output(2).GetDelay(), 480);

    ASSERT_TRUE(SaveAllScenesFile(Data(), m_dir / "again").bOk);
    EXPECT_EQ(ReadAll(m_dir / "again.ZR4AC"), file);
}

TEST_F(PresetFileTest, OlderAllScenesFileFillsStoreOnly)
{
    Bytes file = Tagged("ZR470_ALLFile", kSceneStoreBytes, 0);
    for (int n = 0; n < kSceneEntries; ++n)
        file[14 + static_cast<size_t>(n) * kImageSize] = static_cast<uint8_t>('A' + n);
    WriteAll(m_dir / "old.ZR4AC", file);
    EditEverything();
    const Shared before = Settled();

    const PresetFileResult loaded = LoadAllScenesFile(Data(), m_dir / "old.ZR4AC");
    ASSERT_TRUE(loaded.bOk) << Message(loaded);
    EXPECT_FALSE(loaded.bModelLoaded);
    EXPECT_EQ(Region(State().SceneEntry(1), kSceneStoreBytes), Bytes(file.begin() + 14, file.end()));
    EXPECT_EQ(State().SceneEntry(20)[0], 'T');
    const Shared after = Capture(State());
    EXPECT_EQ(after.live, before.live);
    EXPECT_EQ(after.delays, before.delays);
    EXPECT_EQ(Data().Output(2).GetDelay(), 480);
}

TEST_F(PresetFileTest, PositionRoundTripWithAnotherPositionSelected)
{
    EditEverything();  // position 2 is current
    const Bytes tableBefore = Region(State().m_DelayTable, kDelayTableSize);
    const PresetFileResult saved = SavePositionFile(Data(), m_dir / "front");
    ASSERT_TRUE(saved.bOk) << Message(saved);
    EXPECT_EQ(saved.path, m_dir / "front.Mode_C");
    EXPECT_EQ(ReadAll(saved.path), PositionFile(2, {480, 520, 560, 600, 640, 680}));

    State().m_DelayTable[kDelaySelectedByte] = 0;
    for (int k = 0; k < kOutputs; ++k)
        PutWord(State().m_DelayTable + 24 + 2 * k, 5);
    const PresetFileResult loaded = LoadPositionFile(Data(), saved.path);
    ASSERT_TRUE(loaded.bOk) << Message(loaded);
    EXPECT_EQ(loaded.nPosition, 2);
    EXPECT_EQ(State().m_DelayTable[kDelaySelectedByte], 0) << "selecting the position is the caller's part";
    State().m_DelayTable[kDelaySelectedByte] = 2;
    EXPECT_EQ(Region(State().m_DelayTable, kDelayTableSize), tableBefore);
}

TEST_F(PresetFileTest, OutOfRangeValuesAreLimitedOrRefused)
{
    Bytes all = Tagged("ZR471_ALLFile", kSceneStoreBytes + kImageSize + kDelayTableSize, 0);
    uint8_t* pTable = all.data() + all.size() - kDelayTableSize;
    PutWord(pTable + 10, 0xFFFF);
    pTable[kDelaySelectedByte] = 9;
    WriteAll(m_dir / "wild.ZR4AC", all);
    ASSERT_TRUE(LoadAllScenesFile(Data(), m_dir / "wild.ZR4AC").bOk);
    EXPECT_EQ(DelayOf(State(), 0, 5), kDelayMax);
    EXPECT_EQ(State().m_DelayTable[kDelaySelectedByte], 3);

    ASSERT_TRUE(LoadPositionBytes(Data(), PositionFile(1, {0, 961, 5000, 960, 1, 0xFFFF})).bOk);
    EXPECT_EQ(DelayOf(State(), 1, 1), kDelayMax);
    EXPECT_EQ(DelayOf(State(), 1, 2), kDelayMax);
    EXPECT_EQ(DelayOf(State(), 1, 4), 1);

    // Saving while the processor reports a position beyond the table.
    State().m_DelayTable[kDelaySelectedByte] = 200;
    ASSERT_TRUE(SavePositionFile(Data(), m_dir / "p").bOk);
    EXPECT_EQ(ReadAll(m_dir / "p.Mode_C")[10], 3);

    const Shared before = Settled();
    for (uint8_t nPosition : {4, 7, 255}) {
        SCOPED_TRACE(nPosition);
        const PresetFileResult result = LoadPositionBytes(Data(), PositionFile(nPosition, {1, 2, 3, 4, 5, 6}));
        EXPECT_FALSE(result.bOk);
        EXPECT_EQ(Message(result), "Read Mode File  Error");
    }
    ExpectNothingChanged(before);
}

TEST_F(PresetFileTest, BadFilesGiveTheirMessageAndChangeNothing)
{
    struct Kind {
        const char* pExt;
        Bytes valid;
        Bytes wrongTag;
        std::function<PresetFileResult(const fs::path&)> load;
        const char* pMessage;
    };
    const std::vector<Kind> kinds = {
        {".ZR4C", Tagged("ZR470_File", kImageSize, 1), Tagged("ZR471_File", kImageSize, 1),
         [this](const fs::path& p) { return LoadSceneFile(Data(), p); }, "Read MusicFile  Error"},
        {".ZR4AC", Tagged("ZR471_ALLFile", kSceneStoreBytes + kImageSize + kDelayTableSize, 1),
         Tagged("ZR472_ALLFile", kSceneStoreBytes + kImageSize + kDelayTableSize, 1),
         [this](const fs::path& p) { return LoadAllScenesFile(Data(), p); }, "Read all MusicFile Error"},
        {".ZR4AC", Tagged("ZR470_ALLFile", kSceneStoreBytes, 1), Tagged("ZR470_File", kSceneStoreBytes, 1),
         [this](const fs::path& p) { return LoadAllScenesFile(Data(), p); }, "Read all MusicFile Error"},
        {".Mode_C", PositionFile(1, {1, 2, 3, 4, 5, 6}), Tagged("ZR470_File", 13, 1),
         [this](const fs::path& p) { return LoadPositionFile(Data(), p); }, "Read Mode File  Error"},
    };
    EditEverything();
    const Shared before = Settled();
    for (const Kind& kind : kinds) {
        const Bytes truncated(kind.valid.begin(), kind.valid.end() - 1);
        Bytes trailing = kind.valid;
        trailing.push_back(0);
        Bytes scene = Tagged("ZR470_File", kImageSize, 1);
        const std::vector<std::pair<const char*, Bytes>> files = {
            {"wrong tag", kind.wrongTag}, {"truncated", truncated}, {"empty", {}},
            {"trailing byte", trailing}, {"tag only", Bytes(kind.valid.begin(), kind.valid.begin() + 1 + kind.valid[0])},
            {"a scene file", kind.valid == scene ? Tagged("Mode_File", 13, 1) : scene}};
        for (const auto& [pName, bytes] : files) {
            SCOPED_TRACE(std::string(kind.pExt) + " " + pName);
            const fs::path path = m_dir / (std::string("bad") + kind.pExt);
            WriteAll(path, bytes);
            const PresetFileResult result = kind.load(path);
            EXPECT_FALSE(result.bOk);
            EXPECT_EQ(Message(result), kind.pMessage);
            ExpectNothingChanged(before);
        }
        SCOPED_TRACE(std::string(kind.pExt) + " missing");
        EXPECT_EQ(Message(kind.load(m_dir / "missing")), kind.pMessage);
        EXPECT_EQ(Message(kind.load(m_dir)), kind.pMessage);  // a directory
        ExpectNothingChanged(before);
    }
}

TEST_F(PresetFileTest, MessagesFollowTheLanguage)
{
    const fs::path nowhere = m_dir / "no-such-dir" / "x";
    for (int bChinese : {0, 1}) {
        g_bChinese = bChinese;
        const auto text = [bChinese](const char* pEnglish, const char* pChinese) {
            return std::string(bChinese ? pChinese : pEnglish);
        };
        EXPECT_EQ(Message(SaveSceneFile(Data(), nowhere)), text("Save MusicFile Error!", "保存音乐文件错误!"));
        EXPECT_EQ(Message(LoadSceneFile(Data(), nowhere)), text("Read MusicFile  Error", "读音乐文件错误!"));
        EXPECT_EQ(Message(SaveAllScenesFile(Data(), nowhere)),
                  text("save all MusicFile Error!", "保存所有音乐文件错误!"));
        EXPECT_EQ(Message(LoadAllScenesFile(Data(), nowhere)),
                  text("Read all MusicFile Error", "读所有音乐文件错误!"));
        EXPECT_EQ(Message(SavePositionFile(Data(), nowhere)), text("Save Mode File Error!", "保存模式文件错误!"));
        EXPECT_EQ(Message(LoadPositionFile(Data(), nowhere)), text("Read Mode File  Error", "读模式文件错误!"));
    }
    EXPECT_FALSE(fs::exists(m_dir / "no-such-dir"));
}

TEST_F(PresetFileTest, FailedSaveKeepsTheOldFile)
{
    const fs::path path = m_dir / "backup.ZR4AC";
    ASSERT_TRUE(SaveAllScenesFile(Data(), path).bOk);
    const Bytes old = ReadAll(path);
    EditEverything();
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.Active());
        const PresetFileResult result = SaveAllScenesFile(Data(), path);
        EXPECT_FALSE(result.bOk);
        EXPECT_EQ(Message(result), "save all MusicFile Error!");
    }
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1)
        << "the temporary file was left behind";
}

TEST_F(PresetFileTest, ExtensionsAndTitles)
{
    EXPECT_EQ(WithPresetExtension("studio.ZR4C", kSceneFileExt), fs::path("studio.ZR4C"));
    EXPECT_EQ(WithPresetExtension("studio.ZR4AC", kSceneFileExt), fs::path("studio.ZR4AC.ZR4C"));
    EXPECT_EQ(WithPresetExtension("old.ZR4C/studio", kSceneFileExt), fs::path("old.ZR4C/studio.ZR4C"));
    EXPECT_EQ(WithPresetExtension("front.mode_c", kPositionFileExt), fs::path("front.mode_c"));
    EXPECT_EQ(WithPresetExtension("x.zr4c", kSceneFileExt), fs::path("x.zr4c"));
    EXPECT_TRUE(HasPresetExtension("b.zr4ac", kAllScenesFileExt));
    EXPECT_FALSE(HasPresetExtension(".ZR4AC", kAllScenesFileExt));
    EXPECT_EQ(SceneTitle("/home/a/abcdefghijklmnopqrst.ZR4C"), "abcdefghijklm");
    EXPECT_EQ(SceneTitle("/home/a.b/live.set.ZR4C"), "live.set");
    // Six three-byte characters: the cut falls before the fifth.
    EXPECT_EQ(SceneTitle("录音室录音室.ZR4C"), "录音室录");
    EXPECT_FALSE(SaveSceneFile(Data(), m_dir / "").bOk);
}
