#include "StaticFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "ApiRoutes.h"

namespace {

constexpr std::uintmax_t kMaxFileBytes = 4 * 1024 * 1024;  // the page's files are small

StaticReply Text(int nStatus, const std::string& strText)
{
    return {nStatus, "text/plain; charset=utf-8", strText + "\n", nStatus == 405 ? "GET, HEAD" : ""};
}

std::string ContentType(const std::filesystem::path& file)
{
    static const std::map<std::string, std::string> kTypes = {
        {".html", "text/html; charset=utf-8"},       {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},   {".json", "application/json"},
        {".svg", "image/svg+xml"},                   {".png", "image/png"},
        {".ico", "image/x-icon"},                    {".webmanifest", "application/manifest+json"},
    };
    const auto it = kTypes.find(file.extension().string());
    return it == kTypes.end() ? "application/octet-stream" : it->second;
}

// The file a path names, relative to the folder; empty when the path may
// not name one (a "..", a hidden name, a NUL or backslash, a broken escape).
std::filesystem::path RelativeFile(std::string_view target)
{
    const std::optional<std::string> path = UrlDecode(target.substr(0, target.find_first_of("?#")));
    if (!path || path->empty() || path->front() != '/' || path->find_first_of(std::string("\\\0", 2)) != std::string::npos)
        return {};
    std::filesystem::path relative;
    size_t nStart = 1;
    while (nStart <= path->size()) {
        const size_t nSlash = std::min(path->find('/', nStart), path->size());
        const std::string strPart = path->substr(nStart, nSlash - nStart);
        if (strPart.starts_with('.'))
            return {};
        if (!strPart.empty())
            relative /= strPart;
        nStart = nSlash + 1;
    }
    return relative.empty() || path->back() == '/' ? relative / "index.html" : relative;
}

// Whether file, with every link followed, still lies inside root.
bool Inside(const std::filesystem::path& root, const std::filesystem::path& file)
{
    std::error_code error;
    const std::filesystem::path realRoot = std::filesystem::canonical(root, error);
    if (error)
        return false;
    const std::filesystem::path realFile = std::filesystem::canonical(file, error);
    if (error)
        return false;
    const auto [itRoot, itFile] = std::mismatch(realRoot.begin(), realRoot.end(), realFile.begin(), realFile.end());
    return itRoot == realRoot.end() && itFile != realFile.end();
}

}  // namespace

bool IsPageTarget(std::string_view target)
{
    const std::string_view path = target.substr(0, target.find_first_of("?#"));
    return path != "/api" && !path.starts_with("/api/");
}

StaticReply ServeStaticFile(const std::filesystem::path& root, std::string_view method, std::string_view target)
{
    if (method != "GET" && method != "HEAD")
        return Text(405, "method " + std::string(method) + " not allowed: the page is read with GET or HEAD");
    const std::filesystem::path relative = RelativeFile(target);
    const std::filesystem::path file = root / relative;
    std::error_code error;
    if (root.empty() || relative.empty() || !Inside(root, file) || !std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) > kMaxFileBytes)
        return Text(404, "no such page");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Text(404, "no such page");
    std::string strBody((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return {200, ContentType(file), std::move(strBody), {}};
}

std::filesystem::path DefaultWebRoot(const std::filesystem::path& executable)
{
    const std::filesystem::path installed = executable.parent_path().parent_path() / "share" / "zr470" / "web";
    std::error_code error;
    if (std::filesystem::is_directory(installed, error))
        return installed;
    return ZR470_WEB_SOURCE_DIR;
}
