# The layers of src/, lowest first. A folder may include its own headers and those
# of the folders before it, never those after it; each layer's library links only
# the layers below it. The build and the include check (tests/check-layers.cmake)
# both read this list.
set(ZANDRELL_LAYERS
  platform   # the operating system behind one small interface
  board      # the 12x12 mailbox position, moves, attacks, perft
  tables     # the evaluation's constant tables and material settings
  engine     # the Engine aggregate and each subsystem's plain state
  base       # wire, log, settings file, numeric text
  book       # the opening book
  quiretto   # the book program's work: PGN, SAN, book files, import, check, edits
  search     # evaluation, alpha-beta, root search, time allotment
  protocol   # interpreter, main loop, start-up, new game, InitEngine
  launcher   # the launcher window's behaviour
  app)       # the engine's main
# The command-line tools stand with the programs.
set(ZANDRELL_TOOLS_LAYER app)
