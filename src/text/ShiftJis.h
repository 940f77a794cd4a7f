// Shift-JIS (windows-31j) text: the encoding of every name and text the map
// files store. Conversions go through Qt's ICU-backed converters.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace sjis {

// True when b starts a two-byte character.
inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of at most maxBytes that does not split a character.
std::string_view CutToBytes(std::string_view bytes, size_t maxBytes);

// Bytes to text; bytes that are not Shift-JIS (including a lead byte cut off
// at the end) become U+FFFD rather than vanishing.
QString ToUnicode(std::string_view bytes);
// Text to bytes; a character Shift-JIS cannot hold becomes "?", as the
// system's own conversion does. lossless, when given, tells whether every
// character was kept.
std::string FromUnicode(const QString& text, bool* lossless = nullptr);

// SplitField: head is the text before the first sep, rest the text after it
// (rest empty when sep does not occur); both cut to 255 bytes, at a character
// boundary.
void SplitField(char sep, std::string_view source, std::string& head, std::string& rest);

}  // namespace sjis
