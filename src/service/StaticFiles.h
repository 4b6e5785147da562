// The staff page's files: everything outside /api is a file of the web
// folder, served without a token (the page holds no secret; the API that
// it calls asks for one).
//
// Only GET and HEAD. A path is served only when it names a regular file
// inside the folder: no "..", no hidden files, no symbolic link that leads
// out. "/" is index.html. Anything else is 404.
//
// Threads: pure functions; they read the file system.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

struct StaticReply {
    int nStatus = 200;
    std::string strContentType;
    std::string strBody;   // also for HEAD: the server sends only its length
    std::string strAllow;  // for 405
};

// Whether a request target is the page's rather than the API's.
bool IsPageTarget(std::string_view target);

StaticReply ServeStaticFile(const std::filesystem::path& root, std::string_view method, std::string_view target);

// The page's folder when --web does not name one: installed beside the
// program (<prefix>/share/zr470/web), else the source tree's service/web.
std::filesystem::path DefaultWebRoot(const std::filesystem::path& executable);
