#pragma once
// The one error type of the outline control and the texts it carries.
#include <stdexcept>

class EOutlineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace qrx::outline {

inline constexpr const char kIndexNotFound[] = "Outline index not found";
inline constexpr const char kParentNotExpanded[] = "Parent must be expanded";
inline constexpr const char kInvalidIndex[] = "Invalid outline index";
inline constexpr const char kInvalidSelection[] = "Invalid selection";
inline constexpr const char kFileLoadError[] = "File load error";
inline constexpr const char kLineTooLong[] = "Line too long";
inline constexpr const char kMaxDepthExceeded[] = "Maximum outline depth exceeded";

}  // namespace qrx::outline
