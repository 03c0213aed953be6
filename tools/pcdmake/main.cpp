// pcdmake: authors Photo CD file trees from pictures or built-in scenes.
#include <iostream>
#include <stdexcept>

#include "author.h"
#include "options.h"

int main(int argc, char** argv) {
  pcdmake::DiscJob job;
  std::string error;
  switch (pcdmake::ParseCommandLine(argc, argv, job, error)) {
    case pcdmake::ParseResult::kHelp:
      std::cout << pcdmake::HelpText();
      return 0;
    case pcdmake::ParseResult::kError:
      std::cerr << "pcdmake: " << error << "\n";
      return 2;
    case pcdmake::ParseResult::kRun:
      break;
  }
  try {
    pcdmake::AuthorDisc(job, std::cout);
  } catch (const std::exception& e) {
    std::cerr << "pcdmake: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
