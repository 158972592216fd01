#pragma once
#include "platform/export.h"
#include <QString>

// Every text width of the system is counted in bytes of the GBK code page.
namespace gbk {
// Code points below 0x80 count one byte, all others two.
COMMON_EXPORT int byteLength(const QString &text);
// The longest prefix of at most maxBytes bytes that does not split a character.
COMMON_EXPORT QString leftBytes(const QString &text, int maxBytes);
// The first character of the text that GBK cannot encode (an emoji, a rare ideograph beyond GBK), empty
// when every character has its GBK code.
COMMON_EXPORT QString firstUnencodable(const QString &text);
// Removes ASCII blanks at both ends only (a full-width blank is text).
COMMON_EXPORT QString trimBlanks(const QString &text);
// Orders two texts as their GBK bytes compare (the common characters thus in pinyin order): <0, 0 or >0.
// Characters GBK lacks come after every GBK character, each in the place of its code point, and bytes that begin
// no well-formed UTF-8 character after those; only equal texts compare equal. The order comes from the GBK
// table the program carries, not from a converter.
// A text compares as its UTF-8 bytes below; a lone surrogate half as bytes of its own (malformed), not as '?'.
COMMON_EXPORT int compare(QStringView a, QStringView b);
// The same order for UTF-8 texts, as the database holds them.
COMMON_EXPORT int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);
// The version of that order. Indexes on disk keep texts in it, so raise it whenever the table or the rules
// change: a database written in another version has its indexes rebuilt when it is next connected.
inline constexpr int kOrderVersion = 1;
} // namespace gbk
