#pragma once
// Bounds of the search's per-ply storage. The deepest fixed depth the protocol can
// ask for is tied to them, so no depth, check extension or quiescence line can
// index past the arrays.
namespace zandrell {

constexpr int kQuiesceDepthLimit = 30;
constexpr int kCheckExtensionPlyLimit = 31;  // no extension at this ply or deeper
constexpr int kMaxSearchDepth = 64;          // cap of "sd"
// Root is ply 1; each extension (only below kCheckExtensionPlyLimit) lengthens a line
// by one ply, and quiescence adds at most kQuiesceDepthLimit plies after that.
constexpr int kMaxPly = 1 + kMaxSearchDepth + kCheckExtensionPlyLimit + kQuiesceDepthLimit + 2;
// Positions of the game a repetition test can reach: the fifty-move rule ends
// the game a hundred half-moves after the last capture or pawn move.
constexpr int kGameKeysKept = 128;

// The playing levels in Elo, from the weakest plan's measured rating to the
// strongest's (search/playing_level.cpp).
constexpr int kLowestLevelElo = 800;
constexpr int kHighestLevelElo = 1950;

}  // namespace zandrell
