#include "ide/GrepcfgValues.h"

#include <cstring>

namespace qrx {

namespace {

// 15000 as "15,000", as the dialog's range labels write it.
std::string Grouped(int32_t value) {
  std::string digits = std::to_string(value < 0 ? -static_cast<int64_t>(value) : value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return value < 0 ? "-" + digits : digits;
}

}  // namespace

std::optional<int32_t> ParseField(const TNumberField& field, const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  const std::string digits = text.substr(begin, end - begin + 1);
  if (digits.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < field.Min || value > field.Max) return std::nullopt;
  return value;
}

std::string FieldMessage(const TNumberField& field, const std::string& text) {
  return "'" + text + "' is not a valid value for " + field.Label + ". Enter a whole number from " +
         Grouped(field.Min) + " to " + Grouped(field.Max) + ".";
}

LOGFONTA ToLogFont(const TFontSetting& font) {
  LOGFONTA lf{};
  lf.lfHeight = font.Height;
  lf.lfWeight = (font.Style & 1) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style & 2) ? TRUE : FALSE;
  lf.lfUnderline = (font.Style & 4) ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Style & 8) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
  return lf;
}

TFontSetting FromLogFont(const LOGFONTA& lf) {
  TFontSetting font;
  font.Name = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  font.Height = lf.lfHeight;
  font.Style = (lf.lfWeight >= FW_BOLD ? 1 : 0) | (lf.lfItalic ? 2 : 0) | (lf.lfUnderline ? 4 : 0) |
               (lf.lfStrikeOut ? 8 : 0);
  return font;
}

}  // namespace qrx
