// Finding a path read from an IAR file on a POSIX disk as Windows would find it: Windows ignores
// the case of ASCII letters and drops trailing dots and blanks of path components, so a project
// written there may spell a name otherwise than the disk does.
#ifndef TESSMARK_PATH_FINDER_H_
#define TESSMARK_PATH_FINDER_H_

#include <deque>
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
// Any other path costs one lstat when it exists as written. Whatever its number of components,
// finding a path takes time (the system's lookups of what it is asked aside), stack and kept
// memory linear in the path's length.
class PathFinder {
 public:
  PathFinder();
  PathFinder(const PathFinder&) = delete;  // its folders point at each other
  PathFinder& operator=(const PathFinder&) = delete;
  // The path as found. A path that names an entry as written (a dangling link too) is returned
  // unchanged, as is an empty one; otherwise each component that names nothing takes the name
  // matchEntryName gives in its folder, until one finds no name or its folder cannot be listed:
  // that one and the rest stay as written. Separators and empty, "." and ".." components are
  // never changed. A relative path is found from the current directory.
  std::string find(std::string path);

 private:
  enum class State { kUnknown, kListed, kMissing, kCannotList };
  // The names of a folder, sorted, in one block of text ("a/b/c/"), about half the memory of a
  // string per name. Folders with the same names share one (one folder reached through many
  // paths, such as "<project>/../../" from each project).
  struct Listing {
    std::string text;
    std::vector<std::string_view> names;  // into text
  };
  // What is known of the folders written so far is a tree of written folders (each with its
  // final separator) below two roots, "" (the current directory) and "/". An edge stands for as
  // many components as lead to the next folder kept or branched at, so a path costs the tree
  // its own length once, whatever its number of components, and no prefix is stored whole.
  struct Folder {
    State state = State::kUnknown;  // kUnknown: a branch point of the tree, nothing kept
    size_t length = 0;              // of the folder as written
    Folder* above = nullptr;        // the folder whose edge leads here (null at a root)
    std::string_view label;         // the written components of that edge, into texts_
    // As found, the folder is the written one, or else the folder above as found (its parent
    // then, and kept) followed by name, or by the written component (the label) when name is
    // empty.
    bool asWritten = true;
    std::string_view name;                   // into the listing above
    std::shared_ptr<const Listing> listing;  // when listed
  };

  static const std::vector<std::string_view>* namesOf(const Folder& folder) {
    return folder.listing != nullptr ? &folder.listing->names : nullptr;
  }
  // A kept folder as found, into *found; written is the folder or one below it.
  void spellFound(const Folder& folder, std::string_view written, std::string* found);
  Folder* rootOf(std::string_view written) {
    return &folders_[!written.empty() && written[0] == '/' ? 1 : 0];
  }
  // The folder below folder on the way to written, whose edge written follows; null when none.
  Folder* edgeToward(const Folder& folder, std::string_view written);
  Folder* deepestKept(std::string_view written);
  // True when a kept folder above written tells what lies below it: it is missing, or it holds
  // nothing written's next component names.
  static bool tellsBelow(const Folder& folder, std::string_view written);
  // True when kept, the deepest kept folder at or above written (may be null), tells where
  // written is: it is written itself, or it tellsBelow.
  static bool answersFor(const Folder* kept, std::string_view written) {
    return kept != nullptr && (kept->length == written.size() || tellsBelow(*kept, written));
  }
  // Where the folder written is known: by its own entry, or by that of the deepest kept folder
  // above it when that is missing or holds nothing the next component names, since everything
  // below stays as written and is not kept. Null when neither is kept.
  const Folder* known(std::string_view written);
  // known, or else learnt from the disk, listing what it must.
  const Folder* resolve(std::string_view written);
  Folder* presentAbove(std::string_view written, Folder* deepest);
  const Folder* walkDown(Folder* folder, std::string_view written);
  // Keeps what was found of the written folder, which lies at or below from; a folder already
  // kept stays as it is.
  Folder* keep(Folder* from, std::string_view folder, Folder found);
  Folder* splitEdge(Folder* lower, size_t length);
  const std::string& edgeKey(const Folder* from, std::string_view rest);
  Folder listed(const std::string& folder);
  static Folder listedAs(State state, std::shared_ptr<const Listing> listing) {
    Folder folder;
    folder.state = state;
    folder.listing = std::move(listing);
    return folder;
  }

  std::deque<Folder> folders_;                      // the roots first; never moved
  std::deque<std::string> texts_;                   // the written text of the edges
  std::unordered_map<std::string, Folder*> edges_;  // by the upper folder and first component
  std::unordered_map<std::string_view, std::shared_ptr<const Listing>> listings_;  // by text
  std::string key_;                   // an edge key being looked up, kept to reuse its storage
  std::string path_;                  // a folder being listed
  std::vector<const Folder*> chain_;  // the folders spellFound goes up through
  std::string lastWritten_;           // the folder of the last path found, and where it was known
  const Folder* last_ = nullptr;
  std::string lastFound_;  // as found, the folder of the last path found in another spelling
  const Folder* lastSpelled_ = nullptr;
};

}  // namespace tessmark

#endif  // TESSMARK_PATH_FINDER_H_
