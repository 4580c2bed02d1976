#include "icon_extraction_win.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "default_icon.h"
#include "fingerprint_lookups_win.h"
#include "icon_file.h"
#include "write_whole_file.h"

namespace {

// A resource name is either a number or a text; the text is only valid inside the
// enumeration callback, so it is copied.
struct ResourceName {
  WORD id = 0;
  std::string text;

  LPCSTR Pointer() const { return text.empty() ? MAKEINTRESOURCEA(id) : text.c_str(); }
};

BOOL CALLBACK OnIconGroupFound(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
  auto* first = reinterpret_cast<std::optional<ResourceName>*>(context);
  if (IS_INTRESOURCE(name)) {
    first->emplace(ResourceName{static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)), {}});
  } else {
    first->emplace(ResourceName{0, name});
  }
  return FALSE;  // only the first group is used
}

std::optional<std::string> ResourceBytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  return std::string(static_cast<const char*>(data), SizeofResource(module, found));
}

// The images of the first icon group, in the group's order; images the group lists but the
// file lacks are skipped.
std::vector<std::string> IconImagesOfModule(const std::string& path) {
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  std::vector<std::string> images;
  std::optional<ResourceName> group;
  EnumResourceNamesA(module, RT_GROUP_ICON, OnIconGroupFound,
                     reinterpret_cast<LONG_PTR>(&group));
  if (group) {
    std::optional<std::string> directory =
        ResourceBytes(module, group->Pointer(), RT_GROUP_ICON);
    for (int id : directory ? GroupIconIds(*directory) : std::vector<int>()) {
      std::optional<std::string> image =
          ResourceBytes(module, MAKEINTRESOURCEA(id), RT_ICON);
      if (image) images.push_back(std::move(*image));
    }
  }
  FreeLibrary(module);
  return images;
}

std::vector<std::string> IconImagesOf(const std::string& path) {
  switch (IconSourceOf(path)) {
    case IconSource::IcoFile: return ReadIcoImages(ReadFileSharedForReading(path));
    case IconSource::Resources: return IconImagesOfModule(path);
    case IconSource::None: break;
  }
  return {};
}

}  // namespace

std::string ExtractAlertIcon(const std::string& executablePath, const std::string& iconFilePath) {
  std::string ico = WriteIcoFile(IconImagesOf(executablePath));
  if (ico.empty() || !WriteWholeFile(iconFilePath, ico)) return DefaultIconFile();
  std::string shown = ReadFileSharedForReading(iconFilePath);
  return shown.empty() ? DefaultIconFile() : shown;
}
