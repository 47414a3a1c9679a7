#include "quiretto/window_text.h"

#include <array>

namespace zandrell::quiretto {

namespace {

struct Entry {
  WindowText Id;
  const char* English;
  const char* Italian;
};

constexpr std::array kEntries{
    Entry{WindowText::kTitle, "Quiretto", "Quiretto"},
    Entry{WindowText::kNoBook, "no book", "nessun libro"},
    Entry{WindowText::kOpen, "Open...", "Apri..."},
    Entry{WindowText::kSave, "Save", "Salva"},
    Entry{WindowText::kSaveAs, "Save as...", "Salva con nome..."},
    Entry{WindowText::kImport, "Import PGN...", "Importa PGN..."},
    Entry{WindowText::kMerge, "Merge book...", "Unisci libro..."},
    Entry{WindowText::kRemove, "Remove branch", "Elimina ramo"},
    Entry{WindowText::kAllowed, "The engine may play this move", "Mossa consentita al motore"},
    Entry{WindowText::kStartPosition, "Start position", "Posizione iniziale"},
    Entry{WindowText::kLines, "lines", "linee"},
    Entry{WindowText::kFindings, "Problems found by the check", "Problemi trovati dal controllo"},
    Entry{WindowText::kNoFindings, "The check finds nothing wrong.",
          "Il controllo non trova problemi."},
    Entry{WindowText::kChooseBook, "Choose an opening book", "Scegliere un libro di aperture"},
    Entry{WindowText::kChoosePgn, "Choose the games to import",
          "Scegliere le partite da importare"},
    Entry{WindowText::kChooseMerge, "Choose the book to merge", "Scegliere il libro da unire"},
    Entry{WindowText::kUnsaved, "The book has changes that are not saved. Save them?",
          "Il libro ha modifiche non salvate. Salvarle?"},
    Entry{WindowText::kSaveChanges, "Save", "Salva"},
    Entry{WindowText::kDiscard, "Discard", "Scarta"},
    Entry{WindowText::kCancel, "Cancel", "Annulla"},
    Entry{WindowText::kPlies, "Plies", "Semimosse"},
    Entry{WindowText::kMinGames, "Minimum games", "Partite minime"},
    Entry{WindowText::kWinnersOnly, "Winners' moves only", "Solo le mosse dei vincitori"},
    Entry{WindowText::kSide, "Side", "Colore"},
    Entry{WindowText::kBothSides, "Both", "Entrambi"},
    Entry{WindowText::kWhite, "White", "Bianco"},
    Entry{WindowText::kBlack, "Black", "Nero"},
    Entry{WindowText::kImported, "Games read, used, skipped:", "Partite lette, usate, scartate:"},
    Entry{WindowText::kRemoveAsk, "Remove every line through this move?",
          "Eliminare tutte le linee che passano per questa mossa?"},
    Entry{WindowText::kCannotOpen, "Cannot open the book:", "Impossibile aprire il libro:"},
    Entry{WindowText::kCannotSave, "Cannot save the book:", "Impossibile salvare il libro:"},
    Entry{WindowText::kBookFiles, "Opening books", "Libri di aperture"},
    Entry{WindowText::kPgnFiles, "PGN games", "Partite PGN"},
};

}  // namespace

std::string Text(WindowText id, bool italian) {
  for (const Entry& entry : kEntries) {
    if (entry.Id == id) return italian ? entry.Italian : entry.English;
  }
  return {};
}

}  // namespace zandrell::quiretto
