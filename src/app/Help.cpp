#include "app/Help.h"

#include "app/Grepmain.h"
#include "app/StartUp.h"

#include <shellapi.h>

namespace qrx {

const char* const kHelpTopics[9] = {"Contents",           "Regular_Expressions",   "DOS_Expressions",
                                    "Advanced_Search_Options", "Properties_Editor", "Properties_Custom_IDE",
                                    "Properties_Options", "Properties_Colors",     "Properties_Fonts"};

std::string HelpDirectory() { return ProgramDirectory() + "\\help"; }

std::string HelpFileName(const std::string& topic) { return HelpDirectory() + "\\" + topic + ".html"; }

void ShowHelpTopic(TKRESHForm& form, const std::string& topic) {
  const std::string page = HelpFileName(topic);
  DWORD attributes = ::GetFileAttributesA(page.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    form.ShowMessageDialog("The help page " + page + " cannot be found.", MsgKind::Error);
    return;
  }
  // The browser is another program: the window stays where it is in the z-order.
  auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(form.Handle(), "open", page.c_str(), nullptr, HelpDirectory().c_str(), SW_SHOWNORMAL));
  if (result <= 32)
    form.ShowMessageDialog("The help page " + page + " could not be opened (error " + std::to_string(result) + ").",
                           MsgKind::Error);
}

}  // namespace qrx
