// The human player's actions: army and navy attacks, forts and cities on the cell under the cursor.
#include "game/actions.h"

#include <cstdint>
#include <string_view>

#include "flow/input.h"
#include "game/combat.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/panel.h"

namespace game {

namespace {

constexpr std::int64_t resultHoldMs = 1250;
constexpr std::int64_t announceHoldMs = 500;
constexpr double cellSize = 95.0;
constexpr double gridLeft = 27.0;
constexpr double gridTop = 12.0;

void holdMessage(std::string_view text) {
  view::showMessage(text);
  platform::sleepMs(resultHoldMs);
  view::clearMessageLine();
}

bool onBoard(CellPosition at) {
  return at.column >= 0 && at.column < boardColumns && at.row >= 0 && at.row < boardRows;
}

// The repeated attack follows the cursor over the side panel, past the Board's
// last column; such a position reads as water, which refuses and ends it.
Cell cellOrWater(CellPosition at) { return onBoard(at) ? board[at.column][at.row] : Cell{}; }

CellPosition cursorCell() { return cellAt(flow::cursorX, flow::cursorY); }

template <typename Test>
bool anyNeighbour(CellPosition at, Test test) {
  const CellPosition around[] = {{at.column, at.row - 1},
                                 {at.column, at.row + 1},
                                 {at.column - 1, at.row},
                                 {at.column + 1, at.row}};
  for (const CellPosition& next : around) {
    if (test(cellOrWater(next))) return true;
  }
  return false;
}

bool hasOwnNeighbour(CellPosition at) {
  return anyNeighbour(at, [](const Cell& cell) { return cell.owner == human; });
}

bool hasCoast(CellPosition at) {
  return anyNeighbour(at, [](const Cell& cell) { return cell.terrain < firstLandTerrain; });
}

struct AttackKind {
  std::int64_t cost;
  bool (*reachable)(CellPosition);
  std::string_view ownCell;
  std::string_view water;
  std::string_view unreachable;
  std::string_view announce;
  std::string_view failed;
  std::string_view succeeded;
};

constexpr AttackKind army{armyCost,
                          hasOwnNeighbour,
                          "Army: Willst Du Dich selber angreifen?",
                          "Army: Da ist doch nur Wasser - was soll das?!",
                          "Army: Einsatz nur von Nachbarfeld",
                          "Army: ANGRIFF !!!",
                          "Army: ANGRIFF - fehlgeschlagen !!!",
                          "Army: ANGRIFF - erfolgreich !!!"};

constexpr AttackKind navy{navyCost,
                          hasCoast,
                          "Navy: Willst Du Dich selber angreifen?",
                          "Navy: Da ist doch nur Wasser - was soll das?!",
                          "Navy: Keine Kueste zum Anlanden vorhanden !!",
                          "Navy: ANGRIFF !!!",
                          "Navy: ANGRIFF - fehlgeschlagen !!!",
                          "Navy: ANGRIFF - erfolgreich !!!"};

std::string_view attackRefusal(const AttackKind& kind, CellPosition at) {
  const Cell target = cellOrWater(at);
  if (target.owner == human) return kind.ownCell;
  if (target.terrain < firstLandTerrain) return kind.water;
  if (!kind.reachable(at)) return kind.unreachable;
  return {};
}

// A failed attack leaves the repeated attack running, so it rolls again on the next pass.
void attack(const AttackKind& kind) {
  const CellPosition at = cursorCell();
  const std::string_view refusal = attackRefusal(kind, at);
  if (!refusal.empty()) {
    holdMessage(refusal);
    gameState.autoAttack = 0;
    return;
  }
  view::showMessage(kind.announce);
  platform::sleepMs(announceHoldMs);
  players[human].gold -= kind.cost;
  view::drawPlayerBox(human, view::playerActive);
  if (resolveAttack(at.column, at.row) == 0) {
    holdMessage(kind.failed);
    return;
  }
  conquer(at.column, at.row, human);
  view::drawCell(at.column, at.row);
  view::showMessage(kind.succeeded);
  platform::sleepMs(resultHoldMs);
  checkEliminations();
  view::clearMessageLine();
  gameState.autoAttack = 0;
}

struct ActionKind {
  std::int64_t code;
  std::int64_t cost;
  void (*run)();
  std::string_view tooPoor;
  bool stopsRepeatedAttack;
};

constexpr ActionKind actionKinds[] = {
    {actionCity, cityCost, buildCity, "Citybau: Nicht genug Gold!!", false},
    {actionNavy, navyCost, navyAttack, "Navy: Nicht genug Gold!!", true},
    {actionFort, fortCost, buildFort, "Fort: Nicht genug Gold!!", false},
    {actionArmy, armyCost, armyAttack, "Army: KEIN Gold!!", true},
};

}  // namespace

CellPosition cellAt(std::int64_t x, std::int64_t y) {
  // The casts truncate toward zero, so the strips left of and above the grid
  // (down to -67 and -82) still belong to column 1 and row 1.
  const auto column = static_cast<std::int64_t>((static_cast<double>(x) - gridLeft) / cellSize);
  const auto row = static_cast<std::int64_t>((static_cast<double>(y) - gridTop) / cellSize);
  return {column + 1, row + 1};
}

void executeAction() {
  const std::int64_t selected = gameState.selectedAction;
  if (selected == actionNone) {
    holdMessage("keine Aktion ausgewaehlt !");
    return;
  }
  for (const ActionKind& kind : actionKinds) {
    if (kind.code != selected) continue;
    if (players[human].gold >= kind.cost) {
      kind.run();
      return;
    }
    holdMessage(kind.tooPoor);
    if (kind.stopsRepeatedAttack) gameState.autoAttack = 0;
    return;
  }
}

void armyAttack() { attack(army); }

void navyAttack() { attack(navy); }

// "\?\?" keeps g++ from warning about the old "??!" trigraph.
void buildFort() {
  const CellPosition at = cursorCell();
  const Cell target = cellOrWater(at);
  if (target.terrain < firstLandTerrain) {
    holdMessage("Fortbau: Was soll das, hier ist Wasser \?\?!!");
  } else if (target.fort > 0) {
    holdMessage("Fortbau: Hier ist doch schon ein Fort \?\?!!");
  } else if (target.owner != human) {
    holdMessage("Fortbau: Du kannst nur auf eigenem Land bauen!!");
  } else {
    board[at.column][at.row].fort = 1;
    players[human].gold -= fortCost;
    view::drawPlayerBox(human, view::playerActive);
    view::drawCell(at.column, at.row);
  }
}

void buildCity() {
  const CellPosition at = cursorCell();
  const Cell target = cellOrWater(at);
  if (target.terrain < firstLandTerrain) {
    holdMessage("Citybau: Venedig wurde schon gebaut, hier ist Wasser!!");
  } else if (target.goldMine > 0) {
    holdMessage("Citybau: Wegen der Goldmine geht das hier nicht!!");
  } else if (target.city > 0) {
    holdMessage("Citybau: Hier ist doch schon eine Stadt \?\?!!");
  } else if (target.owner != human) {
    holdMessage("Citybau: Du kannst nur auf eigenem Land bauen!!");
  } else if (countCities(human) >= cityLimit) {
    // This one stays on the message line until something replaces it.
    view::showMessage("Maximalzahl von cities erreicht");
    platform::sleepMs(resultHoldMs);
  } else {
    Cell& cell = board[at.column][at.row];
    cell.city = 1;
    cell.income += 1;
    players[human].gold -= cityCost;
    view::drawCell(at.column, at.row);
    view::drawPlayerBox(human, view::playerActive);
  }
}

}  // namespace game
