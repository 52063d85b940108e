// The game tables: all state of a running game, process-wide, every entry a signed 64-bit integer.
//
// Index 0 of every table carries no data: columns, rows, player ids, slots and
// list positions start at 1. The Board has a margin of water around the
// 11 x 7 playing area, so a neighbour of a playing cell is always inside it.
#pragma once

#include <array>
#include <cstdint>

namespace game {

constexpr std::int64_t boardColumns = 13;  // 0..12; playing area 1..11
constexpr std::int64_t boardRows = 9;      // 0..8; playing area 1..7
constexpr std::int64_t playColumns = 11;
constexpr std::int64_t playRows = 7;
constexpr std::int64_t firstLandTerrain = 11;  // terrain below this is water

// PlayerId: 1..3 the computer players "PC-1".."PC-3", 4 the human "YOU".
constexpr std::int64_t human = 4;

// ActionCode of GameState.selectedAction.
constexpr std::int64_t actionNone = 0;
constexpr std::int64_t actionCity = 2;
constexpr std::int64_t actionNavy = 3;
constexpr std::int64_t actionFort = 4;
constexpr std::int64_t actionArmy = 5;

// GameResult of GameState.result: 3 + PlayerId for a win.
constexpr std::int64_t resultRunning = 0;
constexpr std::int64_t resultAborted = 9;

// MoveKind of the computer player: the number of the cell's score field.
constexpr std::int64_t moveNone = 0;
constexpr std::int64_t moveNavy = 11;
constexpr std::int64_t moveArmy = 12;
constexpr std::int64_t moveFort = 13;
constexpr std::int64_t moveCity = 14;

// Costs in gold, the same for every player.
constexpr std::int64_t armyCost = 1;
constexpr std::int64_t navyCost = 4;
constexpr std::int64_t fortCost = 3;
constexpr std::int64_t cityCost = 2;

constexpr std::int64_t eliminatedMark = 10;  // added to turnSlot when a player drops out
constexpr std::int64_t cityLimit = 10;

// One square province, fields in the order of their numbers 1..14.
struct Cell {
  std::int64_t terrain;      // 0 water; 11..22 land, the image slot of its tile
  std::int64_t owner;        // 0 nobody; 1..4 the owning PlayerId
  std::int64_t roundsOwned;  // accountings the owner has held it through; income needs > 0
  std::int64_t income;       // gold per round: 1 plain, +1 with a city, 4 a gold mine
  std::int64_t goldMine;     // 1 a gold mine (for the rest of the game), else 0
  std::int64_t fort;         // 1 a fort stands, else 0
  std::int64_t city;         // 1 a city stands, else 0
  std::int64_t defence;      // strength against attack: 60 unowned, 100 mine, 90..130 owned
  std::int64_t navyScore;    // computer player's scratch scores (moves 11..14), last scored player
  std::int64_t armyScore;
  std::int64_t fortScore;
  std::int64_t cityScore;
};

// The score field of a cell for a MoveKind 11..14.
std::int64_t& moveScore(Cell& cell, std::int64_t kind);

using Board = std::array<std::array<Cell, boardRows>, boardColumns>;  // board[column][row]

struct PlayerRecord {
  std::int64_t turnSlot;     // 1..4 TurnOrder slot and side-panel row; +10 once eliminated
  std::int64_t colourIndex;  // 24 + PlayerId: the Palette entry of the player's colour
  std::int64_t gold;         // treasury: 3 at start, at most 40 after an accounting, never < 0
  std::int64_t roundIncome;  // summed income after the last accounting, at most 30
};
using PlayerTable = std::array<PlayerRecord, 5>;  // indexed by PlayerId

struct GameState {
  std::int64_t result;          // GameResult: 0 running, 4..7 won by PlayerId 1..4, 9 aborted
  std::int64_t currentSlot;     // 1..5: the TurnOrder slot whose turn it is
  std::int64_t selectedAction;  // the human's ActionCode: 0, 2, 3, 4 or 5
  std::int64_t turnNumber;      // round being played: 0 during set-up, then 1, 2, ...
  std::int64_t blinkA;          // 1 during the red half of a flash, else 0
  std::int64_t blinkB;          // 1 during the grey half of a flash, else 0
  std::int64_t autoAttack;      // 1 while the right-click repeated attack runs, else 0
  std::int64_t pcDelay;         // 1250: hold in ms after computer moves and accounting messages
};

using TurnOrder = std::array<std::int64_t, 6>;  // slots 1..4 PlayerIds, slot 5 holds 5

struct Candidate {
  std::int64_t key;     // score x 1000 + entry number; 0 for an empty or removed entry
  std::int64_t kind;    // MoveKind; 0 for an empty or removed entry
  std::int64_t column;  // 1..11
  std::int64_t row;     // 1..7
};
using CandidateList = std::array<Candidate, 121>;  // entries 1..120

// Colours as 0xBBGGRR (red in the low byte); entries 25..28 are the players'.
using Palette = std::array<std::int64_t, 41>;

extern GameState gameState;
extern Palette palette;
extern Board board;
extern PlayerTable players;
extern TurnOrder turnOrder;
extern CandidateList candidates;

// Zero-fills all six tables, in the order they are created at start-up.
void resetTables();

// True when the cell at (column, row) of the Board is water.
bool isWater(std::int64_t column, std::int64_t row);

}  // namespace game
