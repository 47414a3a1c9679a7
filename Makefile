# Thin wrapper over CMake. `make run` starts the engine in protocol mode in this
# terminal from build/dist, the folder as users get it (settings and opening book
# beside the engine); `make test` builds and runs the whole test suite.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: deps build run test sanitize-test tsan-test perft bench strength match match-uci match-clock match-ponder match-ponder-wine match-fen analysis line-check package package-test windows windows-test windows-package clean

deps:
	@scripts/install-deps.sh build gui

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/dist/zandrell -xboard

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize-test: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZANDRELL_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The Debian package (CPack): build/zandrell_<version>_<arch>.deb.
# The threaded search's tests under ThreadSanitizer: the engine they start
# through pipes is built with it too, and ends at its first report.
TSAN_TESTS ?= ThreadsSession|HelperThreads|SharedHashTable|Interpreter.CoresAndMemory
tsan-test: deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANDRELL_TSAN=ON -DZANDRELL_GUI=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target zandrell zandrell-uci zandrell_tests
	@cd build-tsan && TSAN_OPTIONS="halt_on_error=1 exitcode=66" ctest --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

package: build
	@cd $(BUILD) && cpack -G DEB

# The package checked, installed, played as an ordinary user and removed (root).
package-test: package
	@scripts/package-test.sh $(BUILD)

perft: build
	@$(BUILD)/zandrell-perft 6

bench: build
	@$(BUILD)/zandrell-bench

clean:
	rm -rf build build-sanitize build-tsan build-windows

# Windows: cross-built with mingw-w64; ctest runs the tests under wine through
# cmake/wine-run.sh (a prefix inside the build tree, quiet, headless).
WINDOWS_BUILD ?= build-windows
WINE ?= $(firstword $(wildcard /usr/lib/wine/wine64) $(shell command -v wine64 wine 2>/dev/null))

windows:
	@scripts/install-deps.sh windows
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

windows-test: windows
	@locale -a 2>/dev/null | grep -qix 'it_IT.utf-\?8' || echo "windows-test: no it_IT.UTF-8 locale on this host, so wine cannot take an Italian interface language (localedef -i it_IT -f UTF-8 it_IT.UTF-8)" >&2
	@# A test that fails is run once more: wine now and then fails to start a
	@# program at all (no output, a few milliseconds); a real fault fails twice.
	@cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2; rc=$$?; \
	  WINEPREFIX=$(abspath $(WINDOWS_BUILD))/wineprefix $(dir $(WINE))wineserver -k 2>/dev/null; exit $$rc

# The Windows zip: build-windows/Zandrell-<version>-windows.zip.
windows-package: windows
	@cd $(WINDOWS_BUILD) && cpack -G ZIP

# A strength test of the shipped folder through xboard, headless, against fairymax
# or another engine Debian packages (a benchmark, not part of the checks):
#   make strength STRENGTH_OPPONENT=phalanx STRENGTH_TC=0:20 STRENGTH_INC=0.5 STRENGTH_GAMES=40
# prints wins, draws, losses and the Elo difference; openings from the shared
# suite, each twice with colours swapped. Against another build, stopped by a
# sequential test:
#   make strength STRENGTH_OPPONENT=../old/dist STRENGTH_TC=0:05 STRENGTH_INC=0.05 \
#     STRENGTH_GAMES=400 STRENGTH_SPRT=0,10
# see scripts/strength.sh.
strength: build
	@scripts/strength.sh $(BUILD)/dist

# Zandrell against fairymax through xboard, headless: two games, one with each
# colour; fails when a game has no result, Zandrell is forfeited or loses on time.
match: build
	@scripts/match.sh $(BUILD)/zandrell

# The UCI program through Debian's polyglot adapter against fairymax, checked
# like match: a real interface driving zandrell-uci.
match-uci: build
	@MATCH_UCI=1 scripts/match.sh $(BUILD)/zandrell-uci
	@MATCH_UCI=1 MATCH_HASH=32 MATCH_MPS=40 MATCH_TC=0:30 MATCH_INC=0 MATCH_GAMES=1 MATCH_MIN_DEPTH=5 \
	  scripts/match.sh $(BUILD)/zandrell-uci

# Sudden death without increment, down to the last fractions of a second: four
# games at 5 seconds and two at 10 seconds a side; fails like match, and so on
# any loss on time. xboard charges the time it spends animating the opponent's
# move to the engine (about 0.1 s a move on a virtual display), so animation is
# off: the clocks then measure the engines.
CLOCK_MATCH = MATCH_INC=0 MATCH_XBOARD_ARGS="-animateMoving false" scripts/match.sh $(BUILD)/zandrell
match-clock: build
	@MATCH_TC=0:05 MATCH_GAMES=4 $(CLOCK_MATCH)
	@MATCH_TC=0:10 MATCH_GAMES=2 $(CLOCK_MATCH)
	@MATCH_HASH=32 MATCH_MPS=40 MATCH_TC=0:30 MATCH_GAMES=1 MATCH_MIN_DEPTH=5 $(CLOCK_MATCH)

# Pondering through xboard (its default, -ponderNextMove true) with the hash
# table: no loss on time, no illegal move, ponder hits in xboard's debug file.
PONDER_MATCH = MATCH_HASH=32 MATCH_PONDER=1 MATCH_TC=0:10 MATCH_INC=0.1 MATCH_MIN_DEPTH=5 MATCH_PROTOCOL=
match-ponder: build
	@$(PONDER_MATCH) scripts/match.sh $(BUILD)/zandrell

# The same with the Windows program under wine.
match-ponder-wine: windows
	@$(PONDER_MATCH) MATCH_WINE=1 MATCH_GAMES=1 scripts/match.sh $(WINDOWS_BUILD)/Zandrell.exe

# xboard opened in analysis mode with Zandrell: it must receive deepening thinking
# lines (ANALYSIS_SCREENSHOT=file.png also takes a picture of xboard's window).
analysis: build
	@scripts/analysis-test.sh $(BUILD)/zandrell $(ANALYSIS_SCREENSHOT)

# Zandrell plays itself through pipes from drawn openings (UCI with the shipped
# hash table and with Hash=0, and xboard analysis); chess.js replays every line it
# sends and every bestmove and ponder move: fails on an illegal move, a move
# after the game's end by rule, or a bestmove that is not its last line's first.
line-check: build
	@scripts/line-check.sh $(BUILD)

# The same from a set-up position with castling rights and Black to move, with
# Zandrell started as users start it: xboard asks protover 2 and sends setboard.
MATCH_FEN_POSITION ?= r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R b KQkq - 0 4
match-fen: build
	@MATCH_FEN="$(MATCH_FEN_POSITION)" MATCH_PROTOCOL= scripts/match.sh $(BUILD)/zandrell
