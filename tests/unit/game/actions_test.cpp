// Tests of the human player's actions: every refusal and result, payment, the repeated attack,
// cursor mapping.
#include "game/actions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "flow/input.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "view/palette.h"

namespace {

using game::board;
using game::Cell;
using game::gameState;
using game::players;

void land(std::int64_t column, std::int64_t row, std::int64_t owner = 0) {
  Cell& c = board[column][row];
  c.terrain = 13;
  c.owner = owner;
  c.roundsOwned = owner == 0 ? 0 : 2;
  c.income = 1;
  c.defence = owner == 0 ? 60 : 100;
}

void setGoldMine(std::int64_t column, std::int64_t row) {
  board[column][row].goldMine = 1;
  board[column][row].income = 4;
}

// The board of every case (land everywhere named, water elsewhere):
//   (3,3) YOU; (3,4) YOU with a gold mine; (4,4) YOU with a city (income 2);
//   (4,3) free land next to YOU; (2,3) PC-1 with a fort, defence 110;
//   (3,2) PC-2 with a city, income 2, defence 90; (6,3) free land alone in the sea;
//   (9,4) PC-3 inland, with free land on all four sides; (1,6) free land on the
//   left edge with land above, below and to the right; (6,6) PC-1 gold mine;
//   (10,7) PC-1 and (11,7) PC-2, so no conquest below eliminates anyone.
class ActionsTest : public testing_support::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    for (std::int64_t player = 1; player <= 4; ++player) {
      players[player] = game::PlayerRecord{5 - player, 24 + player, 3, 1};
    }
    land(3, 3, 4);
    land(3, 4, 4);
    setGoldMine(3, 4);
    land(4, 4, 4);
    board[4][4].city = 1;
    board[4][4].income = 2;
    land(4, 3);
    land(2, 3, 1);
    board[2][3].fort = 1;
    board[2][3].defence = 110;
    land(3, 2, 2);
    board[3][2].city = 1;
    board[3][2].income = 2;
    board[3][2].defence = 90;
    land(6, 3);
    land(9, 4, 3);
    for (const auto& [column, row] : {std::pair{9, 3}, {9, 5}, {8, 4}, {10, 4}}) land(column, row);
    land(1, 6);
    for (const auto& [column, row] : {std::pair{1, 5}, {1, 7}, {2, 6}}) land(column, row);
    land(6, 6, 1);
    setGoldMine(6, 6);
    land(10, 7, 1);
    land(11, 7, 2);
  }

  static void aimAt(std::int64_t column, std::int64_t row) {
    flow::cursorX = 95 * column - 21;  // the middle of the cell
    flow::cursorY = 95 * row - 36;
  }
};

std::vector<std::int64_t> fieldsOf(const Cell& c) {
  return {c.terrain, c.owner,   c.roundsOwned, c.income,    c.goldMine,  c.fort,
          c.city,    c.defence, c.navyScore,   c.armyScore, c.fortScore, c.cityScore};
}

void expectBoardsEqual(const game::Board& expected) {
  for (std::int64_t column = 0; column < game::boardColumns; ++column) {
    for (std::int64_t row = 0; row < game::boardRows; ++row) {
      EXPECT_EQ(fieldsOf(board[column][row]), fieldsOf(expected[column][row]))
          << "cell " << column << "," << row;
    }
  }
}

enum class Line { untouched, cleared, held };

void expectMessageLine(Line line) {
  const std::uint32_t probe = headless::pixel(250, 714);  // left of any centred text
  if (line == Line::cleared) {
    EXPECT_EQ(probe, testing_support::rgb(view::colourFooter));
  } else if (line == Line::held) {
    EXPECT_EQ(probe, testing_support::rgb(view::colourMessage));
  }
}

struct ActionCase {
  std::string name;
  std::int64_t action;
  std::int64_t column, row;
  std::int64_t gold;
  std::vector<std::int64_t> draws;
  std::vector<std::string> messages;
  std::vector<std::int64_t> sleeps;
  std::int64_t goldAfter;
  void (*change)(Cell&);
  std::int64_t autoAttackAfter;  // every case starts with the repeated attack on
  Line line;
  void (*arrange)();
};

struct Target {
  std::int64_t column, row;
};

void none() {}
void same(Cell&) {}
void takenByYou(Cell& c) {
  c.owner = 4;
  c.roundsOwned = 0;
  c.fort = 0;
  c.city = 0;
}
void weakened(Cell& c) { c.defence -= 20; }
void fortified(Cell& c) { c.fort = 1; }
void cityBuilt(Cell& c) {
  c.city = 1;
  c.income += 1;
}
void conqueredCityCell() {
  board[4][3].owner = 4;
  board[4][3].income = 2;
}
// Nine more besides the one at (4,4): exactly the limit.
void tenCities() {
  for (std::int64_t column = 1; column <= 9; ++column) {
    land(column, 7, 4);
    board[column][7].city = 1;
  }
}

ActionCase refused(std::string name, std::int64_t action, Target at, std::int64_t gold,
                   std::string message, std::int64_t autoAttackAfter) {
  return {name,   action, at.column, at.row,          gold,          {},  {message},
          {1250}, gold,   same,      autoAttackAfter, Line::cleared, none};
}

ActionCase attacked(std::string name, std::int64_t action, Target at, std::int64_t gold,
                    std::vector<std::int64_t> draws, bool won) {
  const std::string prefix = action == game::actionArmy ? "Army: " : "Navy: ";
  const std::int64_t cost = action == game::actionArmy ? 1 : 4;
  return {name,
          action,
          at.column,
          at.row,
          gold,
          draws,
          {prefix + "ANGRIFF !!!",
           prefix + (won ? "ANGRIFF - erfolgreich !!!" : "ANGRIFF - fehlgeschlagen !!!")},
          {500, 100, 100, 100, 100, 100, 100, 1250},
          gold - cost,
          won ? takenByYou : weakened,
          won ? 0 : 1,
          Line::cleared,
          none};
}

ActionCase built(std::string name, std::int64_t action, Target at, std::int64_t gold,
                 std::int64_t goldAfter, void (*change)(Cell&), void (*arrange)() = none) {
  return {name,      action, at.column, at.row,          gold,   {}, {}, {},
          goldAfter, change, 1,         Line::untouched, arrange};
}

const std::int64_t army = game::actionArmy;
const std::int64_t navy = game::actionNavy;
const std::int64_t fort = game::actionFort;
const std::int64_t city = game::actionCity;

const ActionCase tenCitiesCase = [] {
  ActionCase c = refused("eleventh city", city, {3, 3}, 5, "Maximalzahl von cities erreicht", 1);
  c.line = Line::held;
  c.arrange = tenCities;
  return c;
}();

const ActionCase actionCases[] = {
    refused("army own cell", army, {3, 3}, 3, "Army: Willst Du Dich selber angreifen?", 0),
    refused("army water", army, {5, 5}, 3, "Army: Da ist doch nur Wasser - was soll das?!", 0),
    refused("army no own neighbour", army, {6, 3}, 3, "Army: Einsatz nur von Nachbarfeld", 0),
    attacked("army on free land with its last gold", army, {4, 3}, 1, {1, 30}, true),
    attacked("army beaten by a fort", army, {2, 3}, 3, {30, 1}, false),
    attacked("army takes a city", army, {3, 2}, 3, {30, 1}, true),
    refused("army without gold", army, {4, 3}, 0, "Army: KEIN Gold!!", 0),
    refused("navy own cell", navy, {3, 4}, 4, "Navy: Willst Du Dich selber angreifen?", 0),
    refused("navy water", navy, {5, 5}, 4, "Navy: Da ist doch nur Wasser - was soll das?!", 0),
    refused("navy inland", navy, {9, 4}, 4, "Navy: Keine Kueste zum Anlanden vorhanden !!", 0),
    attacked("navy far over the sea", navy, {6, 3}, 5, {1, 30}, true),
    attacked("navy on the left edge", navy, {1, 6}, 4, {1, 30}, true),
    attacked("navy beaten by a fort", navy, {2, 3}, 4, {30, 1}, false),
    refused("navy short of gold", navy, {6, 3}, 3, "Navy: Nicht genug Gold!!", 0),
    refused("fort on water", fort, {5, 5}, 3, "Fortbau: Was soll das, hier ist Wasser \?\?!!", 1),
    refused("fort on a foreign fort", fort, {2, 3}, 3,
            "Fortbau: Hier ist doch schon ein Fort \?\?!!", 1),
    refused("fort on foreign land", fort, {3, 2}, 3,
            "Fortbau: Du kannst nur auf eigenem Land bauen!!", 1),
    refused("fort on free land", fort, {4, 3}, 3, "Fortbau: Du kannst nur auf eigenem Land bauen!!",
            1),
    built("fort built", fort, {3, 3}, 3, 0, fortified),
    refused("fort short of gold", fort, {3, 3}, 2, "Fort: Nicht genug Gold!!", 1),
    refused("city on water", city, {5, 5}, 2,
            "Citybau: Venedig wurde schon gebaut, hier ist Wasser!!", 1),
    refused("city on own gold mine", city, {3, 4}, 2,
            "Citybau: Wegen der Goldmine geht das hier nicht!!", 1),
    refused("city on foreign gold mine", city, {6, 6}, 2,
            "Citybau: Wegen der Goldmine geht das hier nicht!!", 1),
    refused("city on own city", city, {4, 4}, 2, "Citybau: Hier ist doch schon eine Stadt \?\?!!",
            1),
    refused("city on foreign city", city, {3, 2}, 2,
            "Citybau: Hier ist doch schon eine Stadt \?\?!!", 1),
    refused("city on foreign land", city, {2, 3}, 2,
            "Citybau: Du kannst nur auf eigenem Land bauen!!", 1),
    tenCitiesCase,
    built("city built", city, {3, 3}, 2, 0, cityBuilt),
    built("city on a conquered city cell", city, {4, 3}, 4, 2, cityBuilt, conqueredCityCell),
    refused("city short of gold", city, {3, 3}, 1, "Citybau: Nicht genug Gold!!", 1),
    refused("nothing selected", game::actionNone, {3, 3}, 3, "keine Aktion ausgewaehlt !", 1),
};

TEST_F(ActionsTest, EveryActionAnswersEveryKindOfTarget) {
  for (const ActionCase& tc : actionCases) {
    SCOPED_TRACE(tc.name);
    SetUp();
    tc.arrange();
    players[4].gold = tc.gold;
    gameState.selectedAction = tc.action;
    gameState.autoAttack = 1;
    aimAt(tc.column, tc.row);
    headless::forceDraws(tc.draws);
    game::Board expected = board;
    tc.change(expected[tc.column][tc.row]);

    game::executeAction();

    EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
    EXPECT_EQ(testing_support::messages(), tc.messages);
    EXPECT_EQ(headless::sleeps(), tc.sleeps);
    EXPECT_EQ(players[4].gold, tc.goldAfter);
    EXPECT_EQ(gameState.autoAttack, tc.autoAttackAfter);
    expectBoardsEqual(expected);
    expectMessageLine(tc.line);
    if (tc.goldAfter != tc.gold) {
      // The box shows the new gold, and for an attack before the roll is decided.
      const std::string box = "YOU  (" + std::to_string(tc.goldAfter) + "/1)";
      std::int64_t shownAt = -1;
      for (const auto& t : headless::texts()) {
        if (t.text == box && t.colour == game::palette[view::colourYellow]) shownAt = t.timeUs;
      }
      ASSERT_GE(shownAt, 0) << box;
      if (tc.messages.size() == 2) {
        // Paid after the announcement's 500 ms, before the 600 ms of flashes that precede the roll.
        const std::int64_t announcedAt = testing_support::messageTimeUs(tc.messages[0]);
        EXPECT_GE(shownAt - announcedAt, 500'000);
        EXPECT_LT(shownAt - announcedAt, 600'000);
      }
    }
    if (HasFailure()) return;
  }
}

TEST_F(ActionsTest, CursorMapsToCellsWithTruncationTowardZero) {
  const struct {
    std::int64_t position, cell;
  } columns[] = {{-68, 0},   {-67, 1},   {-1, 1},    {26, 1},    {27, 1},    {121, 1},  {122, 2},
                 {1071, 11}, {1072, 12}, {1099, 12}, {1166, 12}, {1167, 13}, {1279, 14}},
    rows[] = {{-83, 0}, {-82, 1}, {-1, 1}, {106, 1}, {107, 2}, {676, 7}, {677, 8}, {719, 8}};
  for (const auto& c : columns) {
    EXPECT_EQ(game::cellAt(c.position, 300).column, c.cell) << "x " << c.position;
    EXPECT_EQ(game::cellAt(c.position, 300).row, 4) << "x " << c.position;
  }
  for (const auto& r : rows) {
    EXPECT_EQ(game::cellAt(560, r.position).row, r.cell) << "y " << r.position;
    EXPECT_EQ(game::cellAt(560, r.position).column, 6) << "y " << r.position;
  }
}

TEST_F(ActionsTest, PositionsOffThePlayingAreaAreWaterAndEndTheRepeatedAttack) {
  // Attackable land wherever a clamped position would land instead.
  land(11, 2, 4);
  land(11, 3);
  land(3, 6, 4);
  land(3, 7);
  land(1, 2, 4);
  land(1, 3);
  land(2, 1, 4);
  land(3, 1);
  const struct {
    std::int64_t x, y;
  } positions[] = {{1072, 249}, {1099, 249}, {1166, 249}, {1167, 249}, {1200, 249}, {1279, 249},
                   {300, 677},  {300, 719},  {300, 2000}, {-200, 249}, {300, -300}};
  const std::vector<std::string> water = {"Army: Da ist doch nur Wasser - was soll das?!",
                                          "Navy: Da ist doch nur Wasser - was soll das?!",
                                          "Fortbau: Was soll das, hier ist Wasser \?\?!!",
                                          "Citybau: Venedig wurde schon gebaut, hier ist Wasser!!"};
  const game::Board before = board;
  for (const auto& p : positions) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    headless::clearRecords();
    flow::cursorX = p.x;
    flow::cursorY = p.y;
    for (const auto action :
         {game::actionArmy, game::actionNavy, game::actionFort, game::actionCity}) {
      players[4].gold = 4;
      gameState.selectedAction = action;
      gameState.autoAttack = 1;
      game::executeAction();
      EXPECT_EQ(players[4].gold, 4) << "action " << action;
      if (action == game::actionArmy || action == game::actionNavy) {
        EXPECT_EQ(gameState.autoAttack, 0) << "action " << action;
      }
    }
    EXPECT_EQ(testing_support::messages(), water);
  }
  expectBoardsEqual(before);
}

TEST_F(ActionsTest, CursorOutsideTheWindowAimsAtTheTopLeftCell) {
  land(1, 1);
  land(2, 1, 4);
  gameState.selectedAction = game::actionArmy;
  gameState.autoAttack = 1;
  flow::cursorX = -1;
  flow::cursorY = -1;
  headless::forceDraws({1, 30});
  game::executeAction();
  EXPECT_EQ(board[1][1].owner, 4);
  EXPECT_EQ(players[4].gold, 2);
}

TEST_F(ActionsTest, RepeatedAttackRollsAndPaysUntilItEnds) {
  const struct {
    std::string name;
    std::int64_t gold;
    std::vector<std::int64_t> draws;
    std::vector<std::pair<std::int64_t, std::int64_t>> aims;  // cell under the cursor per pass
    std::int64_t passes, goldAfter, ownerAfter, defenceAfter;
    std::string lastMessage;
  } cases[] = {
      {"until it succeeds",
       3,
       {30, 1, 1, 30, 30, 1},
       {{2, 3}, {2, 3}, {2, 3}},
       3,
       0,
       4,
       70,
       "Army: ANGRIFF - erfolgreich !!!"},
      {"until the gold runs out",
       2,
       {1, 30, 1, 30},
       {{2, 3}, {2, 3}, {2, 3}},
       3,
       0,
       1,
       70,
       "Army: KEIN Gold!!"},
      {"until the cursor leaves the target",
       3,
       {30, 1},
       {{2, 3}, {3, 3}},
       2,
       2,
       1,
       90,
       "Army: Willst Du Dich selber angreifen?"},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    SetUp();
    players[4].gold = tc.gold;
    gameState.selectedAction = game::actionArmy;
    gameState.autoAttack = 1;
    headless::forceDraws(tc.draws);
    std::int64_t passes = 0;
    while (gameState.autoAttack == 1 && passes < static_cast<std::int64_t>(tc.aims.size())) {
      aimAt(tc.aims[passes].first, tc.aims[passes].second);
      game::executeAction();
      ++passes;
    }
    EXPECT_EQ(passes, tc.passes);
    EXPECT_EQ(gameState.autoAttack, 0);
    EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
    EXPECT_EQ(players[4].gold, tc.goldAfter);
    EXPECT_EQ(board[2][3].owner, tc.ownerAfter);
    EXPECT_EQ(board[2][3].defence, tc.defenceAfter);
    EXPECT_EQ(testing_support::lastMessage(), tc.lastMessage);
  }
}

TEST_F(ActionsTest, ConquestOfTheLastForeignCellWinsTheGame) {
  for (std::int64_t player = 1; player <= 3; ++player) players[player].turnSlot += 10;
  land(10, 7);
  land(11, 7);
  land(9, 4);
  land(6, 6);
  land(2, 3);
  land(3, 2);
  land(4, 3, 2);
  players[2].turnSlot -= 10;
  gameState.selectedAction = game::actionArmy;
  aimAt(4, 3);
  headless::forceDraws({30, 1});
  game::executeAction();
  EXPECT_EQ(testing_support::messages(),
            (std::vector<std::string>{"Army: ANGRIFF !!!", "Army: ANGRIFF - erfolgreich !!!",
                                      "PC-2 wurde ausgeloescht"}));
  EXPECT_EQ(headless::sleeps(),
            (std::vector<std::int64_t>{500, 100, 100, 100, 100, 100, 100, 1250, 1250}));
  EXPECT_EQ(gameState.result, 7);
  expectMessageLine(Line::cleared);
}

}  // namespace
