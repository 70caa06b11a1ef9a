#pragma once
// What every match of an expression must contain, so that a search can look for it over
// whole blocks and hand only the lines that hold it to the expression component.
#include <string>
#include <string_view>

namespace qrx {

// The longest run of plain bytes every match of the expression holds, or "" when none can
// be told (an alternative at the top, nothing but classes and repeats). Errs towards "".
std::string RequiredText(std::string_view pattern);

}  // namespace qrx
