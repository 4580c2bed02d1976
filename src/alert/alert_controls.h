// Control ids of the alert window, for code that reads or drives its controls.
#pragma once

enum AlertControlId {
  kAlertWarningId = 101,         // 标签2
  kAlertPictureId = 102,         // 图片框1
  kAlertNameId = 103,            // Name
  kAlertPathCaptionId = 104,     // 标签3
  kAlertPathId = 105,            // path
  kAlertDetailsCaptionId = 106,  // 标签1
  kAlertDetailsId = 107,         // 编辑框2
  kAlertParentCaptionId = 108,   // 标签4
  kAlertParentId = 109,          // IE
  kAlertAllowId = 110,           // 按钮1
  kAlertBlockId = 111,           // 按钮2
};
