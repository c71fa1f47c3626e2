#pragma once
// A folder graph for the walk's tests: subfolder entries point at nodes, so links and loops are edges back.
// Listing a node tells the visitor what a real listing of that folder would; the graph is only read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/folder_walk.h"

namespace kpv::testing {

struct FakeEntry {
    std::wstring name;
    int child = -1;               // a subfolder's node; -1 for a file
    bool reportsIdentity = true;  // false for a link, whose entry does not describe its target
};

struct FakeFolder {
    FolderIdentity identity;
    std::vector<FakeEntry> entries;
    uint32_t openError = 0;  // the folder cannot be opened
    uint32_t listError = 0;  // the listing breaks after `failAfter` entries
    size_t failAfter = 0;
};

// The node that path[pos..] names below `node`, one "name\" at a time; -1 when there is none.
inline int ResolveFakePath(const std::vector<FakeFolder>& nodes, int node, const std::wstring& path, size_t pos) {
    while (pos < path.size()) {
        const size_t end = path.find(L'\\', pos);
        if (end == std::wstring::npos) return -1;
        const std::wstring_view name(path.data() + pos, end - pos);
        const auto& entries = nodes[static_cast<size_t>(node)].entries;
        const auto it =
            std::find_if(entries.begin(), entries.end(), [&](const FakeEntry& e) { return e.child >= 0 && e.name == name; });
        if (it == entries.end()) return -1;
        node = it->child;
        pos = end + 1;
    }
    return node;
}

// Lists one node as the platform's lister would. `entered` is called once the walk has taken the folder.
template <typename OnEnter>
uint32_t ListFakeFolder(const std::vector<FakeFolder>& nodes, int node, const FolderIdentity& identity,
                        FolderVisitor& visitor, OnEnter entered) {
    const FakeFolder& n = nodes[static_cast<size_t>(node)];
    if (n.openError != 0) return n.openError;
    if (identity.Known()) {
        EXPECT_EQ(identity, n.identity) << "the walk passes on what the listing told";
    }
    if (!visitor.Enter(n.identity)) return 0;
    entered();
    for (size_t i = 0; i < n.entries.size(); ++i) {
        if (n.listError != 0 && i == n.failAfter) return n.listError;
        const FakeEntry& e = n.entries[i];
        if (e.child < 0) visitor.File(e.name);
        else visitor.Subfolder(e.name, e.reportsIdentity ? nodes[static_cast<size_t>(e.child)].identity : FolderIdentity{},
                               !e.reportsIdentity);
    }
    return n.listError;  // a failure after the last entry
}

}  // namespace kpv::testing
