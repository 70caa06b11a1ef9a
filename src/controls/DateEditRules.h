#pragma once
// How the date edit treats its text: the three parts of a date between the separators,
// and which typed characters it takes. No window: the edit asks these with its text.
#include <string>
#include <utility>

namespace qrx {

// 0-based [first, last) character range of part 1, 2 or 3 of the text: before the first
// separator, between the two, after the second. A part that is missing is empty at the end.
std::pair<int, int> DatePartRange(const std::string& text, char separator, int part);
// The part a caret at this 0-based position belongs to.
int DatePartAt(const std::string& text, char separator, int caret);
// Whether typing the separator in this part moves on to the next one: only while a
// separator follows the part, so that a date can still be typed into an empty box.
bool SeparatorMovesOn(const std::string& text, char separator, int part);

enum class TypedChar { Accept, Beep, Drop };
TypedChar JudgeTypedChar(unsigned char ch, char separator, bool readOnly);

}  // namespace qrx
