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
// A character GBK cannot encode compares as '?', as the encoder writes it.
COMMON_EXPORT int compare(QStringView a, QStringView b);
// The same order for UTF-8 texts, as the database holds them.
COMMON_EXPORT int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);
} // namespace gbk
