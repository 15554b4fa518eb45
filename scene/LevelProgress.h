#pragma once
// The player's progress through the levels: which levels exist, which may be played, the level
// numbers and labels read from scene file names, and the unlocking of the next level on a win.
// Reading a number from a name never throws: a digit run too long for an int is no number.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Scene;

// The levels the player may play, in the order they were unlocked: {1} at start; loading the
// settings file adds to it and never removes.
extern std::vector<int> LevelCompleted;
// Every level of the game.
extern const std::vector<int> LevelList;
// True once the last level has been won: it unlocks no level, so this is what remembers it.
extern bool LastLevelWon;

// The first run of decimal digits in the text as an int; nothing when there is no digit or the
// run does not fit an int.
std::optional<int> FirstNumberIn(std::string_view text);

// The file-name part of a path, after its last '/' or '\\'.
std::string_view FileNameOf(std::string_view path);

// "Level " and the rest of the scene file's stem after "LevelScene"; "error" for a null scene,
// a path without separator or extension, or a stem that does not begin with "LevelScene".
std::string LevelNumberFromScene(const Scene* scene);

// True when the level may be played.
bool IsLevelUnlocked(int level);
// True when the level was won: winning a level unlocks the one after it; the last level, which
// has none, counts as won by LastLevelWon.
bool IsLevelCompleted(int level);

// Adds a level to LevelCompleted unless it is there already; true when it was added.
bool AddUnlockedLevel(int level);

// The level was won: lays the win screen over it, unlocks the level after the current scene's
// number (level 1 for a scene file without one) when the game has that level (else, for the last
// level, sets LastLevelWon), and saves the progress at once.
void UnlockNextLevel();
