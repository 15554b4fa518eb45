#pragma once
// The time from starting the game's binary to the first picture it shows: the screen of an X
// server of its own is read a few rows at a time until the game's first drawn frame appears
// on it. What is read is the screen itself, so a present of an empty buffer does not count.
#include <optional>
#include <string>

// Seconds from the launch to the first drawn frame; empty when none appeared within 20 s.
// The screen of `display` must turn black (nothing on it) within 3 s before the launch.
std::optional<double> LaunchToFirstFrame(const std::string& gameBinary, const std::string& workingFolder,
                                         const std::string& display, std::string& error);
