// The six texts read from an executable's version resource.
#pragma once

#include <string>

struct VersionFields {
  std::string fileVersion;   // "FileVersion"
  std::string internalName;  // "InternalName"
  std::string company;       // "CompanyName"
  std::string copyright;     // "LegalCopyright"
  std::string description;   // "FileDescription"
  std::string language;      // name of the first translation's language

  bool operator==(const VersionFields&) const = default;
};
