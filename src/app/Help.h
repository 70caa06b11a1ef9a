#pragma once
// The help pages: one HTML page per topic in the "help" folder beside the program,
// opened in the user's browser.
#include <string>

namespace qrx {

class TKRESHForm;

// The topics the program's windows ask for.
extern const char* const kHelpTopics[9];

// The page of a topic: <program directory>\help\<topic>.html.
std::string HelpFileName(const std::string& topic);
// The folder the pages are in.
std::string HelpDirectory();
// Opens the topic's page; a page that is missing or cannot be opened is reported in
// an error box over the form.
void ShowHelpTopic(TKRESHForm& form, const std::string& topic);

}  // namespace qrx
