#pragma once

#include <string>
#include <vector>

namespace varo {

// The INI file engine of every program of the suite: the whole file is read
// into memory on Open, reads and writes work on that model, and Save writes the
// whole model back (comments and blank lines are not kept).
//
// Contract highlights:
// - Strings are bytes; GBK and UTF-8 texts pass through unchanged. A UTF-8
//   byte-order mark at the very start of the file is not part of its first
//   line, and Save writes it back in front of the text.
// - A file is opened by name where the suite keeps that settings file (see
//   LocateSettingsFile: the program directory, or for a suite installed
//   read-only the user's settings folder, the installed file being read
//   until the user's copy exists), or as a path when the name holds a '/'.
//   Lines end in "\n" when written; CR LF is read as well.
// - Section lookup: the first section of a name wins. Key lookup: the last
//   key of a name in that section wins. Comparison ignores ASCII letter case
//   when ignore-case is on, else it is byte-wise. A text that is not valid
//   UTF-8 is taken as GBK, whose second bytes are never folded (two different
//   Chinese characters may differ only in a trail byte that looks like a
//   letter).
// - GetValue cuts the found value at "//", then at TAB+";", then at "/*";
//   a missing key gives the default trimmed, a missing section the default
//   untouched.
// - SetValue changes memory only and sets the modified mark; a change of
//   letter case alone (ignore-case on) replaces the value without marking.
// - Save writes only when modified, optionally after a numbered backup copy
//   "<file>.NNN", and leaves the modified mark set. The text replaces the
//   file through a temporary file beside it (see WriteFileBytes), so a failed
//   save leaves the old text whole; symbolic links are followed to the file
//   at the end of their chain.
// - Nothing here ever shows a message; a caller that must know whether the
//   file was written asks SaveFailed().
class IniProfile {
 public:
  explicit IniProfile(int slotStep = 4);
  ~IniProfile();  // Close()
  IniProfile(const IniProfile&) = delete;
  IniProfile& operator=(const IniProfile&) = delete;

  // Opens `fileName` where the suite keeps it (see platform/ProgramFiles.h,
  // LocateSettingsFile); a name holding a '/' is taken as a path as it
  // stands. A file that does not exist is created empty; an installed file
  // read in place of the user's copy makes no copy until a save. Returns
  // false when it can be neither read nor created; the object then holds no
  // file. Path() is where the model is written.
  bool Open(const std::string& fileName, bool autoSave, bool ignoreCase, bool backupOnAutoSave);

  std::string GetValue(const std::string& section, const std::string& key,
                       const std::string& defaultValue) const;
  void SetValue(const std::string& section, const std::string& key, const std::string& value);

  // Writes the model to the file when modified; returns the backup path
  // (empty when no backup exists or nothing was written).
  std::string Save(bool makeBackup);
  // Whether the last Save that had something to write failed to write it
  // (the file then holds what it held before). False after Open.
  bool SaveFailed() const { return saveFailed_; }

  // Auto-saves when asked to at Open, then releases everything.
  void Close();

  bool IsOpen() const { return !path_.empty(); }
  bool IsModified() const { return modified_; }
  const std::string& Path() const { return path_; }

  // Section names in file order (index 0 is the nameless leading section).
  std::vector<std::string> SectionNames() const;

  // Appends an empty section `section` when none of that name exists (and
  // sets the modified mark); with no file open nothing happens. It lets a
  // caller record a section that holds no keys yet.
  void AddSection(const std::string& section);

  // The text Save writes: the byte-order mark the file began with, if any
  // (or when the first key begins with its bytes, which the mark protects),
  // then every section in order, "[name]" then "key=value" lines, each
  // ending in "\n".
  std::string Text() const;

 private:
  struct Slot {
    std::vector<std::string> keys;
    std::vector<std::string> values;
  };

  int FindSection(const std::string& section) const;
  int AppendSection(const std::string& section);
  void Release();
  int FindKey(const Slot& slot, const std::string& key) const;
  bool Equal(const std::string& a, const std::string& b) const;
  void GrowFor(int sectionIndex);
  std::string ChooseBackupPath() const;

  const int slotStep_;
  std::string path_;
  std::vector<std::string> sectionNames_;
  std::vector<Slot> slots_;
  int lastSection_ = 0;
  bool ignoreCase_ = true;
  bool autoSave_ = false;
  bool backupOnAutoSave_ = false;
  std::string backupPath_;
  bool modified_ = false;
  bool saveFailed_ = false;
  bool byteOrderMark_ = false;
  bool makeFolder_ = false;
};

}  // namespace varo
