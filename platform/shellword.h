#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// The text as one word that a POSIX shell reads back as the text: as it is when it holds
// only characters the shell leaves alone, else in single quotes ("it's" becomes
// 'it'\''s'). A command line built from such words runs when it is pasted.
std::string shellWord(std::string_view text);

} // namespace tarvelo
