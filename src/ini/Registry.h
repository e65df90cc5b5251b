#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace varo {

// DWORD and string values under a key path such as "Software\\Varo16", standing where the
// programs keep the port ("com"), product type ("Type") and band ("Field") of
// the current user.
//
// Kept in the file "$XDG_CONFIG_HOME/varo/registry.ini" (XDG_CONFIG_HOME
// defaults to "~/.config"), one INI section per key path, values in decimal.
// Opening a key creates it (and the file) when missing. Every call reads or
// writes the file at once, so several programs of the suite see each other's
// values. The file is replaced whole on every change; when it is a symbolic
// link (a chain of them, say into a synchronised folder), the file at the end
// of the chain is replaced and the links stay; a loop of links is not
// written. Failures are not reported: a value that cannot be read is missing.
class Registry {
 public:
  explicit Registry(std::string keyPath);

  std::optional<std::uint32_t> QueryDword(const std::string& name) const;
  // Returns false when the value could not be stored.
  bool SetDword(const std::string& name, std::uint32_t value);

  // String values (a folder, say). Any bytes round-trip: what the INI reader
  // would cut or trim ('%', ';', '*', a '/' after a '/', control characters,
  // blanks at either end) is kept as %XX in the file.
  std::optional<std::string> QueryString(const std::string& name) const;
  bool SetString(const std::string& name, const std::string& value);

  // The file the values are kept in.
  static std::string StorePath();

 private:
  std::string keyPath_;
};

}  // namespace varo
