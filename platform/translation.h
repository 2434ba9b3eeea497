#pragma once

#include <initializer_list>
#include <string>

// The program's texts in the user's language. The core builds its messages from English
// source texts; `translate` looks one up in the translations the desktop program has
// loaded and gives the source text back where none is loaded (tarvelo-cli, tests).
// Texts with "%1", "%2", ... are templates: translate the template, then `fill` fills it,
// so a translation may put the parts in its own order.
//
// A table of texts marks each one with TARVELO_TRANSLATE_NOOP(context, text) so that
// lupdate finds it (lupdate -tr-function-alias QT_TRANSLATE_NOOP=TARVELO_TRANSLATE_NOOP,
// which also keeps the window's QT_TRANSLATE_NOOP texts out of the core's catalog); the
// text is translated where it is used, with the same context.
#define TARVELO_TRANSLATE_NOOP(context, text) text

namespace tarvelo {

std::string translate(const char* context, const char* sourceText);
// Fills a template in one pass: "%1" becomes values[0], "%2" values[1], and so on
// (a marker without a value stays as it is). Text put in is never
// searched for markers again, so a value that holds "%2" stays as it is.
std::string fill(const std::string& templateText, std::initializer_list<std::string> values);

} // namespace tarvelo
