#pragma once

#include <cstddef>

// Every command of the window, in the order of the command table: the tree
// list's actions, then the description list's. Each action is reached by its
// id; the enumerators carry the actions' names.
enum class TActionId {
    actFileNew,
    actFileOpen,
    actFileSave,
    actFileSaveAs,
    actFileClose,
    actEditItemNew,
    actEditItemNewSub,
    actEditItemDelete,
    actViewWordWrap,
    actFileImport,
    actFileExportTxt,
    actFileExportIni,
    actFileExportMulti,
    actFileExit,
    actViewFont,
    actHelpEmail,
    actHelpHomePage,
    actHelpAbout,
    actEditItemMoveUp,
    actEditItemUndo,
    actEditItemRedo,
    actFileSetPassword,
    actFileRemovePassword,
    actFileExportOpml,
    actFileExportMarkdown,
    actFileExportHtml,
    actEditItemMoveDown,
    actEditItemIndent,
    actEditItemOutdent,
    actEditItemCut,
    actEditItemCopy,
    actEditItemPaste,
    actEditItemDuplicate,
    actEditItemSortChildren,
    actEditItemSortSubtree,
    actEditItemExpandAll,
    actEditItemCollapseAll,
    actEditItemCopyLink,
    actViewCheckSpelling,
    actViewSpellingLanguage,
    actFileOpenMemo,
    actFileSaveMemo,
    actEditUndo,
    actEditCut,
    actEditCopy,
    actEditPaste,
    actEditDelete,
    actEditSelectAll,
    actSearchFind,
    actSearchFindNext,
    actSearchReplace,
    actSearchFindAll,
    Count  // not an action: how many there are
};

inline constexpr size_t ActionCount = static_cast<size_t>(TActionId::Count);
