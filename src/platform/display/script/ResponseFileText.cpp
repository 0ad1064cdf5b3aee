// Quoting and spelling suggestions for the response-file errors.
#include "ResponseFileText.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr std::size_t kFarthest = 2;

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Edits (insertion, deletion, substitution) from one text to the other.
std::size_t Distance(std::string_view from, std::string_view to) {
  std::vector<std::size_t> row(to.size() + 1);
  std::iota(row.begin(), row.end(), std::size_t{0});
  for (std::size_t i = 1; i <= from.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= to.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitution = diagonal + (Lower(from[i - 1]) != Lower(to[j - 1]));
      row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
      diagonal = above;
    }
  }
  return row[to.size()];
}

}  // namespace

std::string Shown(std::string_view text) {
  constexpr std::size_t kLongest = 40;
  std::string shown;
  for (const char c : text.substr(0, kLongest)) {
    shown += c >= 0x20 && c < 0x7f ? c : '?';
  }
  if (text.size() > kLongest) shown += "...";
  return "'" + shown + "'";
}

std::string Nearest(std::string_view name, const std::vector<std::string>& candidates) {
  std::string nearest;
  std::size_t best = kFarthest + 1;
  for (const std::string& candidate : candidates) {
    // Lengths that differ by more than the bound cannot come closer, and a
    // megabyte-long name is never compared letter by letter.
    const std::size_t gap = name.size() > candidate.size() ? name.size() - candidate.size()
                                                           : candidate.size() - name.size();
    if (gap > kFarthest) continue;
    const std::size_t distance = Distance(name, candidate);
    if (distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}
