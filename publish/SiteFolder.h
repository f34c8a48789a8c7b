#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace tavrel {

// The folder a site is published into, replaced whole. The new site is written into a hidden
// folder beside the target, put on disk, and only then swapped with the target in one rename, so
// an interrupted publish leaves the last good site (or, the first time, none). A folder is taken
// only when it is new, empty, or holds a site published before and nothing else: the list of
// what was published is kept in it (kManifestName). Leftovers of killed runs are removed by the
// next publish into the same folder.
class SiteFolder {
public:
    static constexpr std::string_view kManifestName = ".tavrel-site";

    // Checks the target and makes the new folder. Throws LeagueError naming the target (or the
    // file in it that is not ours) and the cause.
    SiteFolder(std::filesystem::path target, std::string operation);
    ~SiteFolder(); // without Commit, removes the new folder; the target stays as it was
    SiteFolder(const SiteFolder&) = delete;
    SiteFolder& operator=(const SiteFolder&) = delete;

    // Writes a file of the site, `relative` being a path made of the site's own names
    // ("players/p-7.html"); its folders are made as needed.
    void Write(const std::string& relative, std::string_view bytes);

    // Writes the manifest, puts everything on disk and swaps the new site in.
    void Commit();

    const std::filesystem::path& Target() const { return target_; }

private:
    void Fail(const std::filesystem::path& file, const std::string& cause) const;
    void MakeFolder(const std::string& relative);

    std::filesystem::path target_;
    std::filesystem::path fresh_;
    std::string operation_;
    std::set<std::string> written_;
    std::set<std::string> folders_;
    bool committed_ = false;
};

// Whether `folder` may be published into: missing, empty, or a site published before with
// nothing added. Otherwise throws LeagueError naming the first file that is not the site's.
void CheckSiteTarget(const std::filesystem::path& folder, const std::string& operation);

// For tests: makes the nth next file write of any SiteFolder fail with the error number `error`,
// as a full disk would; nth 0 clears it.
void FailSiteWrite(int nth, int error);

} // namespace tavrel
