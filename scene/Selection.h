#pragma once
// The editor's selection as something may use it: SelectedEntity stands only while the current
// scene holds that very entity (compared by address, never followed before it is found) and
// the entity is not marked destroyed. Entities die in the list's update, through a killer, a
// scene change, a cheat key or an overlay; whoever uses the selection checks it first.
class Entity;

// SelectedEntity when it still stands, else null, with SelectedEntity cleared.
Entity* CheckedSelection();
