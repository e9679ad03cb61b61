#include "msglog/win32/hook_files.h"

#include <shlobj.h>

#include <vector>

#include "msglog/win32/hook_resources.h"
#include "platform/utf.h"

namespace vexlan {

namespace {

// Larger than any file Vexlan carries: a file that claims more is not ours.
constexpr LONGLONG kLargestFile = 16 << 20;

std::string Narrow(const std::wstring& text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

bool Elevated() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const BOOL read = ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  ::CloseHandle(token);
  return read && elevation.TokenIsElevated;
}

std::wstring SystemFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

// Makes `folder` and the folders above it that are missing.
void MakeFolders(const std::wstring& folder) {
  for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
    ::CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
  }
  ::CreateDirectoryW(folder.c_str(), nullptr);
}

struct FileName {
  int resource;
  const wchar_t* stem;
  const wchar_t* extension;
};

FileName NameOf(CarriedFile file) {
  switch (file) {
    case CarriedFile::HookDll:
      return {VEXLAN_RESOURCE_HOOK_DLL, sizeof(void*) == 8 ? L"vexlanhook64" : L"vexlanhook32", L".dll"};
    case CarriedFile::HookDll32:
      return {VEXLAN_RESOURCE_HOOK_DLL32, L"vexlanhook32", L".dll"};
    case CarriedFile::HookHost32:
      return {VEXLAN_RESOURCE_HOOK_HOST32, L"vexlanhost32", L".exe"};
  }
  return {0, L"", L""};
}

}  // namespace

HookFiles::HookFiles(HMODULE module, std::wstring folder) : module_(module), folder_(std::move(folder)) {}

std::wstring HookFiles::DefaultFolder() {
  const std::wstring base = SystemFolder(Elevated() ? CSIDL_PROGRAM_FILES : CSIDL_LOCAL_APPDATA);
  return base.empty() ? std::wstring() : base + L"\\Vexlan\\Message log";
}

std::span<const std::uint8_t> HookFiles::Bytes(CarriedFile file) const {
  const HRSRC found = ::FindResourceW(module_, MAKEINTRESOURCEW(NameOf(file).resource), MAKEINTRESOURCEW(10));
  if (!found) return {};
  const HGLOBAL loaded = ::LoadResource(module_, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), ::SizeofResource(module_, found)};
}

const Sha256Digest& HookFiles::Digest(CarriedFile file) const {
  auto it = digests_.find(file);
  if (it == digests_.end()) it = digests_.emplace(file, Sha256Of(Bytes(file))).first;
  return it->second;
}

std::wstring HookFiles::PathOf(CarriedFile file) const {
  const FileName name = NameOf(file);
  const std::string digest = DigestHex(Digest(file)).substr(0, 16);
  return folder_ + L"\\" + name.stem + L"-" + std::wstring(digest.begin(), digest.end()) + name.extension;
}

std::shared_ptr<const HeldFile> HookFiles::OpenChecked(CarriedFile file, const std::wstring& path) {
  // Shared for reading only: no one writes, renames or deletes the file
  // while this handle is open, so what is checked here is what loads.
  UniqueKernelHandle handle(
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) {
    handle.release();
    return nullptr;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(handle.get(), &size) || size.QuadPart > kLargestFile) return nullptr;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() && (!::ReadFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size())) {
    return nullptr;
  }
  if (Sha256Of(bytes) != Digest(file)) return nullptr;
  return std::make_shared<const HeldFile>(path, std::move(handle));
}

std::variant<std::shared_ptr<const HeldFile>, WatchError> HookFiles::Prepare(CarriedFile file) {
  const std::span<const std::uint8_t> bytes = Bytes(file);
  const std::wstring path = PathOf(file);
  if (bytes.empty() || folder_.empty()) return WatchError{WatchFailure::HookFileUnwritable, ERROR_FILE_NOT_FOUND, Narrow(path)};
  MakeFolders(folder_);
  if (auto held = OpenChecked(file, path)) return held;
  // Missing, or not ours: written anew, then checked like any other time.
  const bool existed = ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  const HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    return WatchError{existed ? WatchFailure::HookFileDiffers : WatchFailure::HookFileUnwritable, error, Narrow(path)};
  }
  DWORD written = 0;
  const BOOL wrote = ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const DWORD error = ::GetLastError();
  ::CloseHandle(out);
  if (!wrote || written != bytes.size()) return WatchError{WatchFailure::HookFileUnwritable, error, Narrow(path)};
  if (auto held = OpenChecked(file, path)) return held;
  return WatchError{WatchFailure::HookFileDiffers, 0, Narrow(path)};
}

}  // namespace vexlan
