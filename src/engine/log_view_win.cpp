#include "log_view.h"

#include <commctrl.h>

#include "process_lookups.h"

namespace {

struct LogColumn {
  const char* header;
  int width;
};

// The fifth column has no header and no width: it only carries the detail text.
constexpr LogColumn kLogColumns[] = {{"时间", 120}, {"进程", 120}, {"路径", 180}, {"状态", 100}, {"", 0}};

LocalTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void SetRowText(HWND logView, int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(logView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

HWND CreateLogView(HWND parent, int x, int y, int width, int height, int controlId) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  HWND view = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL,
                              x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                              GetModuleHandleA(nullptr), nullptr);
  if (!view) return nullptr;
  SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  int index = 0;
  for (const LogColumn& c : kLogColumns) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(c.header);
    column.cx = c.width;
    column.iSubItem = index;
    SendMessageA(view, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
    ++index;
  }
  return view;
}

void AppendLogRow(HWND logView, int processId, const std::string& path, LogAction action,
                  const VersionFields& fields) {
  std::string time = FormatLogTime(CurrentLocalTime());
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(SendMessageA(logView, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = time.data();
  int row = static_cast<int>(SendMessageA(logView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  SetRowText(logView, row, 1, ProcessNameById(processId));
  SetRowText(logView, row, 2, path);
  SetRowText(logView, row, 3, LogActionText(action));
  // The detail text looks the name up again, as the row is written.
  std::string name = ProcessNameById(processId);
  std::string parentName = ProcessNameById(ParentProcessId(processId));
  SetRowText(logView, row, 4, FormatDetailText(processId, path, action, name, parentName, fields));
}

std::string ReadLogCellText(HWND logView, int row, int column) {
  // LVM_GETITEMTEXTA reports the length it copied; grow until the whole text fits.
  std::string buffer(256, '\0');
  for (;;) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    size_t length = SendMessageA(logView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    if (length + 1 < buffer.size()) return buffer.substr(0, length);
    buffer.resize(buffer.size() * 4);
  }
}
