#include "tools/train/book_tree.h"

#include <algorithm>
#include <set>

namespace kaimo::train {
namespace {

std::int16_t clampedValue(int value) {
  return static_cast<std::int16_t>(std::clamp(value, -kBookValueLimit, kBookValueLimit));
}

}  // namespace

void BookTree::add(const std::vector<BookEntry>& scored) {
  for (const BookEntry& entry : scored) {
    if (contains(entry.key)) continue;
    Node node;
    node.gameValue = entry.gameValue;
    node.readValue = entry.readValue;
    node.readDepth = entry.readDepth;
    node.steps = bookStepsOf(boardOfKey(entry.key), kBlack);
    node.discs = bitCount(entry.key.mover | entry.key.opponent);
    nodes_.emplace(entry.key, std::move(node));
  }
}

bool BookTree::isExpanded(const Node& node) const {
  return !node.steps.empty() && std::all_of(node.steps.begin(), node.steps.end(), [this](const BookStep& step) {
    return step.next == BookStep::Next::End || contains(step.key);
  });
}

int BookTree::valueOf(const BookStep& step) const {
  return stepValue(step, step.next == BookStep::Next::End ? 0 : nodes_.at(step.key).value);
}

void BookTree::evaluate(const BookKey& root, int plyCost) {
  // A move adds a disc, so a position's moves lead to positions with more
  // discs: values go from the most discs down, costs from the fewest up.
  std::vector<std::pair<const BookKey, Node>*> order;
  order.reserve(nodes_.size());
  for (auto& entry : nodes_) order.push_back(&entry);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto* a, const auto* b) { return a->second.discs > b->second.discs; });
  for (auto* entry : order) {
    Node& node = entry->second;
    node.expanded = isExpanded(node);
    node.value = node.gameValue;
    if (node.expanded) {
      node.value = valueOf(node.steps.front());
      for (const BookStep& step : node.steps) node.value = std::max(node.value, valueOf(step));
    }
    node.cost = kUnreached;
    node.ply = 0;
  }
  const auto rootAt = nodes_.find(root);
  if (rootAt == nodes_.end()) return;
  rootAt->second.cost = 0;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    const Node& node = (*it)->second;
    if (node.cost == kUnreached || !node.expanded) continue;
    for (const BookStep& step : node.steps) {
      if (step.next == BookStep::Next::End) continue;
      Node& next = nodes_.at(step.key);
      const long cost = node.cost + (node.value - valueOf(step)) + plyCost;
      if (next.cost == kUnreached || cost < next.cost) next.cost = cost;
      if (next.ply == 0 || node.ply + 1 < next.ply) next.ply = node.ply + 1;
    }
  }
}

std::vector<BookKey> BookTree::cheapestLeaves(std::size_t count) const {
  std::vector<std::pair<long, BookKey>> leaves;
  for (const auto& [key, node] : nodes_) {
    if (!node.expanded && node.cost != kUnreached && !node.steps.empty()) leaves.emplace_back(node.cost, key);
  }
  const auto byCost = [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  };
  std::sort(leaves.begin(), leaves.end(), byCost);
  std::vector<BookKey> chosen;
  for (std::size_t i = 0; i < leaves.size() && i < count; ++i) chosen.push_back(leaves[i].second);
  return chosen;
}

std::vector<BookKey> BookTree::positionsAfter(const std::vector<BookKey>& leaves) const {
  std::set<BookKey> missing;
  for (const BookKey& leaf : leaves) {
    for (const BookStep& step : nodes_.at(leaf).steps) {
      if (step.next != BookStep::Next::End && !contains(step.key)) missing.insert(step.key);
    }
  }
  return {missing.begin(), missing.end()};
}

std::vector<BookEntry> BookTree::entries() const {
  std::vector<BookEntry> entries;
  entries.reserve(nodes_.size());
  for (const auto& [key, node] : nodes_) {
    entries.push_back({key, clampedValue(node.value), clampedValue(node.gameValue), clampedValue(node.readValue),
                       static_cast<std::uint8_t>(node.readDepth)});
  }
  return entries;
}

BookTree::Summary BookTree::summary(const BookKey& root) const {
  Summary s;
  s.positions = nodes_.size();
  for (const auto& [key, node] : nodes_) {
    if (node.cost == kUnreached) continue;
    s.deepestPly = std::max(s.deepestPly, node.ply);
    if (!node.expanded) continue;
    ++s.inPlay;
    s.deepestPlayPly = std::max(s.deepestPlayPly, node.ply);
  }
  for (auto at = nodes_.find(root); at != nodes_.end() && at->second.expanded;) {
    const std::vector<BookStep>& steps = at->second.steps;
    const auto best = std::max_element(
        steps.begin(), steps.end(), [this](const BookStep& a, const BookStep& b) { return valueOf(a) < valueOf(b); });
    ++s.bestLinePlies;
    if (best->next == BookStep::Next::End) break;
    at = nodes_.find(best->key);
  }
  return s;
}

}  // namespace kaimo::train
