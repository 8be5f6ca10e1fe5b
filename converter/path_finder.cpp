#include "path_finder.h"

#include <algorithm>

#include "platform/platform.h"

namespace tessmark {
namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The names equal to wanted when ASCII letters are compared without regard to case: how many
// (counting stops at two) and the last of them.
int countMatches(std::string_view wanted, const std::vector<std::string_view>& names,
                 std::string_view* match) {
  int count = 0;
  for (std::string_view name : names) {
    if (name.size() == wanted.size() &&
        std::equal(name.begin(), name.end(), wanted.begin(),
                   [](char a, char b) { return lowerAscii(a) == lowerAscii(b); })) {
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

std::string PathFinder::find(std::string path) {
  if (path.empty())
    return path;
  const size_t cut = path.rfind('/') + 1;  // 0 without a separator
  const std::string_view written(path.data(), cut);
  // Paths come in runs from one folder: the last folder's place saves the walk up.
  const bool sameFolder = written == lastWritten_;
  Place place = sameFolder ? last_ : known(written);
  // No entry has a NUL in its name, and the system would be asked about a shorter path.
  if (place.folder == nullptr && path.find('\0') == std::string::npos &&
      !platform::entryExists(path)) {
    place = resolve(written);
  }
  if (!sameFolder)
    lastWritten_.assign(written);
  last_ = place;
  if (place.folder == nullptr)
    return path;
  const std::string_view below = written.substr(place.length);  // stays as written
  const std::string_view name = std::string_view(path).substr(cut);
  const std::vector<std::string_view>* names = namesOf(*place.folder);
  const std::string_view spelled =
      names != nullptr && below.empty() && !isStep(name) ? matchEntryName(name, *names) : name;
  if (spelled == name && place.folder->spelling.empty())
    return path;
  std::string found(foundOf(place, written));
  found.append(below).append(spelled);
  return found;
}

std::string_view PathFinder::foundOf(const Place& place, std::string_view written) {
  const std::string& spelling = place.folder->spelling;
  return spelling.empty() ? written.substr(0, place.length) : std::string_view(spelling);
}

PathFinder::Place PathFinder::known(std::string_view written) {
  for (size_t length = written.size();; length = parentLength(written, length)) {
    probe_.assign(written.data(), length);
    const auto entry = folders_.find(probe_);
    if (entry != folders_.end()) {
      const Folder& folder = entry->second;
      const size_t next = written.find('/', length);
      if (length == written.size() || folder.state == State::kMissing ||
          namesNothing(written.substr(length, next - length), namesOf(folder))) {
        return {&folder, length};
      }
      return {};  // the next folder down may be there as written
    }
    if (length == 0 || (length == 1 && written[0] == '/'))
      return {};
  }
}

// A folder that cannot be opened as written because it is missing is found from its parent: its
// last component takes the name found there, and the folder so spelled is listed. Only what the
// parent's entry cannot tell is kept.
PathFinder::Place PathFinder::resolve(std::string_view written) {
  const Place place = known(written);
  if (place.folder != nullptr)
    return place;
  std::string key(written);
  Folder found = listed(key);
  if (found.state == State::kMissing && !written.empty() && written != "/") {
    const size_t cut = parentLength(written, written.size());
    const Place parent = resolve(written.substr(0, cut));
    std::string_view name = written.substr(cut, written.size() - 1 - cut);
    const std::vector<std::string_view>* names = namesOf(*parent.folder);
    if (parent.length < cut || parent.folder->state == State::kMissing ||
        namesNothing(name, names)) {
      return parent;
    }
    if (names != nullptr && !isStep(name))
      name = matchEntryName(name, *names);
    std::string spelled(foundOf(parent, written));
    spelled.append(name).push_back('/');
    if (spelled != written) {
      found = listed(spelled);
      found.spelling = std::move(spelled);
    }
  }
  return {&folders_.emplace(std::move(key), std::move(found)).first->second, written.size()};
}

PathFinder::Folder PathFinder::listed(const std::string& folder) {
  std::vector<std::string> names;
  switch (platform::listFolder(folder, &names)) {
    case platform::ListResult::kListed:
      break;
    case platform::ListResult::kMissing:
      return {State::kMissing, {}, {}};
    case platform::ListResult::kCannotList:
      return {State::kCannotList, {}, {}};
  }
  std::sort(names.begin(), names.end());
  auto listing = std::make_shared<Listing>();
  for (const std::string& name : names)
    listing->text.append(name).push_back('/');  // no name holds a '/'
  const auto shared = listings_.find(listing->text);
  if (shared != listings_.end())
    return {State::kListed, {}, shared->second};
  listing->names.reserve(names.size());
  size_t start = 0;
  for (const std::string& name : names) {
    listing->names.emplace_back(listing->text.data() + start, name.size());
    start += name.size() + 1;
  }
  listings_.emplace(listing->text, listing);
  return {State::kListed, {}, std::move(listing)};
}

}  // namespace tessmark
