#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FirmwareTestFiles.h"
#include "GlobalData.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

const char* const kBadLayoutText = "This is not a firmware update file!";

class FirmwareFileTest : public ::testing::Test {
protected:
    void SetUp() override { g_bChinese = 0; }
    void TearDown() override { g_bChinese = 0; }
};

Bytes McuImage(const Bytes& header, const Bytes& data)
{
    Bytes image = header;
    image.insert(image.end(), data.begin(), data.end());
    return image;
}

}  // namespace

// ---- Layouts ------------------------------------------------------------------

TEST_F(FirmwareFileTest, McuOnlyFileKeepsHeaderAndDataAndSumsTheDataOnly)
{
    const Bytes image = McuImage({0xDE, 0xAD, 0xBE, 0xEF}, {0x01, 0x02, 0x04});
    const CFirmwareUpdate update = ParsedOrFail(WithTag("WMCU", image));
    EXPECT_TRUE(update.m_bMcuPresent);
    EXPECT_FALSE(update.m_bDspPresent);
    EXPECT_EQ(update.m_mcuImage, image);
    EXPECT_TRUE(update.m_dspImage.empty());
    // 0x12 ^ 0x01 ^ 0x02 ^ 0x04; the header takes no part.
    EXPECT_EQ(update.m_nChecksum, 0x15);
    EXPECT_EQ(update.m_nMcuStep, McuStep::NotStarted);
    EXPECT_TRUE(update.m_bStart);
}

TEST_F(FirmwareFileTest, DspFileTakesOne64KiBMinusOneImageAndSkipsTheRestOfTheSection)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 1);
    const CFirmwareUpdate update = ParsedOrFail(DspFile(dsp));
    ASSERT_TRUE(update.m_bDspPresent);
    EXPECT_EQ(update.m_dspImage, dsp);
    EXPECT_FALSE(update.m_bMcuPresent);
    EXPECT_EQ(update.m_nChecksum, kMcuChecksumSeed);
    // With a DSP image the loader is entered once, before the erase.
    EXPECT_EQ(update.m_nMcuStep, McuStep::HeaderNext);
    EXPECT_EQ(update.m_nDspStep, DspStep::NotStarted);
}

// Vendors pad their files; only an "WMCU" tag right after the DSP section
// makes an MCU section.
TEST_F(FirmwareFileTest, AnythingButAnMcuTagAfterTheDspSectionLeavesADspOnlyUpdate)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 5);
    const int nDspOnlySteps = ParsedOrFail(DspFile(dsp)).m_nSteps;
    const Bytes paddings[] = {Bytes(16, 0xFF), {'X', 'M', 'C', 'U', 1, 2, 3, 4, 5}, {'W', 'M', 'C'}};
    for (const Bytes& padding : paddings) {
        Bytes file = DspFile(dsp);
        file.insert(file.end(), padding.begin(), padding.end());
        const FirmwareFileResult result = ParseFirmwareFile(file.data(), file.size());
        ASSERT_TRUE(result.update) << padding.size() << " bytes of padding: " << FirmwareFileErrorText(result.error);
        EXPECT_EQ(result.update->m_dspImage, dsp);
        EXPECT_FALSE(result.update->m_bMcuPresent);
        EXPECT_TRUE(result.update->m_mcuImage.empty());
        EXPECT_EQ(result.update->m_nSteps, nDspOnlySteps);
    }
}

TEST_F(FirmwareFileTest, DspFileWithMcuSectionCarriesBothImages)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 2);
    const Bytes mcu = McuImage({1, 2, 3, 4}, {0x30, 0x0F});
    const CFirmwareUpdate update = ParsedOrFail(DspFile(dsp, mcu));
    EXPECT_EQ(update.m_dspImage, dsp);
    EXPECT_EQ(update.m_mcuImage, mcu);
    EXPECT_EQ(update.m_nChecksum, 0x12 ^ 0x30 ^ 0x0F);
}

TEST_F(FirmwareFileTest, ProgressStepsCountEveryAnsweredCommand)
{
    // 54, 55, two chunks of 48, 57.
    EXPECT_EQ(ParsedOrFail(WithTag("WMCU", PatternBytes(4 + 96, 3))).m_nSteps, 5);
    // 54, 58 and 1490 chunks; the last chunk's answer ends a DSP-only update.
    EXPECT_EQ(ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 3))).m_nSteps, 1492);
    // ... then 55, three MCU chunks (97 bytes) and 57.
    EXPECT_EQ(ParsedOrFail(DspFile(PatternBytes(kDspImageSize, 3), PatternBytes(4 + 97, 4))).m_nSteps, 1497);
}

// ---- Refused files --------------------------------------------------------------

TEST_F(FirmwareFileTest, FilesThatWouldSendNothingOrHalfAnUpdateAreRefused)
{
    const Bytes dspSection = DspFile(PatternBytes(kDspImageSize, 5));
    Bytes dspWithHeaderOnly = dspSection;
    dspWithHeaderOnly.insert(dspWithHeaderOnly.end(), {'W', 'M', 'C', 'U', 1, 2, 3, 4});
    Bytes bigMcu = WithTag("WMCU", PatternBytes(0x40000, 6));
    Bytes tooBig = DspFile(PatternBytes(kDspImageSize, 7), PatternBytes(kMaxFirmwareFile, 8));

    const struct {
        const char* pWhat;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"shorter than a tag", {'W', 'M', 'C'}},
        {"tag only", WithTag("WMCU", {})},
        {"MCU header without data", WithTag("WMCU", {1, 2, 3, 4})},
        {"unknown tag", WithTag("WXYZ", PatternBytes(100, 9))},
        {"lower-case tag", WithTag("wmcu", PatternBytes(100, 9))},
        {"DSP file shorter than its section", WithTag("WDSP", PatternBytes(100, 9))},
        {"DSP file one byte short", Bytes(dspSection.begin(), dspSection.end() - 1)},
        {"MCU tag on a file of DSP size", bigMcu},
        {"MCU section with a header only", dspWithHeaderOnly},
        {"over the size limit", tooBig},
    };
    for (const auto& c : cases) {
        const FirmwareFileResult result = ParseFirmwareFile(c.file.data(), c.file.size());
        EXPECT_FALSE(result.update) << c.pWhat;
        EXPECT_EQ(result.error, FirmwareFileError::BadLayout) << c.pWhat;
        EXPECT_EQ(FirmwareFileErrorText(result.error), kBadLayoutText) << c.pWhat;
    }
}

TEST_F(FirmwareFileTest, LayoutErrorKeepsTheSystemsChineseTextAndHasAnEnglishOne)
{
    const Bytes file = WithTag("WXYZ", {1, 2, 3, 4, 5});
    EXPECT_EQ(FirmwareFileErrorText(ParseFirmwareFile(file.data(), file.size()).error), kBadLayoutText);
    g_bChinese = 1;
    EXPECT_EQ(FirmwareFileErrorText(ParseFirmwareFile(file.data(), file.size()).error), "更新文件错误！");
}

// ---- From a path ----------------------------------------------------------------

class FirmwareFileOnDiskTest : public FirmwareFileTest {
protected:
    void SetUp() override
    {
        FirmwareFileTest::SetUp();
        m_dir = fs::temp_directory_path() /
                ("zr470_fw_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        FirmwareFileTest::TearDown();
    }
    fs::path Write(const std::string& strName, const Bytes& bytes)
    {
        const fs::path path = m_dir / strName;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    fs::path m_dir;
};

TEST_F(FirmwareFileOnDiskTest, LoadsWhatItParses)
{
    const Bytes dsp = PatternBytes(kDspImageSize, 10);
    const Bytes mcu = PatternBytes(4 + 200, 11);
    const FirmwareFileResult result = LoadFirmwareFile(Write("both.bin", DspFile(dsp, mcu)));
    ASSERT_TRUE(result.update) << FirmwareFileErrorText(result.error);
    EXPECT_EQ(result.error, FirmwareFileError::None);
    EXPECT_TRUE(FirmwareFileErrorText(result.error).empty());
    EXPECT_EQ(result.update->m_dspImage, dsp);
    EXPECT_EQ(result.update->m_mcuImage, mcu);
}

TEST_F(FirmwareFileOnDiskTest, MissingFileSaysSoAndAFolderIsAHexFileErrorInTheChosenLanguage)
{
    FirmwareFileResult missing = LoadFirmwareFile(m_dir / "none.bin");
    EXPECT_FALSE(missing.update);
    EXPECT_EQ(missing.error, FirmwareFileError::Missing);
    EXPECT_EQ(FirmwareFileErrorText(missing.error), "The firmware file does not exist!");

    g_bChinese = 1;
    const FirmwareFileResult folder = LoadFirmwareFile(m_dir);
    EXPECT_FALSE(folder.update);
    EXPECT_EQ(folder.error, FirmwareFileError::Unreadable);
    EXPECT_EQ(FirmwareFileErrorText(folder.error), "Hex文件错误!");
}

TEST_F(FirmwareFileOnDiskTest, BadLayoutOnDiskIsRefusedLikeInMemory)
{
    const FirmwareFileResult result = LoadFirmwareFile(Write("bad.bin", WithTag("WDSP", PatternBytes(64, 12))));
    EXPECT_FALSE(result.update);
    EXPECT_EQ(result.error, FirmwareFileError::BadLayout);
    EXPECT_EQ(FirmwareFileErrorText(result.error), kBadLayoutText);
}
