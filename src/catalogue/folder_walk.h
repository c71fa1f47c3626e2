#pragma once
// The walk through the picture folder and its subfolders, apart from how one folder is listed.
#include <compare>
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace kpv {

// Where a folder really lives: its volume and its file ID there. Two paths with one identity are one folder
// (a link, a junction or a mount point leads back to it). All zero: the file system gives no identity.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t fileIdLow = 0;
    uint64_t fileIdHigh = 0;
    bool Known() const { return volume != 0 || fileIdLow != 0 || fileIdHigh != 0; }
    auto operator<=>(const FolderIdentity&) const = default;
};

// The identity that a file ID gives a folder on a volume. 0, and the all-ones FILE_INVALID_FILE_ID that ReFS
// gives when a folder's 128-bit ID does not fit in 64 bits, say nothing: such a folder is unknown, never
// taken for another one.
FolderIdentity IdentityFromFileId(uint64_t volume, uint64_t fileIdLow, uint64_t fileIdHigh = 0);

// Receives one folder's contents from a lister, in the lister's order.
class FolderVisitor {
public:
    // Called once, before any entry, with the folder's identity. False: the folder was listed before; the
    // lister stops without error.
    virtual bool Enter(const FolderIdentity& identity) = 0;
    virtual void File(std::wstring_view name) = 0;
    // `identity` is what the listing tells of the subfolder; unknown for a link, junction or mount point
    // (`link`), whose entry describes the link rather than the folder it leads to.
    virtual void Subfolder(std::wstring_view name, const FolderIdentity& identity, bool link) = 0;
protected:
    ~FolderVisitor() = default;
};

class FolderLister {
public:
    virtual ~FolderLister() = default;
    // Lists the folder at openPath into the visitor ("." and ".." left out). `identity` is the folder's own
    // when its parent's listing told it; when unknown, the lister asks the opened folder. Returns 0, or the
    // platform's error number when the folder cannot be opened or listed; entries delivered before the
    // failure stand.
    virtual uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, FolderVisitor& visitor) = 0;
};

// The error a listing gives once its walk was cancelled (the platform's "operation aborted").
inline constexpr uint32_t kListingCancelled = 995;

// The names of the links on a path that led to folders without an identity; none for most paths.
using LinkTrail = std::shared_ptr<const std::vector<std::wstring>>;

// What a folder reached through `name` passes on to its subfolders: the trail of its path, grown by the link
// it was reached through when that leads to a folder without an identity. False when that link was already
// passed on the path: the folder is not listed.
bool FollowLink(const LinkTrail& trail, std::wstring_view name, bool link, const FolderIdentity& self,
                LinkTrail& passedOn);

// The list starts out as one empty entry; the first picture fills it and each later one adds an entry.
void AddPicture(std::vector<std::wstring>& list, std::wstring path);

// Adds the pictures below `folder` (ending in a backslash) to `list`: a folder's files in listed order before
// anything of its subfolders, and with `descend` each subfolder completely before the next, depth first.
// Entries are `folder` as given followed by the names; the lister gets `openFolder`, the same folder in the
// form it opens (both grow by the same names). A folder that fails is reported through `report` with the
// error number and abandoned, keeping what it gave before; the walk goes on with the next folder. A folder
// reached again by another path (a loop through a link) is not listed again, and when its parent's listing
// already identifies it, not even opened. A folder without an identity cannot be recognised that way: one
// reached through a link of the same name as a link already passed on its path, both leading to folders
// without an identity, is not listed (loops made of such links end there). The walk keeps its own stack, so
// the depth of the tree is not limited by the thread's stack. Once `stop` is requested it lists nothing more
// and returns with what it has.
void WalkPictures(const std::wstring& folder, const std::wstring& openFolder, bool descend, FolderLister& lister,
                  std::vector<std::wstring>& list, const std::function<void(uint32_t error)>& report,
                  std::stop_token stop = {});

}  // namespace kpv
