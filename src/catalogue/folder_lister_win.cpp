#include "catalogue/folder_lister_win.h"

#include <windows.h>

#include <string_view>

#include "runtime/base/handles_win.h"
#include "runtime/base/extended_path.h"

namespace kpv {

namespace {

FolderIdentity IdentityOf(HANDLE folder) {
    FILE_ID_INFO id{};
    if (GetFileInformationByHandleEx(folder, FileIdInfo, &id, sizeof id)) {
        uint64_t low = 0, high = 0;
        static_assert(sizeof id.FileId.Identifier == 16);
        for (int i = 0; i < 8; ++i) {
            low |= static_cast<uint64_t>(id.FileId.Identifier[i]) << (8 * i);
            high |= static_cast<uint64_t>(id.FileId.Identifier[8 + i]) << (8 * i);
        }
        return IdentityFromFileId(id.VolumeSerialNumber, low, high);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(folder, &info))
        return IdentityFromFileId(info.dwVolumeSerialNumber,
                                  (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
    return {};  // unknown: never taken for another folder
}

}  // namespace

uint32_t DirectoryHandleLister::List(const std::wstring& openPath, const FolderIdentity& identity,
                                     FolderVisitor& visitor) {
    const rt::IoCancel::Scope scope(cancel_);
    if (scope.Cancelled()) return kListingCancelled;
    const std::wstring path = DirectoryOpenPath(openPath);
    const rt::UniqueFile folder(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return GetLastError();
    const FolderIdentity self = identity.Known() ? identity : IdentityOf(folder.get());
    if (!visitor.Enter(self)) return ERROR_SUCCESS;

    FILE_INFO_BY_HANDLE_CLASS infoClass = FileIdBothDirectoryRestartInfo;
    const DWORD bufferBytes = static_cast<DWORD>(buffer_.size() * sizeof(uint64_t));
    for (;;) {
        if (scope.Cancelled()) return kListingCancelled;
        if (!GetFileInformationByHandleEx(folder.get(), infoClass, buffer_.data(), bufferBytes)) {
            const DWORD error = GetLastError();
            if (error == ERROR_NO_MORE_FILES) return ERROR_SUCCESS;
            // Listing a file rather than a folder fails under some platforms without an error number.
            return error != ERROR_SUCCESS ? error : ERROR_DIRECTORY;
        }
        infoClass = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer_.data());
        for (size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                if (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    const bool link = (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                    const FolderIdentity child = link || !self.Known()
                                                     ? FolderIdentity{}
                                                     : IdentityFromFileId(self.volume, static_cast<uint64_t>(entry->FileId.QuadPart));
                    visitor.Subfolder(name, child, link);
                } else {
                    visitor.File(name);
                }
            }
            if (entry->NextEntryOffset == 0) break;
            offset += entry->NextEntryOffset;
        }
    }
}

}  // namespace kpv
