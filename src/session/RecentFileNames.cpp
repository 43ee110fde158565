#include "session/RecentFileNames.h"

#include <algorithm>
#include <cstddef>

namespace vorn {
namespace {

struct Entry {
    std::string name;
    std::string folder;
    std::vector<std::string> folders; // the folder's parts from the root down; a leading "" for "/"
};

Entry entryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {path, {}, {}};
    Entry entry{path.substr(slash + 1), path.substr(0, slash), {}};
    if (entry.folder.empty())
        entry.folder = "/";
    if (entry.folder == "/") {
        entry.folders = {"/"};
        return entry;
    }
    for (std::size_t from = 0;;) {
        const std::size_t to = entry.folder.find('/', from);
        entry.folders.push_back(entry.folder.substr(from, to - from));
        if (to == std::string::npos)
            break;
        from = to + 1;
    }
    return entry;
}

// The last `depth` parts of the folder, or the whole folder when it has no more.
std::string lastFolders(const Entry& entry, std::size_t depth)
{
    if (depth >= entry.folders.size())
        return entry.folder;
    std::string text;
    for (std::size_t i = entry.folders.size() - depth; i < entry.folders.size(); ++i)
        text += (text.empty() ? "" : "/") + entry.folders[i];
    return text;
}

} // namespace

std::vector<std::string> recentFileNames(const std::vector<std::string>& paths)
{
    std::vector<Entry> entries;
    entries.reserve(paths.size());
    for (const std::string& path : paths)
        entries.push_back(entryOf(path));

    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const Entry& entry : entries) {
        std::vector<const Entry*> namesakes;
        for (const Entry& other : entries)
            if (&other != &entry && other.name == entry.name)
                namesakes.push_back(&other);
        if (namesakes.empty()) {
            names.push_back(entry.name);
            continue;
        }
        // Two folders that end alike at one depth may still differ at the next; the whole folder always
        // differs, since the paths do.
        std::size_t depth = 1;
        while (depth < entry.folders.size() &&
               std::any_of(namesakes.begin(), namesakes.end(), [&](const Entry* other) {
                   return lastFolders(*other, depth) == lastFolders(entry, depth);
               }))
            ++depth;
        names.push_back(entry.name + " (" + lastFolders(entry, depth) + ")");
    }
    return names;
}

} // namespace vorn
