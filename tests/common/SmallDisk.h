// A 24 KB tmpfs mounted for one test: a real file system that runs full.
// Mounting needs root; elsewhere Mounted() is false and the test skips.
#pragma once

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

class SmallDisk {
public:
    SmallDisk()
    {
        std::string strPattern = (std::filesystem::temp_directory_path() / "zr470-disk-XXXXXX").string();
        if (mkdtemp(strPattern.data()))
            m_dir = strPattern;
        if (!m_dir.empty() && mount("tmpfs", m_dir.c_str(), "tmpfs", 0, "size=24k") == 0)
            m_bMounted = true;
        else
            m_strRefusal = std::strerror(errno);
    }
    ~SmallDisk()
    {
        if (m_bMounted)
            umount2(m_dir.c_str(), MNT_DETACH);
        if (!m_dir.empty())
            rmdir(m_dir.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_bMounted; }
    std::string Refusal() const { return "no small tmpfs could be mounted: " + m_strRefusal; }
    std::filesystem::path Path(const char* szName) const { return m_dir / szName; }
    const std::filesystem::path& Dir() const { return m_dir; }

private:
    std::filesystem::path m_dir;
    bool m_bMounted = false;
    std::string m_strRefusal;
};
