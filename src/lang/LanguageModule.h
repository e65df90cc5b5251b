#pragma once

// Language modules: every text a programmer's menus, toolbar, dialogs and
// string table show, one plain-text file per language and programmer
// ("English16.lng", "Chinese16.lng"), found in the program directory by the
// INI language value followed by the programmer's suffix ("16.lng").
//
// File format
// -----------
// The file is text, UTF-8 (a GBK file loads as well: the reader keeps bytes,
// and the user interface decides the encoding where it turns them into
// display strings). A UTF-8 byte-order mark at the start is skipped. Lines end
// with LF or CR LF; each line is trimmed of blanks and tabs on both sides.
//
//   ; comment            lines starting with ';' or '#' are comments
//   [strings]            the string table
//   61452 = All data will be Cleared!
//   32773 = Read Data From Radio\nRead     (status prompt, LF, tooltip)
//
//   [menu 129]           a menu bar: popups with their items, in order
//   popup = &File
//   57600 = &New\tCtrl+N
//   separator
//
//   [accelerators 128]   command = key sequence ("Ctrl+N", "Shift+F6", "F1")
//   57600 = Ctrl+N
//
//   [toolbar 128]        the buttons in order; "separator" leaves a gap
//   57600
//   separator
//
//   [dialog 135]         a dialog's texts by key: "caption", a control id,
//   caption = COM Setup  or a name the dialog asks for ("label.1118" for the
//   1007 = COM1          label in front of control 1118, "1001.items" for
//                        the entries a list is created with, joined by '|')
//
// In `key = text` lines the key ends at the first '='; the text is the rest,
// trimmed. A text may use the escapes \t (TAB), \n (line feed), \s (a blank,
// for a text that must begin or end with one) and \\ (a backslash). Later
// lines with the same key replace earlier ones. Lines the reader does not
// understand are skipped and listed in Warnings() with their line numbers, so
// a damaged module still shows every text it does carry.
//
// A module must at least carry the frame's title (string 128) and the menu
// bar shown without a document ([menu 128] with a popup): a file without them
// (an empty file, random bytes, some other text) would leave a window with
// nothing to work with, so it is refused like a missing one.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varo {

class LanguageModule {
 public:
  struct MenuItem {
    int id = 0;  // 0 marks a separator
    std::string text;
  };
  struct MenuPopup {
    std::string text;
    std::vector<MenuItem> items;
  };
  struct Accelerator {
    int id = 0;
    std::string keys;
  };

  // Reads the module at `path`. Returns false when the file cannot be read
  // or is not a usable module (see above); the object is then empty.
  bool LoadFile(const std::string& path);
  // Reads a module from its text (the same format as a file) and returns
  // whether it is usable, which IsLoaded() then tells as well. Whatever the
  // text carried stays readable either way.
  bool LoadText(std::string_view text);

  bool IsLoaded() const { return loaded_; }
  const std::string& Path() const { return path_; }

  // The string `id` of the string table, or `fallback` when it has none.
  std::string String(int id, const std::string& fallback = {}) const;
  bool HasString(int id) const;

  // The menu bar `id`; empty when the module has none.
  const std::vector<MenuPopup>& Menu(int id) const;
  const std::vector<Accelerator>& Accelerators(int id) const;
  // Toolbar buttons in order; 0 marks a gap.
  const std::vector<int>& Toolbar(int id) const;

  // The text `key` of dialog `dialogId` ("caption", "1007", "label.1118").
  std::optional<std::string> DialogText(int dialogId, const std::string& key) const;
  std::string DialogText(int dialogId, const std::string& key, const std::string& fallback) const;
  std::string DialogText(int dialogId, int controlId, const std::string& fallback = {}) const;

  // Every identifier of the string table, ascending; every key of a dialog.
  std::vector<int> StringIds() const;
  std::vector<std::string> DialogKeys(int dialogId) const;

  // "line N: what" for every line that was skipped.
  const std::vector<std::string>& Warnings() const { return warnings_; }

 private:
  bool loaded_ = false;
  std::string path_;
  std::map<int, std::string> strings_;
  std::map<int, std::vector<MenuPopup>> menus_;
  std::map<int, std::vector<Accelerator>> accelerators_;
  std::map<int, std::vector<int>> toolbars_;
  std::map<int, std::map<std::string, std::string>> dialogs_;
  std::vector<std::string> warnings_;
};

// The module file for `language` + `suffix` ("Chinese" + "16.lng") in `dir`,
// found without regard to letter case; nothing when there is none. An empty
// language asks for the bare suffix ("16.lng").
std::optional<std::string> FindLanguageModule(const std::string& dir, const std::string& language,
                                              const std::string& suffix);

// Splits a command's string-table text "prompt\ntooltip" into its parts; a
// text without '\n' is the prompt alone.
struct CommandPrompt {
  std::string prompt;
  std::string tooltip;
};
CommandPrompt SplitCommandPrompt(const std::string& text);

}  // namespace varo
