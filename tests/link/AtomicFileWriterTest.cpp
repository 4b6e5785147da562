// Saving over files that must survive a failure, and over things that are
// not plain files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AtomicFileWriter.h"
#include "SmallDisk.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t Entries(const fs::path& dir)
{
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

class AtomicFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string strPattern = (fs::temp_directory_path() / "zr470-writer-XXXXXX").string();
        ASSERT_NE(mkdtemp(strPattern.data()), nullptr);
        m_dir = strPattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
    const Bytes m_new = Bytes(100, 'n');
};

}  // namespace

TEST_F(AtomicFileWriterTest, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    const SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Refusal();
    const Bytes old(8 * 1024, 'o');
    ASSERT_TRUE(CAtomicFileWriter::Write(disk.Path("out.bin"), old));
    std::string strError;
    EXPECT_FALSE(CAtomicFileWriter::Write(disk.Path("out.bin"), Bytes(64 * 1024, 'x'), &strError));
    EXPECT_EQ(strError, "No space left on device");
    EXPECT_EQ(ReadAll(disk.Path("out.bin")), old);
    EXPECT_EQ(Entries(disk.Dir()), 1u) << "the temporary file was left behind";
}

TEST_F(AtomicFileWriterTest, WhatIsNoPlainFileIsRefusedAndLeftAsItWas)
{
    ASSERT_EQ(mkfifo((m_dir / "pipe").c_str(), 0600), 0);
    fs::create_directories(m_dir / "folder" / "inside");
    std::vector<fs::path> targets = {m_dir / "pipe", m_dir / "folder"};
    // A node like /dev/full (needs root; the real one is not put at risk).
    if (mknod((m_dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        targets.push_back(m_dir / "full");
    for (const fs::path& target : targets) {
        const fs::file_type type = fs::symlink_status(target).type();
        std::string strError;
        EXPECT_FALSE(CAtomicFileWriter::Write(target, m_new, &strError)) << target;
        EXPECT_FALSE(strError.empty()) << target;
        EXPECT_EQ(fs::symlink_status(target).type(), type) << target;
    }
    EXPECT_TRUE(fs::is_directory(m_dir / "folder" / "inside"));
    EXPECT_EQ(Entries(m_dir), targets.size()) << "no temporary file is left behind";
}

TEST_F(AtomicFileWriterTest, ALinkIsWrittenThroughAndStaysALink)
{
    fs::create_directory(m_dir / "real");
    std::ofstream(m_dir / "real" / "old.bin") << "old";
    fs::permissions(m_dir / "real" / "old.bin", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/old.bin", m_dir / "old-link");
    fs::create_symlink("real/new.bin", m_dir / "dangling");
    fs::create_symlink("dangling", m_dir / "chain");
    ASSERT_TRUE(CAtomicFileWriter::Write(m_dir / "old-link", m_new));
    ASSERT_TRUE(CAtomicFileWriter::Write(m_dir / "chain", m_new));
    for (const char* szLink : {"old-link", "dangling", "chain"})
        EXPECT_TRUE(fs::is_symlink(m_dir / szLink)) << szLink;
    EXPECT_EQ(ReadAll(m_dir / "real" / "old.bin"), m_new);
    EXPECT_EQ(ReadAll(m_dir / "real" / "new.bin"), m_new);
    EXPECT_EQ(fs::status(m_dir / "real" / "old.bin").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFileWriterTest, ANameAtTheSystemsLimitCanBeSaved)
{
    const fs::path target = m_dir / std::string(250, 'r');
    std::string strError;
    EXPECT_TRUE(CAtomicFileWriter::Write(target, m_new, &strError)) << strError;
    EXPECT_EQ(ReadAll(target), m_new);
    EXPECT_FALSE(CAtomicFileWriter::Write(m_dir / "no-such-dir" / "x", m_new, &strError));
    EXPECT_EQ(strError, "No such file or directory");
}
