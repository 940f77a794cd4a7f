// Small byte-string helpers shared by the area-name editor and the
// finished-map reader. They work on Shift-JIS bytes: the characters they look
// for (';', '=', '/', ',', blank, tab) never occur as the second byte of a
// double-byte character, so byte-wise search is safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// head := the text before the first c, tail := the text after it; without c
// head is the whole source and tail is empty. c itself goes to neither.
void SplitAt(char c, std::string_view source, std::string& head, std::string& tail);

// Cuts text at its first ';' (a comment), then removes trailing and leading
// blanks and tabs. Returns text for chaining.
std::string& TrimEntry(std::string& text);

// Strict integer of a typed field: optional leading blanks, an optional sign,
// decimal digits and nothing after them; nullopt when malformed or outside
// -32768..32767.
std::optional<int16_t> ParseStrictInt16(std::string_view text);

// Lenient integer of a file field: leading blanks skipped, optional sign, "$"
// for hexadecimal, digits up to the first character that does not belong to
// the number; an empty field reads 0. Clamped to the 16-bit range.
int16_t ParseLenientInt16(std::string_view text);
