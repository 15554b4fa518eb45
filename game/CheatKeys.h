#pragma once
// The developer's short cuts in a running level. With Left Ctrl held, a key pressed in this
// frame (held keys do not repeat):
//   F3  wins: the count board evaluates every frame, with 1 of 1 bots out;
//   F4  loses: the same with 1 of 1 dead (F4 written after F3 when both come together);
//   F5  one more bot from the level's spawner, walking right; else
//   F7  every level unlocked; else
//   F8  only the first level unlocked.
// The scene system calls it once per unpaused frame, after the scene's update and collisions.
namespace CheatKeys
{
void Update();
}   // namespace CheatKeys
