#pragma once
// The texts of Quiretto's window in English and Italian; the user's interface
// language chooses, as it does for the launcher.
#include <string>

namespace zandrell::quiretto {

enum class WindowText {
  kTitle,   // the window's caption, before the book's name
  kNoBook,  // caption part when no book is open
  kOpen,
  kSave,
  kSaveAs,
  kImport,
  kMerge,
  kRemove,
  kAllowed,        // the mark's check box
  kStartPosition,  // the line shown when no move is chosen
  kLines,          // "lines" after a count
  kFindings,       // heading of the findings panel
  kNoFindings,
  kChooseBook,
  kChoosePgn,
  kChooseMerge,
  kUnsaved,  // asked before the changes would be lost
  kSaveChanges,
  kDiscard,
  kCancel,
  kPlies,
  kMinGames,
  kWinnersOnly,
  kSide,
  kBothSides,
  kWhite,
  kBlack,
  kImported,   // followed by the counts of an import
  kRemoveAsk,  // before a branch goes
  kCannotOpen,
  kCannotSave,
  kBookFiles,  // the file chooser's filter names
  kPgnFiles,
};

std::string Text(WindowText id, bool italian);

}  // namespace zandrell::quiretto
