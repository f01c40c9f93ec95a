// The text of names and addresses in the HTML of a bookmark file: character references are
// decoded when the file is read and the characters HTML reserves are escaped when it is
// written, so that what the program keeps is the text itself.
#pragma once

#include <string>
#include <string_view>

namespace lf {

// The text of a title, folder name (name set) or HREF value in the program's form: the
// references "&amp; &lt; &gt; &quot; &apos; &nbsp;", "&#N;" and "&#xH;" are decoded once, a
// character beyond Shift-JIS becomes its reference and an "&" that would read as one "&#38;"
// (platform/codepage.h). A name has every "\" as "&#92;", so that it never separates folders;
// an address keeps its "\". A reference to a control character stays as the text it is.
std::string DecodeHtml(std::string_view sjis, bool name);
// True when DecodeHtml gives the text back as it is.
bool HtmlIsText(std::string_view sjis, bool name);

// The same text for a bookmark file: "&", "<", ">" and '"' of a name (only "&" and '"' of an
// address) as their HTML references. References of the program's text stay as they stand and
// are shown as their characters by a browser, except "&#38;", written "&amp;", and "&#92;",
// written "\" as the file held it.
std::string EscapeHtml(std::string_view sjis, bool name);

// The text of a line without its markup: nothing up to the first ">", nothing from each "<"
// to the next ">", and no ">" at all. A view into the line where the text is one piece of
// it, else into scratch.
std::string_view StripTags(std::string_view line, std::string& scratch);

// A line of a UTF-8 bookmark file in Shift-JIS: characters beyond Shift-JIS as references,
// an "&" left as it is for DecodeHtml to take.
std::string Utf8MarkupToSjis(std::string_view line);

}  // namespace lf
