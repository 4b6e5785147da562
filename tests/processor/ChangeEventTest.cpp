// A processor's subscribers are told each change once, with what made it:
// the full read, an edit, a recall, a file load and the end of the link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

#include <unistd.h>

#include "ChangeQueue.h"
#include "FilterSetMapping.h"
#include "NotifyQueue.h"
#include "ParamAccess.h"
#include "PresetFile.h"
#include "Processor.h"
#include "VirtualProcessor.h"
#include "VirtualTransport.h"

namespace fs = std::filesystem;

namespace {

class ChangeEventTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        processor.State().m_pNotifySink = &queue;
        processor.Subscribe(&events);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    bool Pump(const std::function<bool()>& bDone)
    {
        return PumpUntil(queue, processor.Session(), bDone, 10000);
    }
    bool Online()
    {
        return Pump([this] { return processor.State().m_bOnline.load() != 0; }) &&
               Pump([this] { return !processor.Session().HasPendingWork(); });
    }
    static std::set<ChangeSource> Sources(const std::vector<ChangeEvent>& seen)
    {
        std::set<ChangeSource> sources;
        for (const ChangeEvent& event : seen)
            sources.insert(event.source);
        return sources;
    }
    static bool Has(const std::vector<ChangeEvent>& seen, const ChangeEvent& event)
    {
        return std::find(seen.begin(), seen.end(), event) != seen.end();
    }
    // A scene file whose only difference from the start-up model is output
    // 3 muted.
    std::vector<uint8_t> MutedSceneFile()
    {
        CKTV_Data other;
        other.Output(2).SetMute(1);
        fs::create_directories(m_dir);
        const PresetFileResult saved = SaveSceneFile(other, m_dir / "muted");
        return ReadFileBytes(saved.path, kSceneFileSize).value_or(std::vector<uint8_t>());
    }

    CNotifyQueue queue;
    CProcessor processor;
    CChangeQueue events;
    std::shared_ptr<CVirtualProcessor> pDevice = std::make_shared<CVirtualProcessor>();
    fs::path m_dir = fs::temp_directory_path() / ("zr470-events-" + std::to_string(::getpid()));
};

}  // namespace

TEST_F(ChangeEventTest, EachSourceIsToldWithWhatItChangedAndNothingElse)
{
    ASSERT_TRUE(processor.Session().Connect(std::make_unique<CVirtualTransport>(pDevice)) && Online());
    std::vector<ChangeEvent> seen = events.Take();
    EXPECT_EQ(Sources(seen), std::set<ChangeSource>{ChangeSource::kFullRead});
    EXPECT_TRUE(Has(seen, {ChangeKind::kConnection, ChangeSource::kFullRead}));

    const ParamRef level{ParamKind::Level, 2, 0, "level"};
    const int nEdited = ReadParam(processor, level) == 30 ? 31 : 30;
    WriteParam(processor, level, nEdited);
    EXPECT_EQ(events.Take(), (std::vector<ChangeEvent>{{ChangeKind::kOutputLevel, ChangeSource::kEdit, 1}}));

    bool bQueued = false;
    ASSERT_EQ(processor.StoreProgram(4, "Evening", &bQueued), ProgramNameCheck::kOk);
    ASSERT_TRUE(bQueued && Online());
    seen = events.Take();
    EXPECT_TRUE(Has(seen, {ChangeKind::kProgramNames, ChangeSource::kEdit}));
    EXPECT_TRUE(Has(seen, {ChangeKind::kSceneName, ChangeSource::kEdit}));

    WriteParam(processor, level, nEdited + 5);
    events.Take();
    ASSERT_TRUE(processor.RecallProgram(4) && Online());
    seen = events.Take();
    EXPECT_EQ(Sources(seen), std::set<ChangeSource>{ChangeSource::kRecall});
    EXPECT_TRUE(Has(seen, {ChangeKind::kOutputLevel, ChangeSource::kRecall, 1}));
    EXPECT_EQ(ReadParam(processor, level), nEdited);

    const std::vector<uint8_t> file = MutedSceneFile();
    ASSERT_TRUE(processor.SendSceneFile(file, "Night").bOk);
    seen = events.Take();
    EXPECT_EQ(Sources(seen), std::set<ChangeSource>{ChangeSource::kFileLoad});
    EXPECT_TRUE(Has(seen, {ChangeKind::kOutputMute, ChangeSource::kFileLoad, 2}));
    EXPECT_TRUE(Has(seen, {ChangeKind::kSceneName, ChangeSource::kFileLoad}));

    // What changes nothing tells nothing.
    EXPECT_FALSE(processor.SetSource(processor.Source()));
    processor.NoteEdit();
    EXPECT_TRUE(events.Take().empty());

    processor.Session().Disconnect(0);
    EXPECT_EQ(events.Take(), (std::vector<ChangeEvent>{{ChangeKind::kConnection, ChangeSource::kLink}}));
}

TEST_F(ChangeEventTest, AFilterMappingIsOneEditOfTheOutputAndThoseLinkedWithIt)
{
    FilterMapping mapping;
    mapping.bands = {{0, 63, 150, 10}, {0, 250, 230, 15}};
    processor.ApplyFilterMapping(1, mapping, {3});
    const std::vector<ChangeEvent> seen = events.Take();
    std::set<int> outputs;
    for (const ChangeEvent& event : seen) {
        EXPECT_EQ(event.source, ChangeSource::kEdit);
        outputs.insert(event.nOutput);
    }
    EXPECT_EQ(outputs, (std::set<int>{1, 3}));
    EXPECT_TRUE(Has(seen, {ChangeKind::kBand, ChangeSource::kEdit, 3, 1}));
    EXPECT_EQ(processor.Data().Output(3).EQ()[0].GetFrequency(), 63);
}
