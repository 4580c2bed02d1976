#include "launch_rule.h"

#include <limits>

#include "text_rules.h"

namespace {

// Compared in this order; whole names only.
const char* const kBrowserNames[] = {"iexplore.exe", "chrome.exe", "opera.exe"};

bool IsBrowserName(const std::string& lowerName) {
  for (const char* browser : kBrowserNames) {
    if (lowerName == browser) return true;
  }
  return false;
}

// Windows hands the id of an ended process to later ones. A process younger than the child
// cannot be its parent, so such a holder of the id is not believed.
int BelievedParentId(const LaunchLookups& lookups, int processId) {
  int parentId = lookups.parentId(processId);
  if (parentId == -1) return -1;
  int64_t parentCreated = lookups.creationTime(parentId);
  int64_t childCreated = lookups.creationTime(processId);
  if (parentCreated >= 0 && childCreated >= 0 && parentCreated > childCreated) return -1;
  return parentId;
}

LaunchAlertTexts MakeAlertTexts(const std::string& name, int processId, const std::string& path,
                                const std::string& parentName, int parentId,
                                const VersionFields& fields) {
  LaunchAlertTexts texts;
  texts.caption = "拦截到 " + name + " 创建";
  texts.processLabel = name + "  [PID]：" + DecimalText(processId);
  texts.pathBox = path.empty() ? std::string("没有获取到文件路劲") : path;
  texts.parentBox = parentName + "  [PID]：" + DecimalText(parentId);
  texts.details = "公司名称：" + fields.company + "\r\n文件描述：" + fields.description +
                  "\r\n文件版本：" + fields.fileVersion;
  texts.executablePath = path;
  return texts;
}

}  // namespace

int DecideLaunchWith(const LaunchLookups& lookups, int processId, const std::string& path) {
  std::string name = lookups.processName(processId);
  int parentId = BelievedParentId(lookups, processId);
  std::string parentName = parentId == -1 ? std::string() : lookups.processName(parentId);

  std::string lowerParent = LowerAscii(parentName);
  if (!IsBrowserName(lowerParent)) return 1;
  if (LowerAscii(name) == lowerParent) return 1;  // the browser starting another instance of itself

  int32_t size = lookups.fileSize(path);
  if (size < MaxWhitelistFileSize) {
    std::string digest = lookups.md5Text(lookups.readWholeFile(path));
    if (lookups.isWhitelisted(digest)) return 1;
  }

  if (lookups.workMode() == 1) return 0;
  return lookups.askUser(MakeAlertTexts(name, processId, path, parentName, parentId,
                                        lookups.versionFields()));
}

int32_t ClampFileSize(uint64_t size) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  return size > kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(size);
}
