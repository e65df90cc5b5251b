#include "launcher/Launcher.h"

#include <climits>
#include <string>

#include "ini/IniProfile.h"
#include "launcher/ProgramStarter.h"
#include "platform/ProgramFiles.h"

namespace varo {

namespace {

constexpr const char* kSection = "Setup";
constexpr const char* kLanguageKey = "Language";

const char* LanguageName(Launcher::Language language) {
  return language == Launcher::Language::English ? "English" : "Chinese";
}

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

Launcher::Launcher(IniProfile& launcherIni, ProgramStarter& starter)
    : ini_(launcherIni), starter_(starter) {}

void Launcher::Open() {
  productNames_ = SplitTypes(ini_.GetValue(kSection, "Type", ""));
  const int position = ParsePosition(ini_.GetValue(kSection, "Default", ""));
  const bool inList = position >= 0 && position < static_cast<int>(productNames_.size());
  selection_ = inList ? position : -1;
  caption_ = ini_.GetValue(kSection, "AppName", "");
  // Only the exact word selects English; "english" or an absent key is Chinese.
  ApplyLanguage(ini_.GetValue(kSection, kLanguageKey, "") == "English" ? Language::English
                                                                       : Language::Chinese);
}

void Launcher::ApplyLanguage(Language language) {
  checked_ = language;
  ini_.SetValue(kSection, kLanguageKey, LanguageName(language));
}

Launcher::AcceptResult Launcher::Accept(int position) {
  const std::string defaultText = std::to_string(position);
  const Product& product = ProductAt(position);
  if (!IsProgramFile(ProgramPath(product))) return AcceptResult::kProgramMissing;
  {
    // The programmer reads its INI as it starts, so the language must be on
    // disk before the program is started.
    IniProfile productIni(4);
    if (!productIni.Open(product.iniName, true, true, false)) return AcceptResult::kIniNotSaved;
    if (checked_) productIni.SetValue(kSection, kLanguageKey, LanguageName(*checked_));
    productIni.Save(false);
    if (productIni.SaveFailed()) return AcceptResult::kIniNotSaved;
    productIni.Close();
  }
  starter_.Start(ProgramPath(product));
  ini_.SetValue(kSection, "Default", defaultText);
  return AcceptResult::kStarted;
}

std::string Launcher::MissingProgramText(const Product& product) const {
  const std::string program = std::string(product.program) + ExecutableSuffix();
  if (checked_ == Language::English) {
    return "The program " + program + " is not in the folder \"" + ProgramDirectory() +
           "\". It was not started; choose another product.";
  }
  return "文件夹“" + ProgramDirectory() + "”中没有程序 " + program + "，未能启动；请选择其他产品。";
}

std::string Launcher::SaveFailureText(const std::string& iniPath, const Product& product) const {
  if (checked_ == Language::English) {
    return "Cannot write the file \"" + iniPath + "\". " + product.program +
           " was not started.";
  }
  return "无法写入文件“" + iniPath + "”，" + product.program + " 未启动。";
}

const Launcher::Texts& Launcher::TextsFor(Language language) {
  static const Texts kEnglish{"Chinese", "English", "Select Product", "OK", "Cancel"};
  static const Texts kChinese{"中文", "英文", "请选择产品", "确认", "取消"};
  return language == Language::English ? kEnglish : kChinese;
}

const Launcher::Product& Launcher::ProductAt(int position) {
  static const Product kProducts[] = {
      {"Varo16.ini", "Varo16"},
      {"Varo199.ini", "Varo199"},
      {"Varo199V2.ini", "Varo199V2"},
      {"Varo199V3.ini", "Varo199V3"},
  };
  return position >= 0 && position <= 2 ? kProducts[position] : kProducts[3];
}

std::vector<std::string> Launcher::SplitTypes(const std::string& type) {
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  while (start <= type.size()) {
    std::string::size_type comma = type.find(',', start);
    if (comma == std::string::npos) comma = type.size();
    if (comma > start) pieces.push_back(type.substr(start, comma - start));
    start = comma + 1;
  }
  return pieces;
}

int Launcher::ParsePosition(const std::string& text) {
  std::string::size_type i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Stop growing once past int's range; atoi itself would be undefined here.
    if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string Launcher::ProgramPath(const Product& product) {
  return ProgramDirectory() + product.program + ExecutableSuffix();
}

std::string Launcher::IniPath(const Product& product) {
  return LocateSettingsFile(product.iniName).write;
}

}  // namespace varo
