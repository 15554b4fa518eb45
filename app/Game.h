#pragma once
// The game as the engine runs it: the ten engine systems in start-up order, with the engine's
// hooks connected to the layers above it (icon, resize, focus, cursor marker, settings save).
// The game's entry point and the frame benchmark build the same game through this one call.
class Engine;

void BuildGame(Engine& engine);
