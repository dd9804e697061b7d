// New puzzles on demand: a random valid solved board, then its cells given
// up as hints one by one, in random order, as long as the complete solver
// still finds the board the only solution (and the chosen solver still
// solves it). Every random choice comes from one seeded generator, so a seed
// gives the same puzzle on every machine.
#pragma once

#include <atomic>
#include <cstdint>
#include <random>
#include <string>

#include "core/board/board_state.h"
#include "core/complete/complete_solver.h"

namespace numbloc::complete {

// Who must be able to solve the puzzle besides the complete solver.
enum class Difficulty {
  Rules,   // the default automatic solve, with its deduction rules alone (no trials)
  Trials,  // the default automatic solve, trials allowed (within a fixed amount of work)
  Any,     // nobody: the solution need only be unique
};
const char* DifficultyKey(Difficulty difficulty);  // "rules", "trials", "any"
bool ParseDifficulty(const std::string& key, Difficulty& difficulty);

struct GenerateOptions {
  int width = 10;
  int height = 10;
  int maxNumber = 9;  // largest number of the solution: 3..DeriveMaxNumber(width, height)
                      // (1s and 2s alone fill no board of two rows or more)
  Difficulty difficulty = Difficulty::Any;
  bool symmetric = false;  // hints given up in pairs, symmetric about the centre
  bool exact = false;      // decide every removal in full, however long (the greedy baseline)
  std::uint64_t seed = 1;
  int index = 0;  // the puzzle's place in a run: each has a seed of its own
  double timeBudgetSeconds = 0;             // 0: none
  const std::atomic<bool>* stop = nullptr;  // polled throughout; nullptr = never
  std::atomic<std::int64_t>* progress = nullptr;  // cells looked at so far
};

enum class GenerateStatus {
  Made,        // `puzzle` holds the new puzzle
  OutOfTime,   // the time budget ran out first
  Stopped,     // the stop flag fired first
  Invalid,     // the options cannot make a puzzle (`reason` says why)
};

struct GenerateResult {
  GenerateStatus status = GenerateStatus::Invalid;
  std::string reason;  // Invalid: what is wrong with the options
  BoardState puzzle;   // Made: Creation mode, the hints alone
  Filling solution;    // Made: the board the hints were taken from, its only solution
  int hints = 0;       // Made: hints kept
  int boards = 0;      // solved boards drawn (more than one when one could not be filled)
};

// The generator's only source of chance: mt19937_64, whose output the C++
// standard fixes, and a reduction of it that is the same everywhere.
class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }

 private:
  std::mt19937_64 engine_;
};

// A random valid solved board of w x h with numbers 1..maxNumber: every
// group of connected equal numbers exactly as large as its number. False
// when none was found (also when the stop flag fired or the size is beyond
// 30 x 40). The benchmark's make_puzzles draws its boards here too.
bool MakeSolvedBoard(int w, int h, int maxNumber, SeededRandom& random, Filling& board,
                     const std::atomic<bool>* stop = nullptr);

// Why the options cannot make a puzzle (size, largest number), for people;
// empty when they can.
std::string OptionsProblem(const GenerateOptions& options);

// Makes one puzzle. Before: any options; after: Made with a puzzle whose only
// solution is `solution`, or why not. Pure in the options: the same options
// give the same puzzle.
GenerateResult Generate(const GenerateOptions& options);

// The file name of the index-th puzzle of a run: "g10x10-s7-3" style, with a
// difficulty other than any added ("g10x10-rules-s7-3").
std::string GeneratedName(const GenerateOptions& options, int index);

}  // namespace numbloc::complete
