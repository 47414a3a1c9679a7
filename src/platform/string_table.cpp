#include "platform/string_table.h"

namespace zandrell::platform {

namespace {
struct Entry {
  int Id;
  const char* English;
  const char* Italian;
};

constexpr Entry kEntries[] = {
    {101, "High resolution timer not available!",
     "Impossibile determinare la frequenza del timer ad alta risoluzione!"},
    {102, "Unsupported command line argument:", "Argomento della riga di comando non supportato:"},
    {103, "Zandrell, Winboard chess engine.", "Zandrell, motore di scacchi per Winboard."},
    {104, " Select an option: ", " Selezionare un opzione: "},
    {105, "Play", "Gioca"},
    {106, "Book editor", "Modifica aperture"},
    {107, "Quit", "Esci"},
};
}  // namespace

std::string StringTableEntry(int id, bool italian) {
  for (const Entry& entry : kEntries) {
    if (entry.Id == id) return italian ? entry.Italian : entry.English;
  }
  return {};
}

}  // namespace zandrell::platform
