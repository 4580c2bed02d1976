#include "log_record.h"

#include "text_rules.h"

std::string FormatLogTime(const LocalTime& t) {
  return DecimalText(t.year) + "." + DecimalText(t.month) + "." + DecimalText(t.day) + "-" +
         DecimalText(t.hour) + ":" + DecimalText(t.minute) + ":" + DecimalText(t.second);
}

std::string LogActionText(LogAction action) {
  return action == LogAction::Allowed ? "放行" : "拦截";
}

std::string FormatDetailText(int processId, const std::string& path, LogAction action,
                             const std::string& processName, const std::string& parentName,
                             const VersionFields& fields) {
  std::string text = "进 程 名: " + processName;
  text += "\r\n进 程 ID: " + DecimalText(processId);
  text += "\r\n路    径: " + path;
  text += "\r\n父 进 程: " + parentName;
  text += "\r\n操    作: " + LogActionText(action);
  text += "\r\n公    司: " + fields.company;
  text += "\r\n描    述: " + fields.description;
  text += "\r\n版    权: " + fields.copyright;
  text += "\r\n文件版本: " + fields.fileVersion;
  return text;
}
