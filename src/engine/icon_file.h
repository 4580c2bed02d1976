// The ICO file format as far as the alert's icon needs it: reading the images of an .ico
// file, reading the image list of an icon-group resource, and writing images as a standard
// ICO file whose directory is derived from the images themselves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Where an executable path gives its icon, by its last three characters lower-cased.
enum class IconSource { None, IcoFile, Resources };
IconSource IconSourceOf(std::string_view path);

// The images of an .ico file in directory order. Empty when the file does not start with
// 0, 1 and a count, has no images, or a directory entry points outside the file.
std::vector<std::string> ReadIcoImages(std::string_view file);

// The RT_ICON ids an RT_GROUP_ICON resource lists, in the group's order. Entries cut off by
// the end of the resource are not read.
std::vector<int> GroupIconIds(std::string_view group);

// A standard ICO file holding the images in the given order. Each directory entry comes
// from the image's own header: the PNG IHDR for PNG-compressed images, the bitmap header
// for the rest. Images with neither header readable are left out; no image left gives an
// empty text.
std::string WriteIcoFile(const std::vector<std::string>& images);
