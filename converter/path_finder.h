// Finding a path read from an IAR file on a POSIX disk as Windows would find it: Windows ignores
// the case of ASCII letters and drops trailing dots and blanks of path components, so a project
// written there may spell a name otherwise than the disk does.
#ifndef TESSMARK_PATH_FINDER_H_
#define TESSMARK_PATH_FINDER_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessmark {

// The name a written path component takes among the entries of its folder (sorted names): itself
// when it is one of them; else the one name equal to it when ASCII letters are compared without
// regard to case; else, when no name is, the one name equal so to it without its trailing dots
// and blanks. With no such name, or two or more, the component stays as written.
std::string_view matchEntryName(std::string_view written,
                                const std::vector<std::string_view>& sorted);

// Finds POSIX paths ('/' separators) for one run. Nothing in a run removes or renames a folder,
// so what is learnt of a folder is kept: each folder is listed at most once, and a path in a
// folder already listed, or known to be missing or unlistable, is answered with no system call.
// Any other path costs one lstat when it exists as written.
class PathFinder {
 public:
  // The path as found. A path that names an entry as written (a dangling link too) is returned
  // unchanged, as is an empty one; otherwise each component that names nothing takes the name
  // matchEntryName gives in its folder, until one finds no name or its folder cannot be listed:
  // that one and the rest stay as written. Separators and empty, "." and ".." components are
  // never changed. A relative path is found from the current directory.
  std::string find(std::string path);

 private:
  enum class State { kListed, kMissing, kCannotList };
  // The names of a folder, sorted, in one block of text ("a/b/c/"), about half the memory of a
  // string per name. Folders with the same names share one (one folder reached through many
  // paths, such as "<project>/../../" from each project).
  struct Listing {
    std::string text;
    std::vector<std::string_view> names;  // into text
  };
  struct Folder {
    State state;
    std::string spelling;                    // the folder as found, when not as written
    std::shared_ptr<const Listing> listing;  // when listed
  };
  // Where a folder (as written, with its final separator; "" is the current directory) is known:
  // by its own entry, or by that of a folder above it that is missing or that holds nothing the
  // next component names, since everything below stays as written and is not kept. No folder
  // when neither is kept.
  struct Place {
    const Folder* folder = nullptr;
    size_t length = 0;  // of the written folder the entry is kept under
  };

  // The folder of place as found, written being a folder at or below it.
  static std::string_view foundOf(const Place& place, std::string_view written);
  static const std::vector<std::string_view>* namesOf(const Folder& folder) {
    return folder.listing != nullptr ? &folder.listing->names : nullptr;
  }
  Place known(std::string_view written);
  // known, or else learnt from the disk, listing what it must.
  Place resolve(std::string_view written);
  Folder listed(const std::string& folder);

  std::unordered_map<std::string, Folder> folders_;  // by the folder as written
  std::unordered_map<std::string_view, std::shared_ptr<const Listing>> listings_;  // by text
  std::string probe_;        // a key being looked up, kept to reuse its storage
  std::string lastWritten_;  // the folder of the last path found, and where it was known
  Place last_;
};

}  // namespace tessmark

#endif  // TESSMARK_PATH_FINDER_H_
