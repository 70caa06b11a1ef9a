#pragma once
// The properties dialog's rules that need no window: the number fields and their
// ranges, and the fonts as the settings keep them.
#include "app/Settings.h"

#include <optional>
#include <string>

namespace qrx {

struct TNumberField {
  const char* Label;  // as the dialog shows it, without the colon
  int32_t Min, Max;
};

constexpr TNumberField kMaxFindsField{"Max. Matches Allowed", 1, 15000};
constexpr TNumberField kPreviewLinesField{"Number of lines to Preview", 1, 1000};
constexpr TNumberField kMaxHistoryField{"Max History Items Stored", 0, 30};

// The field's value when the text is a whole number within its range.
std::optional<int32_t> ParseField(const TNumberField& field, const std::string& text);
// What the user is told when a field's text is refused.
std::string FieldMessage(const TNumberField& field, const std::string& text);

LOGFONTA ToLogFont(const TFontSetting& font);
TFontSetting FromLogFont(const LOGFONTA& lf);

}  // namespace qrx
