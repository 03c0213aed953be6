// The verify command: every level of every photo decoded in full, to learn
// what damage a disc holds while it can still be read.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "photocd/damage_report.h"

namespace cli {

struct VerifyResult {
  std::string input;
  std::string error;                  // the photo cannot be read at all
  std::vector<std::string> problems;  // levels that cannot be read, then the damage decoded around
  PcdDamageReport damage;
  bool whole() const { return error.empty() && problems.empty(); }
};

struct VerifySettings {
  int jobs = 1;  // photos verified at once
  bool progressBar = false;
  const std::atomic<bool>* cancel = nullptr;  // photos not yet started are skipped
};

// Verifies every input; results in input order.
std::vector<VerifyResult> verifyPhotos(const std::vector<std::string>& inputs, const VerifySettings& settings);
// "IMG0001.PCD: OK", or what is damaged.
std::string verifyLine(const VerifyResult& result);
// "100 photos: 97 whole, 2 damaged, 1 unreadable".
std::string verifySummary(const std::vector<VerifyResult>& results);
nlohmann::json verifyJson(const std::vector<VerifyResult>& results);

}  // namespace cli
