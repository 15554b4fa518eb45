#pragma once
// The real game in this process, built as the game's entry point builds it, run through the
// engine's own loop in the window of the display it is given. Each run is one process's whole
// life (the engine systems start and stop once), so the driver starts one process per run.
#include <string>

struct RunFigures
{
    int frames = 0;
    double cpuSeconds = 0;                // user + system time of every thread while the frames ran
    double wallSeconds = 0;               // the same span on the clock
    long peakKilobytes = 0;               // the process's peak resident size over its whole life
    int botsAtStart = 0, botsAtEnd = 0;   // bots in the level when the measured frames begin and end
    std::string error;                    // empty when the figures stand
};

// Level 1 with its hatch open and 200 bots out, ten of them digging, the frame limiter off; 240
// frames of 1/60 s of game time each.
RunFigures RunBusyLevel();
// The main menu with nothing hovered and nothing pressed, at the frame cap.
RunFigures RunIdleMenu();
