#pragma once
// Small widgets and helpers every editor window shares, over Dear ImGui 1.86.
#include <cstddef>
#include <string>
#include <string_view>

// What 1.86 lacks: a label followed by a horizontal rule to the right edge of the window.
void SeparatorText(const char* label);

// The next window (a popup) opens in the middle of the screen, whatever its size.
void CentreNextWindow();
// Where texts of a popup that sizes itself wrap, in the popup's own coordinates.
float PopupTextWidth();

// Why something failed, in red, wrapped to the window's width.
void ProblemText(const std::string& text);

// Copies text into a fixed buffer of `size` bytes (terminator included), cut on a UTF-8 character
// boundary when it is too long, so the buffer never ends in half a character.
void CopyToBuffer(char* buffer, size_t size, std::string_view text);
