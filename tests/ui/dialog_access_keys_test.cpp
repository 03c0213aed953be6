// Every control of a dialog template has its own Alt key: two controls on one
// key make Alt+key go to the first, and the keys typed next change the wrong
// control.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

// The access key of a control text ('&' before it, "&&" is a plain '&'), or 0.
char AccessKey(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    ++i;
  }
  return 0;
}

// "file: dialog: key 'x' on "A" and "B"" for each clash in one resource script.
std::string Clashes(const std::filesystem::path& script) {
  std::ifstream in(script);
  const std::regex start(R"(^\s*(\w+)\s+DIALOG(EX)?\b)"), end(R"(^\s*END\b)"), quoted(R"re("((?:[^"]|"")*)")re");
  std::string line, dialog, found;
  std::map<char, std::string> keys;
  while (std::getline(in, line)) {
    std::smatch m;
    if (std::regex_search(line, m, start)) {
      dialog = m[1];
      keys.clear();
    } else if (!dialog.empty() && std::regex_search(line, end)) {
      dialog.clear();
    } else if (!dialog.empty()) {
      for (std::sregex_iterator it(line.begin(), line.end(), quoted), none; it != none; ++it) {
        const std::string text = (*it)[1];
        const char key = AccessKey(text);
        if (!key) continue;
        auto [previous, fresh] = keys.emplace(key, text);
        if (!fresh)
          found += script.filename().string() + ": " + dialog + ": key '" + key + "' on \"" + previous->second +
                   "\" and \"" + text + "\"\n";
      }
    }
  }
  return found;
}

TEST(DialogTemplates, EveryControlOfADialogHasItsOwnAccessKey) {
  int scripts = 0;
  for (const char* folder : {"/resources", "/imagefile"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LUMIVEXA_SOURCE_DIR) + folder)) {
      if (entry.path().extension() != ".rc") continue;
      ++scripts;
      EXPECT_EQ(Clashes(entry.path()), "");
    }
  }
  EXPECT_GE(scripts, 7);
}

}  // namespace
