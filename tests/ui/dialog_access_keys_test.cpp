// Every control of a dialog template has its own Alt key: two controls on one
// key make Alt+key go to the first, and the keys typed next change the wrong control.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace {

TEST(DialogTemplates, EveryControlOfADialogHasItsOwnAccessKey) {
  const std::regex start(R"(^(\w+)\s+DIALOG(EX)?\b)"), end(R"(^END\b)"), key(R"re("[^"]*?&([^&"])[^"]*")re");
  int scripts = 0;
  std::string clashes;
  for (const char* folder : {"/resources", "/imagefile"}) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LUMIVEXA_SOURCE_DIR) + folder)) {
      if (entry.path().extension() != ".rc") continue;
      ++scripts;
      std::ifstream in(entry.path());
      std::string line, dialog;
      std::map<char, std::string> keys;  // key -> the control text that has it
      for (std::smatch m; std::getline(in, line);) {
        if (std::regex_search(line, m, start)) {
          dialog = m[1];
          keys.clear();
        } else if (std::regex_search(line, end)) {
          dialog.clear();
        } else if (!dialog.empty() && std::regex_search(line, m, key)) {
          const char k = static_cast<char>(std::tolower(static_cast<unsigned char>(m.str(1)[0])));
          if (!keys.emplace(k, m.str(0)).second)
            clashes += dialog + ": " + keys[k] + " and " + m.str(0) + "\n";
        }
      }
    }
  }
  EXPECT_GE(scripts, 7);
  EXPECT_EQ(clashes, "");
}

}  // namespace
