// Plays Zandrell against itself through pipes and replays every line it sends
// with chess.js, a move generator of its own: each line must be legal from the
// position searched and stop where the game ends by rule (mate, stalemate, third
// repetition counting the game's moves, fifty moves); each bestmove must be the
// first move of the last line before it, and its ponder move legal after it.
//
//   node line-check.cjs CHESS_JS_FOLDER ENGINE_FOLDER OPENINGS LEG...
//   LEG: uci:HASH:GAMES:MOVETIME_MS:PLIES[:LINES]  or  analysis:GAMES:THINK_MS:PLIES[:LINES]
//        (HASH "-" keeps the shipped setting; analysis uses the shipped settings;
//        a leg plays further games, up to three times as many, until it has
//        checked LINES lines: a slow machine sends fewer per move)
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const path = require('path');

const [chessFolder, engineFolder, openingsFile, ...legs] = process.argv.slice(2);
const { Chess } = require(require.resolve('chess.js', { paths: [chessFolder] }));

const kLineTimeoutMs = 60000;
const kMaxFaultsShown = 20;

// The engine as a child process: lines in, lines out, waiting for a line that
// matches.
class EngineProcess {
  constructor(program, args) {
    this.child = spawn(program, args, { cwd: path.dirname(program), stdio: ['pipe', 'pipe', 'inherit'] });
    this.lines = [];
    this.waiter = null;
    this.ended = false;
    let partial = '';
    this.child.stdout.setEncoding('utf8');
    this.child.stdout.on('data', (chunk) => {
      partial += chunk;
      let end;
      while ((end = partial.indexOf('\n')) >= 0) {
        this.lines.push(partial.slice(0, end).replace(/\r$/, ''));
        partial = partial.slice(end + 1);
      }
      this.wake();
    });
    this.child.on('exit', () => {
      this.ended = true;
      this.wake();
    });
  }

  wake() {
    if (this.waiter) this.waiter();
  }

  send(line) {
    this.child.stdin.write(line + '\n');
  }

  // Every line up to and including the first that matches.
  async until(matches) {
    const taken = [];
    const deadline = Date.now() + kLineTimeoutMs;
    for (;;) {
      while (this.lines.length > 0) {
        const line = this.lines.shift();
        taken.push(line);
        if (matches(line)) return taken;
      }
      if (this.ended) throw new Error('the engine ended; last lines: ' + taken.slice(-5).join(' | '));
      if (Date.now() > deadline) throw new Error('no answer in time; last lines: ' + taken.slice(-5).join(' | '));
      await new Promise((resolve) => {
        this.waiter = resolve;
        setTimeout(resolve, 200);
      });
      this.waiter = null;
    }
  }

  async quit() {
    this.send('quit');
    if (!this.ended) await new Promise((resolve) => this.child.on('exit', resolve));
  }
}

function Openings() {
  const lines = fs.readFileSync(openingsFile, 'utf8').split('\n').filter((l) => l.trim() !== '');
  return lines.map((l) => l.trim().split(/\s+/).slice(0, 4).join(' ') + ' 0 1');
}

// Openings spread over the file, the same on every run.
function PickOpening(openings, legIndex, game) {
  return openings[(legIndex * 7919 + game * 104729) % openings.length];
}

function MoveOf(text) {
  if (!/^[a-h][1-8][a-h][1-8][qrbn]?$/.test(text)) return null;
  return { from: text.slice(0, 2), to: text.slice(2, 4), promotion: text.length > 4 ? text[4] : undefined };
}

// Why the game is over by rule, or null while it goes on.
function GameOverByRule(game) {
  if (game.isCheckmate()) return 'mate';
  if (game.isStalemate()) return 'stalemate';
  if (game.isThreefoldRepetition()) return 'third repetition';
  if (game.isDrawByFiftyMoves()) return 'fifty moves';
  return null;
}

function PlayText(game, text) {
  const move = MoveOf(text);
  if (move === null) return false;
  try {
    game.move(move);
    return true;
  } catch {
    return false;
  }
}

const tally = { lines: 0, hashLines: 0, bestMoves: 0, faults: [] };
const kLeastHashLines = Number(process.env.LINE_CHECK_LEAST_HASH_LINES || 0);

function Fault(leg, where, text) {
  ++leg.faults;
  tally.faults.push(where + ': ' + text);
}

// Replays one line from the game's position (its moves kept for repetitions).
function CheckLine(game, moves, where, leg) {
  ++tally.lines;
  ++leg.lines;
  let played = 0;
  let fault = null;
  for (const text of moves) {
    const over = GameOverByRule(game);
    if (over !== null) {
      fault = `${text} after the game's end (${over})`;
      break;
    }
    if (!PlayText(game, text)) {
      fault = `illegal move ${text}`;
      break;
    }
    ++played;
  }
  for (let k = 0; k < played; ++k) game.undo();
  if (fault !== null) Fault(leg, where, `${fault} in line ${moves.join(' ')}`);
}

function PvOf(infoLine) {
  const at = infoLine.indexOf(' pv ');
  return at < 0 ? null : infoLine.slice(at + 4).trim().split(/\s+/);
}

// Whether a leg plays another game.
function MoreGames(leg, game, games, least) {
  return game < games || (leg.lines < least && game < 3 * games);
}

async function UciLeg(leg, legIndex, hash, games, moveTime, plies, least) {
  const openings = Openings();
  const engine = new EngineProcess(path.join(engineFolder, 'zandrell-uci'), []);
  engine.send('uci');
  await engine.until((l) => l === 'uciok');
  if (hash !== '-') engine.send(`setoption name Hash value ${hash}`);
  for (let g = 0; MoreGames(leg, g, games, least); ++g) {
    const fen = PickOpening(openings, legIndex, g);
    const game = new Chess(fen);
    const moves = [];
    engine.send('ucinewgame');
    engine.send('isready');
    await engine.until((l) => l === 'readyok');
    while (moves.length < plies && !game.isGameOver()) {
      const where = `uci Hash=${hash} game ${g + 1} (${fen}) ply ${moves.length + 1}`;
      engine.send(`position fen ${fen}${moves.length > 0 ? ' moves ' + moves.join(' ') : ''}`);
      engine.send(`go movetime ${moveTime}`);
      const lines = await engine.until((l) => l.startsWith('bestmove'));
      let last = null;
      for (const line of lines) {
        const pv = line.startsWith('info ') ? PvOf(line) : null;
        if (pv === null) continue;
        CheckLine(game, pv, where, leg);
        last = pv;
      }
      const words = lines[lines.length - 1].split(/\s+/);
      const best = words[1];
      ++tally.bestMoves;
      if (last === null || last[0] !== best) {
        Fault(leg, where, `bestmove ${best} is not the first move of the last line (${last ? last.join(' ') : 'none'})`);
      }
      if (!PlayText(game, best)) {
        Fault(leg, where, `illegal bestmove ${best}`);
        break;
      }
      if (words[2] === 'ponder' && !PlayText(game, words[3])) {
        Fault(leg, where, `illegal ponder move ${words[3]} after ${best}`);
      } else if (words[2] === 'ponder') {
        game.undo();
      }
      moves.push(best);
    }
  }
  await engine.quit();
}

// xboard analysis: the engine analyses each position of a game for a while; the
// game goes on with the first move of its last line. A "ping" after each move
// marks where the new position's lines begin.
async function AnalysisLeg(leg, legIndex, games, thinkMs, plies, least) {
  const openings = Openings();
  const engine = new EngineProcess(path.join(engineFolder, 'zandrell'), ['-xboard']);
  engine.send('xboard');
  engine.send('protover 2');
  await engine.until((l) => l.includes('done=1'));
  // A line sent together with a "ping" reaches the engine in one read, so the
  // lines before the "pong" are those of the position before it.
  let ping = 0;
  const Sync = async (before = null) => {
    ++ping;
    engine.send(before === null ? `ping ${ping}` : `${before}\nping ${ping}`);
    return engine.until((l) => l === `pong ${ping}`);
  };
  for (let g = 0; MoreGames(leg, g, games, least); ++g) {
    const fen = PickOpening(openings, legIndex, g);
    const game = new Chess(fen);
    engine.send('new');
    engine.send('force');
    engine.send(`setboard ${fen}`);
    await Sync();
    engine.send('analyze');
    let ply = 0;
    for (;;) {
      const where = `analysis game ${g + 1} (${fen}) ply ${ply + 1}`;
      await new Promise((resolve) => setTimeout(resolve, thinkMs));
      const lines = await Sync();
      // Lines still arriving for this position come before the next pong.
      let last = null;
      const take = (batch) => {
        for (const line of batch) {
          if (!/^\d+ -?\d+ \d+ \d+/.test(line)) continue;
          const pv = line.trim().split(/\s+/).slice(4);
          CheckLine(game, pv, where, leg);
          if (pv.length > 0) last = pv;
        }
      };
      take(lines);
      const over = ply >= plies || last === null;
      if (over) {
        take(await Sync('exit'));
        break;
      }
      const move = last[0];
      take(await Sync(move));
      ++ply;
      if (!PlayText(game, move)) {
        Fault(leg, where, `illegal move ${move} sent to the game`);
        await Sync('exit');
        break;
      }
      if (game.isGameOver()) {
        await Sync('exit');
        break;
      }
    }
  }
  await engine.quit();
}

// The legs run side by side: each waits mostly on its engine's clock.
async function RunLeg(text, index) {
  const start = Date.now();
  const leg = { lines: 0, faults: 0 };
  const parts = text.split(':');
  if (parts[0] === 'uci') {
    await UciLeg(leg, index, parts[1], Number(parts[2]), Number(parts[3]), Number(parts[4]), Number(parts[5] || 0));
  } else if (parts[0] === 'analysis') {
    await AnalysisLeg(leg, index, Number(parts[1]), Number(parts[2]), Number(parts[3]), Number(parts[4] || 0));
  } else {
    throw new Error(`unknown leg ${text}`);
  }
  const seconds = ((Date.now() - start) / 1000).toFixed(0);
  if (!(parts[0] === 'uci' && parts[1] === '0')) tally.hashLines += leg.lines;
  console.log(`line-check: ${text}: ${leg.lines} lines, ${leg.faults} faults, ${seconds} s`);
}

async function Main() {
  await Promise.all(legs.map((leg, index) => RunLeg(leg, index)));
  console.log(`line-check: ${tally.lines} lines (${tally.hashLines} with the hash table), ` +
              `${tally.bestMoves} bestmoves, ${tally.faults.length} faults`);
  for (const fault of tally.faults.slice(0, kMaxFaultsShown)) console.log('  ' + fault);
  if (tally.hashLines < kLeastHashLines) {
    console.log(`line-check: fewer than ${kLeastHashLines} lines with the hash table`);
    process.exit(1);
  }
  process.exit(tally.faults.length === 0 ? 0 : 1);
}

Main().catch((error) => {
  console.error('line-check: ' + error.message);
  process.exit(2);
});
