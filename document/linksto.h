#pragma once

#include "document/itemnamematch.h"
#include "document/linkgrammar.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

class TTreeList;
class TTreeListTextNode;

// The item links in every description that find one item, looked for in a
// single walk in document order that may stop at a deadline and go on
// later. The same walk settles whether the item is the first of its name,
// which decides every link by name alone, so no link needs a walk of its
// own. The tree must not change between the parts of a walk.
class TLinksToScan {
public:
    TLinksToScan(const TTreeList& tree, const TTreeListTextNode* target);
    // The walk of one stretch of the document, from `from` up to `to` (not
    // included; none: the end).
    TLinksToScan(const TTreeList& tree, const TTreeListTextNode* target, TTreeListTextNode* from,
                 const TTreeListTextNode* to);

    // Walks on until the end of the tree, or until `deadline` has passed
    // after an item; true once the walk is done.
    bool Scan(std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());
    bool Done() const { return m_cursor == nullptr; }
    // Walks only until it knows whether the target's name alone finds it,
    // looking at no description: NameFindsEarlier tells once done.
    void StopAtTarget() { m_stopAtTarget = true; }
    bool NameFindsEarlier() const { return m_nameFindsEarlier; }
    // Once done: the descriptions with links that find the item, in document
    // order, each with its links in the order they are written.
    std::vector<TLinksInDescription> TakeFound();
    // Also settles whether an item before the target has `name`, the name
    // the target is about to take; WatchedNameFindsEarlier tells once done.
    void WatchName(const std::u16string& name) { m_watch.emplace(name); }
    static bool WatchedNameFindsEarlier(const std::vector<TLinksToScan*>& stretches);
    // The same from the walks of consecutive stretches, in document order.
    static std::vector<TLinksInDescription> TakeFound(const std::vector<TLinksToScan*>& stretches);

private:
    void ScanDescription(TTreeListTextNode* holder);
    void TakeFound(bool nameFindsEarlier, std::vector<TLinksInDescription>& found);
    // Whether a name the flag watches is found before the target: only the
    // stretches up to the target's own count.
    static bool FindsEarlier(const std::vector<TLinksToScan*>& stretches, bool TLinksToScan::*flag);

    struct TCandidate {
        TLinksInDescription links;
        std::vector<bool> byNameAlone;  // one per link
    };

    const TTreeList& m_tree;
    const TTreeListTextNode* m_target;
    std::u16string m_name;
    TItemNameMatch m_nameMatch;
    // A description can link to the item only where its name's bytes occur,
    // unless the name has a "/", which a link writes as "\/".
    bool m_nameInBytes;
    bool m_stopAtTarget = false;
    bool m_passedTarget = false;
    // An item of the name before the target, or anywhere in a stretch
    // without it.
    bool m_nameFindsEarlier = false;
    std::optional<TItemNameMatch> m_watch;
    bool m_watchFindsEarlier = false;
    TTreeListTextNode* m_cursor;
    const TTreeListTextNode* m_end = nullptr;
    std::map<std::vector<std::u16string>, bool> m_pathFinds;
    std::vector<TCandidate> m_candidates;
};

// Every item link in every description that names `item` as its last part
// and finds it. A description without "[[" is passed over at the speed of
// a byte search, so the whole tree costs little more than one read, shared
// between the processor's cores.
std::vector<TLinksInDescription> FindLinksTo(const TTreeList& tree, const TTreeListTextNode* item);
// The same, and in the same walk whether an item before `item` has
// `newName`, which a rename is giving it: then its new link is its path.
std::vector<TLinksInDescription> FindLinksTo(const TTreeList& tree, const TTreeListTextNode* item,
                                             const std::u16string& newName, bool& newNameFindsEarlier);
