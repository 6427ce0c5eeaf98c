#pragma once
// Writing and opening the message page.
#include <string_view>

#include "core/working_fields.h"

namespace fbwb {

// Does nothing when fields.mHtmMsg is empty or blank. Otherwise creates the temp folder (trimmed)
// with its missing parents, replaces mHtmMsg by the whole page text, writes it into the folder under
// the file name (saveHtmlPage: in the code page that the page declares) and opens it with "open" in
// a normal window. A write failure throws std::runtime_error with the system's text, before anything
// is opened.
void showMessagePage(WorkingFields& fields, std::string_view tempFolder, std::string_view fileName);

}  // namespace fbwb
