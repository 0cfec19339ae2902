#include "shell/DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

namespace {
constexpr const char* menuLevelFile = "data/levels/menu.lvl";  // a folder with this holds the data
constexpr const char* ownExecutable = "/proc/self/exe";         // the kernel's link to our binary

bool holdsData(const std::string& folder) {
    struct stat info;
    const std::string path = folder + "/" + menuLevelFile;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder part of a path; "" when it has none.
std::string parentOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string workingFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? buffer : ".";
}

std::string executablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink(ownExecutable, buffer, sizeof buffer - 1);
    if (length <= 0) return "";
    return std::string(buffer, static_cast<std::string::size_type>(length));
}

// Where the data may be, in order: the binary's own folder (a game built in
// the tree's root), the one above it (build/curdovar), and the tree it was
// built from, for a binary copied elsewhere.
std::vector<std::string> candidateFolders() {
    std::vector<std::string> folders;
    const std::string binaryFolder = parentOf(executablePath());
    if (!binaryFolder.empty()) {
        folders.push_back(binaryFolder);
        const std::string above = parentOf(binaryFolder);
        if (!above.empty()) folders.push_back(above);
    }
#ifdef CURDOVAR_BUILT_FROM
    folders.push_back(CURDOVAR_BUILT_FROM);
#endif
    return folders;
}
}  // namespace

bool enterDataFolder() {
    if (holdsData(".")) return true;
    std::string looked = workingFolder();
    for (const std::string& folder : candidateFolders()) {
        if (holdsData(folder) && chdir(folder.c_str()) == 0) return true;
        looked += ", " + folder;
    }
    std::cerr << "curdovar: no " << menuLevelFile << " in " << looked << std::endl;
    return false;
}
