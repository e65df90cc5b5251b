#include "lang/LanguageModule.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "platform/ProgramFiles.h"

namespace varo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<int> ParseId(std::string_view s) {
  s = Trim(s);
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return value;
}

std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[++i]) {
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 's': out += ' '; break;
      case '\\': out += '\\'; break;
      default:  // an unknown escape stays as written
        out += '\\';
        out += s[i];
    }
  }
  return out;
}

bool IsSeparator(std::string_view line) { return line == "separator" || line == "-"; }

enum class Block { kNone, kStrings, kMenu, kAccelerators, kToolbar, kDialog, kUnknown };

}  // namespace

bool LanguageModule::LoadFile(const std::string& path) {
  *this = LanguageModule();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad() || !LoadText(text)) {
    *this = LanguageModule();
    return false;
  }
  path_ = path;
  return true;
}

bool LanguageModule::LoadText(std::string_view text) {
  *this = LanguageModule();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  Block block = Block::kNone;
  int blockId = 0;
  int lineNo = 0;
  auto warn = [&](const std::string& what) {
    warnings_.push_back("line " + std::to_string(lineNo) + ": " + what);
  };

  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view line = Trim(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    ++lineNo;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']') {
        warn("section header without ']'");
        block = Block::kUnknown;
        continue;
      }
      std::string_view inner = Trim(line.substr(1, line.size() - 2));
      std::size_t space = inner.find_first_of(" \t");
      std::string_view kind = inner.substr(0, space);
      std::optional<int> id =
          space == std::string_view::npos ? std::optional<int>() : ParseId(inner.substr(space));
      block = Block::kUnknown;
      if (kind == "strings" && space == std::string_view::npos) {
        block = Block::kStrings;
      } else if (id) {
        blockId = *id;
        if (kind == "menu") {
          block = Block::kMenu;
          menus_[blockId].clear();
        } else if (kind == "accelerators") {
          block = Block::kAccelerators;
          accelerators_[blockId].clear();
        } else if (kind == "toolbar") {
          block = Block::kToolbar;
          toolbars_[blockId].clear();
        } else if (kind == "dialog") {
          block = Block::kDialog;
        }
      }
      if (block == Block::kUnknown) warn("unknown section [" + std::string(inner) + "]");
      continue;
    }

    std::size_t eq = line.find('=');
    std::string_view key = Trim(line.substr(0, eq));
    std::string value =
        eq == std::string_view::npos ? std::string() : Unescape(Trim(line.substr(eq + 1)));

    switch (block) {
      case Block::kNone:
        warn("text outside a section");
        break;
      case Block::kUnknown:
        break;  // already reported at the header
      case Block::kStrings: {
        std::optional<int> id = ParseId(key);
        if (!id || eq == std::string_view::npos) {
          warn("expected 'number = text'");
          break;
        }
        strings_[*id] = value;
        break;
      }
      case Block::kMenu: {
        std::vector<MenuPopup>& menu = menus_[blockId];
        if (eq == std::string_view::npos && IsSeparator(line)) {
          if (menu.empty()) {
            warn("separator before the first popup");
          } else {
            menu.back().items.push_back({0, {}});
          }
          break;
        }
        if (eq != std::string_view::npos && key == "popup") {
          menu.push_back({value, {}});
          break;
        }
        std::optional<int> id = ParseId(key);
        if (!id || *id == 0 || eq == std::string_view::npos) {
          warn("expected 'popup = text', 'command = text' or 'separator'");
        } else if (menu.empty()) {
          warn("menu item before the first popup");
        } else {
          menu.back().items.push_back({*id, value});
        }
        break;
      }
      case Block::kAccelerators: {
        std::optional<int> id = ParseId(key);
        if (!id || value.empty()) {
          warn("expected 'command = keys'");
          break;
        }
        accelerators_[blockId].push_back({*id, value});
        break;
      }
      case Block::kToolbar: {
        if (IsSeparator(line)) {
          toolbars_[blockId].push_back(0);
          break;
        }
        std::optional<int> id = ParseId(line);
        if (!id || *id == 0) {
          warn("expected a command number or 'separator'");
          break;
        }
        toolbars_[blockId].push_back(*id);
        break;
      }
      case Block::kDialog:
        if (key.empty() || eq == std::string_view::npos) {
          warn("expected 'key = text'");
          break;
        }
        dialogs_[blockId][std::string(key)] = value;
        break;
    }
  }
  // The frame title and the document-less menu bar (both resource 128).
  loaded_ = HasString(128) && !Menu(128).empty();
  return loaded_;
}

std::string LanguageModule::String(int id, const std::string& fallback) const {
  auto it = strings_.find(id);
  return it == strings_.end() ? fallback : it->second;
}

bool LanguageModule::HasString(int id) const { return strings_.count(id) != 0; }

const std::vector<LanguageModule::MenuPopup>& LanguageModule::Menu(int id) const {
  static const std::vector<MenuPopup> kNone;
  auto it = menus_.find(id);
  return it == menus_.end() ? kNone : it->second;
}

const std::vector<LanguageModule::Accelerator>& LanguageModule::Accelerators(int id) const {
  static const std::vector<Accelerator> kNone;
  auto it = accelerators_.find(id);
  return it == accelerators_.end() ? kNone : it->second;
}

const std::vector<int>& LanguageModule::Toolbar(int id) const {
  static const std::vector<int> kNone;
  auto it = toolbars_.find(id);
  return it == toolbars_.end() ? kNone : it->second;
}

std::optional<std::string> LanguageModule::DialogText(int dialogId, const std::string& key) const {
  auto dlg = dialogs_.find(dialogId);
  if (dlg == dialogs_.end()) return std::nullopt;
  auto it = dlg->second.find(key);
  if (it == dlg->second.end()) return std::nullopt;
  return it->second;
}

std::string LanguageModule::DialogText(int dialogId, const std::string& key,
                                       const std::string& fallback) const {
  return DialogText(dialogId, key).value_or(fallback);
}

std::string LanguageModule::DialogText(int dialogId, int controlId,
                                       const std::string& fallback) const {
  return DialogText(dialogId, std::to_string(controlId), fallback);
}

std::vector<int> LanguageModule::StringIds() const {
  std::vector<int> ids;
  for (const auto& [id, text] : strings_) ids.push_back(id);
  return ids;
}

std::vector<std::string> LanguageModule::DialogKeys(int dialogId) const {
  std::vector<std::string> keys;
  auto dlg = dialogs_.find(dialogId);
  if (dlg != dialogs_.end())
    for (const auto& [key, text] : dlg->second) keys.push_back(key);
  return keys;
}

std::optional<std::string> FindLanguageModule(const std::string& dir, const std::string& language,
                                              const std::string& suffix) {
  return FindFileNoCase(dir, language + suffix);
}

CommandPrompt SplitCommandPrompt(const std::string& text) {
  std::size_t nl = text.find('\n');
  if (nl == std::string::npos) return {text, {}};
  return {text.substr(0, nl), text.substr(nl + 1)};
}

}  // namespace varo
