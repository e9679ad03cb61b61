// The message log's files Vexlan carries inside itself (hook_resources.h),
// written out where the system can load them into other programs.
//
// Each file is written to Vexlan's own folder on first use, under a name
// that holds the start of its SHA-256 digest, and is checked against what
// Vexlan carries every time a log is about to use it: opened so that no one
// can write, rename or delete it while the handle is open, read whole
// through that handle and hashed. A file that does not match is written
// again once; one that still does not (another program holds it) is refused
// in words. The handle stays open as long as a log uses the file.
//
// The folder is under the user's local application data; when Vexlan runs
// elevated it is under Program Files instead, which only administrators can
// write: a DLL that a program of lower rights could have replaced is never
// loaded into a program of higher rights.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <variant>

#include "msglog/sha256.h"
#include "msglog/watch_failures.h"
#include "platform/toolkit/win32/handles.h"

namespace vexlan {

enum class CarriedFile { HookDll, HookDll32, HookHost32 };

// A checked file, open against writing, renaming and deleting while it lives.
class HeldFile {
 public:
  HeldFile(std::wstring path, UniqueKernelHandle handle) : path_(std::move(path)), handle_(std::move(handle)) {}
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  UniqueKernelHandle handle_;
};

class HookFiles {
 public:
  // The files `module` carries, written to `folder` (made when missing).
  HookFiles(HMODULE module, std::wstring folder);

  // Vexlan's folder for them (see the top); "" when the system names none.
  static std::wstring DefaultFolder();

  bool Carries(CarriedFile file) const { return !Bytes(file).empty(); }
  const std::wstring& Folder() const { return folder_; }
  // Where `file` is written: its name holds the start of its digest.
  std::wstring PathOf(CarriedFile file) const;

  // The file, written when missing or different, checked, and held open
  // against writing; or why it cannot be used (HookFileDiffers,
  // HookFileUnwritable).
  std::variant<std::shared_ptr<const HeldFile>, WatchError> Prepare(CarriedFile file);

 private:
  std::span<const std::uint8_t> Bytes(CarriedFile file) const;
  const Sha256Digest& Digest(CarriedFile file) const;
  // The file at `path` opened against writing, when it is what Vexlan carries.
  std::shared_ptr<const HeldFile> OpenChecked(CarriedFile file, const std::wstring& path);

  HMODULE module_;
  std::wstring folder_;
  mutable std::map<CarriedFile, Sha256Digest> digests_;  // of what Vexlan carries
};

}  // namespace vexlan
