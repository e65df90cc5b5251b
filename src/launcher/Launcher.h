#pragma once

#include <optional>
#include <string>
#include <vector>

namespace varo {

class IniProfile;
class ProgramStarter;

// The launcher's rules, without any window: what the product-selection
// dialog shows when it opens, what a language click does, and what OK does.
// The dialog (CVaroDlg) only mirrors this state onto its controls.
//
// The launcher INI ("Varo.ini", section "Setup") holds:
//   Type      product names for the list, separated by ','
//   Default   list position selected at opening, as decimal text
//   AppName   the dialog's caption
//   Language  "English" (exactly) for English texts; anything else Chinese
class Launcher {
 public:
  enum class Language { Chinese, English };

  // The five texts of the dialog in one language (UTF-8).
  struct Texts {
    const char* chineseBox;  // check box 1002
    const char* englishBox;  // check box 1003
    const char* label;       // static text 1001
    const char* ok;
    const char* cancel;
  };

  // One of the four products. Which one is chosen depends only on the list
  // position, never on the text shown for it.
  struct Product {
    const char* iniName;  // the programmer's INI, a settings file of the suite
    const char* program;  // the programmer's file name without suffix
  };

  // `launcherIni` is the open launcher INI; both objects must outlive this one.
  Launcher(IniProfile& launcherIni, ProgramStarter& starter);

  // Reads the launcher INI as the dialog opens: the product list, the
  // preselected position, the caption, and applies the stored language
  // (which writes it back, so an absent key becomes "Chinese").
  void Open();

  const std::vector<std::string>& ProductNames() const { return productNames_; }
  // The position preselected by "Default"; -1 when it lies outside the list.
  int Selection() const { return selection_; }
  const std::string& Caption() const { return caption_; }

  // Shows `language`: its box becomes the only one checked, and the name is
  // stored as "Setup"/"Language" of the launcher INI (in memory). This is
  // also what a click on either check box does, even on the checked one.
  void ApplyLanguage(Language language);
  // The language whose box is checked; none before any language is applied.
  std::optional<Language> CheckedLanguage() const { return checked_; }

  enum class AcceptResult {
    kStarted,         // the program was started (or failed to start, silently)
    kIniNotSaved,     // the product INI could not be written; nothing started
    kProgramMissing,  // no such program in the launcher's folder; nothing done
  };
  // OK with `position` selected in the list (-1 for none): writes the checked
  // language into the chosen product's INI, saves it, starts its program from
  // the launcher's folder and stores the position as "Default". A program
  // that is there but cannot be started changes nothing of this.
  // A program that is not in the launcher's folder at all (the sibling
  // programmers are delivered apart from this suite) is not asked for: its
  // INI is left alone, "Default" is not stored, and the dialog names the
  // missing program (MissingProgramText) and stays open.
  // When the product INI cannot be opened or saved, the program would start
  // in a language that was never written: then nothing is started, "Default"
  // is not stored (the dialog says so with SaveFailureText and stays open).
  // Cancel has no rule of its own: nothing is started, and a language applied
  // before it is still written with the launcher INI at exit.
  AcceptResult Accept(int position);

  // The message for a product INI at `iniPath` that could not be written, in
  // the checked language (UTF-8; the path's bytes as they are).
  std::string SaveFailureText(const std::string& iniPath, const Product& product) const;
  // The message for a product whose program is not in the launcher's folder,
  // in the checked language, naming the program and where it was looked for.
  std::string MissingProgramText(const Product& product) const;

  static const Texts& TextsFor(Language language);
  // Positions 0-2 pick their own product; every other one (no selection
  // included) the 199-channel V3 programmer.
  static const Product& ProductAt(int position);
  // The pieces of "Type" between commas, unchanged; empty pieces give no entry.
  static std::vector<std::string> SplitTypes(const std::string& type);
  // "Default" as C's atoi reads it: blanks, an optional sign and the leading
  // decimal digits; anything else gives 0. Values beyond int are clamped
  // (they select nothing either way).
  static int ParsePosition(const std::string& text);
  // The full path of `product`'s program in the launcher's folder.
  static std::string ProgramPath(const Product& product);
  // The full path `product`'s INI is written to: in the launcher's folder, or
  // the user's copy of it when the suite is installed read-only.
  static std::string IniPath(const Product& product);

 private:
  IniProfile& ini_;
  ProgramStarter& starter_;
  std::vector<std::string> productNames_;
  int selection_ = -1;
  std::string caption_;
  std::optional<Language> checked_;
};

}  // namespace varo
