#include "path_finder.h"

#include <algorithm>

#include "paths.h"
#include "platform/platform.h"

namespace tessmark {
namespace {

// The names equal to wanted when ASCII letters are compared without regard to case: how many
// (counting stops at two) and the last of them.
int countMatches(std::string_view wanted, const std::vector<std::string_view>& names,
                 std::string_view* match) {
  int count = 0;
  for (std::string_view name : names) {
    if (equalsIgnoringAsciiCase(name, wanted)) {
      *match = name;
      if (++count == 2)
        break;
    }
  }
  return count;
}

// Empty, "." and ".." components keep their spelling: they name no entry of their own.
bool isStep(std::string_view component) {
  return component.empty() || component == "." || component == "..";
}

// True when a listed folder holds no entry that component names, as written or otherwise: the
// component and all below it stay as written.
bool namesNothing(std::string_view component, const std::vector<std::string_view>* names) {
  return names != nullptr && !isStep(component) &&
         !std::binary_search(names->begin(), names->end(), component) &&
         matchEntryName(component, *names) == component;
}

// The length of the folder holding the folder written[0, length), which ends in '/' and is
// neither "" nor "/".
size_t parentLength(std::string_view written, size_t length) {
  return written.rfind('/', length - 2) + 1;  // 0 (the current directory) without a separator
}

}  // namespace

std::string_view matchEntryName(std::string_view written,
                                const std::vector<std::string_view>& sorted) {
  if (std::binary_search(sorted.begin(), sorted.end(), written))
    return written;
  std::string_view match;
  const int count = countMatches(written, sorted, &match);
  if (count > 0)
    return count == 1 ? match : written;
  // Windows drops trailing dots and blanks: "IAR.." is the folder "IAR".
  const size_t kept = written.find_last_not_of(". ") + 1;  // 0 when all dots and blanks
  if (kept == 0 || kept == written.size())
    return written;
  return countMatches(written.substr(0, kept), sorted, &match) == 1 ? match : written;
}

PathFinder::PathFinder() {
  folders_.emplace_back();  // "", the current directory
  folders_.emplace_back().length = 1;
  folders_.back().label = "/";
}

std::string PathFinder::find(std::string path) {
  if (path.empty())
    return path;
  const size_t cut = path.rfind('/') + 1;  // 0 without a separator
  const std::string_view written(path.data(), cut);
  // Paths come in runs from one folder: the last folder's place saves the walk down.
  const bool sameFolder = written == lastWritten_;
  const Folder* place = sameFolder ? last_ : known(written);
  // No entry has a NUL in its name, and the system would be asked about a shorter path.
  if (place == nullptr && path.find('\0') == std::string::npos && !platform::entryExists(path))
    place = resolve(written);
  if (!sameFolder)
    lastWritten_.assign(written);
  last_ = place;
  if (place == nullptr)
    return path;
  const std::string_view below = written.substr(place->length);  // stays as written
  const std::string_view name = std::string_view(path).substr(cut);
  const std::vector<std::string_view>* names = namesOf(*place);
  const std::string_view spelled =
      names != nullptr && below.empty() && !isStep(name) ? matchEntryName(name, *names) : name;
  if (spelled == name && place->asWritten)
    return path;
  if (place != lastSpelled_) {
    spellFound(*place, written, &lastFound_);
    lastSpelled_ = place;
  }
  std::string found(lastFound_);
  found.append(below).append(spelled);
  return found;
}

void PathFinder::spellFound(const Folder& folder, std::string_view written, std::string* found) {
  chain_.clear();
  const Folder* at = &folder;
  for (; !at->asWritten; at = at->above)
    chain_.push_back(at);
  found->assign(written.data(), at->length);
  for (auto spelled = chain_.rbegin(); spelled != chain_.rend(); ++spelled) {
    const Folder& step = **spelled;
    found->append(step.name.empty() ? step.label.substr(0, step.label.size() - 1) : step.name);
    found->push_back('/');
  }
}

const std::string& PathFinder::edgeKey(const Folder* from, std::string_view rest) {
  key_.assign(reinterpret_cast<const char*>(&from), sizeof from);
  key_.append(rest.substr(0, rest.find('/')));
  return key_;
}

PathFinder::Folder* PathFinder::edgeToward(const Folder& folder, std::string_view written) {
  if (folder.length == written.size())
    return nullptr;
  const auto edge = edges_.find(edgeKey(&folder, written.substr(folder.length)));
  if (edge == edges_.end())
    return nullptr;
  Folder* lower = edge->second;
  return written.compare(folder.length, lower->label.size(), lower->label) == 0 ? lower : nullptr;
}

// The deepest kept folder at or above written; null when none is.
PathFinder::Folder* PathFinder::deepestKept(std::string_view written) {
  Folder* kept = nullptr;
  for (Folder* at = rootOf(written); at != nullptr; at = edgeToward(*at, written)) {
    if (at->state != State::kUnknown)
      kept = at;
  }
  return kept;
}

bool PathFinder::tellsBelow(const Folder& folder, std::string_view written) {
  const size_t next = written.find('/', folder.length);
  return folder.state == State::kMissing ||
         namesNothing(written.substr(folder.length, next - folder.length), namesOf(folder));
}

const PathFinder::Folder* PathFinder::known(std::string_view written) {
  // Otherwise the next folder down may be there as written.
  const Folder* deepest = deepestKept(written);
  return answersFor(deepest, written) ? deepest : nullptr;
}

// A folder that cannot be opened as written because it is missing is found from its parent: its
// last component takes the name found there, and the folder so spelled is listed. Only what the
// parent's entry cannot tell is kept.
const PathFinder::Folder* PathFinder::resolve(std::string_view written) {
  Folder* deepest = deepestKept(written);
  if (answersFor(deepest, written))
    return deepest;
  return walkDown(presentAbove(written, deepest), written);
}

// The deepest folder at or above written that is kept, or that is not missing as written (kept
// now, as are the roots); every folder between it and written is missing as written. Each folder
// on the way up is listed once as written: the system calls missing only a path short enough for
// it to look up, so the walk up ends within the system's limit on the length of a path.
PathFinder::Folder* PathFinder::presentAbove(std::string_view written, Folder* deepest) {
  for (size_t length = written.size();; length = parentLength(written, length)) {
    if (deepest != nullptr && length == deepest->length)
      return deepest;
    path_.assign(written.data(), length);
    Folder found = listed(path_);
    if (found.state != State::kMissing || length == 0 || (length == 1 && written[0] == '/'))
      return keep(rootOf(written), written.substr(0, length), std::move(found));
  }
}

// Finds the folders from folder down to written, each in the listing of the one above, until one
// is missing or holds nothing the next component names.
const PathFinder::Folder* PathFinder::walkDown(Folder* folder, std::string_view written) {
  std::string spelled;  // the folder above as found, once one is not as written
  bool spelling = false;
  while (folder->length < written.size()) {
    const size_t cut = folder->length;
    const size_t next = written.find('/', cut) + 1;
    const std::string_view component = written.substr(cut, next - 1 - cut);
    const std::vector<std::string_view>* names = namesOf(*folder);
    if (folder->state == State::kMissing || namesNothing(component, names))
      return folder;
    const std::string_view name =
        names != nullptr && !isStep(component) ? matchEntryName(component, *names) : component;
    Folder found;
    found.state = State::kMissing;  // as written, it is
    if (!folder->asWritten || name != component) {
      if (!spelling)
        spellFound(*folder, written, &spelled);
      spelling = true;
      spelled.append(name).push_back('/');
      found = listed(spelled);
      found.asWritten = false;
      if (name != component)
        found.name = name;
    }
    folder = keep(folder, written.substr(0, next), std::move(found));
  }
  return folder;
}

PathFinder::Folder* PathFinder::keep(Folder* from, std::string_view folder, Folder found) {
  Folder* at = from;
  while (at->length < folder.size()) {
    const std::string_view rest = folder.substr(at->length);
    Folder*& lower = edges_[edgeKey(at, rest)];
    if (lower == nullptr) {
      lower = &folders_.emplace_back();
      lower->length = folder.size();
      lower->above = at;
      lower->label = texts_.emplace_back(rest);
    } else if (rest.compare(0, lower->label.size(), lower->label) != 0) {
      // The edge leaves the way to folder after a common part, where a branch point goes.
      const size_t same =
          std::mismatch(rest.begin(), rest.end(), lower->label.begin(), lower->label.end()).first -
          rest.begin();  // rest and the label both end in '/'
      lower = splitEdge(lower, rest.rfind('/', same - 1) + 1);
    }
    at = lower;
  }
  if (at->state == State::kUnknown) {
    at->state = found.state;
    at->asWritten = found.asWritten;
    at->name = found.name;
    at->listing = std::move(found.listing);
  }
  return at;
}

// A branch point length bytes down lower's edge, which continues from there to lower.
PathFinder::Folder* PathFinder::splitEdge(Folder* lower, size_t length) {
  Folder& branch = folders_.emplace_back();
  branch.length = lower->above->length + length;
  branch.above = lower->above;
  branch.label = lower->label.substr(0, length);
  lower->label.remove_prefix(length);
  lower->above = &branch;
  edges_[edgeKey(&branch, lower->label)] = lower;
  return &branch;
}

PathFinder::Folder PathFinder::listed(const std::string& folder) {
  std::vector<std::string> names;
  switch (platform::listFolder(folder, &names)) {
    case platform::ListResult::kListed:
      break;
    case platform::ListResult::kMissing:
      return listedAs(State::kMissing, nullptr);
    case platform::ListResult::kCannotList:
      return listedAs(State::kCannotList, nullptr);
  }
  std::sort(names.begin(), names.end());
  auto listing = std::make_shared<Listing>();
  for (const std::string& name : names)
    listing->text.append(name).push_back('/');  // no name holds a '/'
  const auto shared = listings_.find(listing->text);
  if (shared != listings_.end())
    return listedAs(State::kListed, shared->second);
  listing->names.reserve(names.size());
  size_t start = 0;
  for (const std::string& name : names) {
    listing->names.emplace_back(listing->text.data() + start, name.size());
    start += name.size() + 1;
  }
  listings_.emplace(listing->text, listing);
  return listedAs(State::kListed, std::move(listing));
}

}  // namespace tessmark
