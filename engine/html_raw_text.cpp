// The states of the tokenizer (html_tokens.h) in the text of the elements that hold raw text:
// up to their own end tag, and for SCRIPT as far as its escapes ("<!--", "<script") let it
// end there.
#include "engine/html_chars.h"
#include "engine/html_tokens.h"

namespace lf {

using html::IsAlpha;
using html::IsSpace;
using html::Lower;
using html::Next;

std::size_t HtmlTokenizer::InRawText(std::string_view text, std::size_t i) {
  const char c = text[i];
  switch (state_) {
    case State::RawText: {
      const std::size_t lt = Next(text, i, '<');
      if (lt > i) sink_.Text(text.substr(i, lt - i));
      if (lt < text.size()) state_ = State::RawLessThan;
      return lt + 1;
    }
    case State::RawLessThan:
      if (c == '/') {
        pending_ = "</";
        rawState_ = State::RawText;
        state_ = State::RawEndTagOpen;
        return i + 1;
      }
      sink_.Text("<");
      state_ = State::RawText;
      return i;
    case State::RawEndTagOpen:
      if (IsAlpha(c)) {
        StartTag(true);
        state_ = State::RawEndTagName;
        return i;
      }
      break;
    default:  // RawEndTagName
      if (IsAlpha(c)) {
        tag_.name_.push_back(Lower(c));
        pending_.push_back(c);
        return i + 1;
      }
      if ((IsSpace(c) || c == '/' || c == '>') && AppropriateEndTag()) {
        state_ = State::TagName;
        return i;
      }
      break;
  }
  // Not the end of the raw text: what looked like its beginning is text.
  sink_.Text(pending_);
  state_ = rawState_;
  return i;
}

std::size_t HtmlTokenizer::InScript(std::string_view text, std::size_t i) {
  const char c = text[i];
  switch (state_) {
    case State::Script: {
      const std::size_t lt = Next(text, i, '<');
      if (lt > i) sink_.Text(text.substr(i, lt - i));
      if (lt < text.size()) state_ = State::ScriptLessThan;
      return lt + 1;
    }
    case State::ScriptLessThan:
      if (c == '/') {
        pending_ = "</";
        rawState_ = State::Script;
        state_ = State::RawEndTagOpen;
        return i + 1;
      }
      sink_.Text(c == '!' ? "<!" : "<");
      state_ = c == '!' ? State::ScriptEscapeStart : State::Script;
      return c == '!' ? i + 1 : i;
    case State::ScriptEscapeStart:
    case State::ScriptEscapeStartDash:
      if (c != '-') {
        state_ = State::Script;
        return i;
      }
      sink_.Text("-");
      state_ = state_ == State::ScriptEscapeStart ? State::ScriptEscapeStartDash
                                                  : State::ScriptEscapedDashDash;
      return i + 1;
    default:
      return i;
  }
}

std::size_t HtmlTokenizer::InEscapedScript(std::string_view text, std::size_t i) {
  const char c = text[i];
  const bool letter = IsAlpha(c);
  const bool tagEnd = IsSpace(c) || c == '/' || c == '>';
  const bool twice = state_ >= State::ScriptDoubleEscapeStart;
  switch (state_) {
    case State::ScriptEscapedLessThan:
      if (c == '/') {
        pending_ = "</";
        rawState_ = State::ScriptEscaped;
        state_ = State::RawEndTagOpen;
        return i + 1;
      }
      sink_.Text("<");
      scriptTag_.clear();
      state_ = letter ? State::ScriptDoubleEscapeStart : State::ScriptEscaped;
      return i;
    case State::ScriptDoubleEscapedLessThan:
      if (c != '/') {
        state_ = State::ScriptDoubleEscaped;
        return i;
      }
      scriptTag_.clear();
      state_ = State::ScriptDoubleEscapeEnd;
      break;
    case State::ScriptDoubleEscapeStart:
    case State::ScriptDoubleEscapeEnd:
      // A "<script" inside an escaped script begins text that its "</script" does not end,
      // and that one ends.
      if (letter) {
        scriptTag_.push_back(Lower(c));
      } else if (tagEnd) {
        const bool start = state_ == State::ScriptDoubleEscapeStart;
        state_ =
            (scriptTag_ == "script") == start ? State::ScriptDoubleEscaped : State::ScriptEscaped;
      } else {
        state_ = state_ == State::ScriptDoubleEscapeStart ? State::ScriptEscaped
                                                          : State::ScriptDoubleEscaped;
        return i;
      }
      break;
    default: {  // the escaped states and their dashes
      const bool dashes =
          state_ == State::ScriptEscapedDashDash || state_ == State::ScriptDoubleEscapedDashDash;
      const bool dash =
          dashes || state_ == State::ScriptEscapedDash || state_ == State::ScriptDoubleEscapedDash;
      if (c == '-') {
        state_ = !dash   ? (twice ? State::ScriptDoubleEscapedDash : State::ScriptEscapedDash)
                 : twice ? State::ScriptDoubleEscapedDashDash
                         : State::ScriptEscapedDashDash;
      } else if (c == '<') {
        state_ = twice ? State::ScriptDoubleEscapedLessThan : State::ScriptEscapedLessThan;
        if (!twice) return i + 1;
      } else if (c == '>' && dashes) {
        state_ = State::Script;
      } else {
        state_ = twice ? State::ScriptDoubleEscaped : State::ScriptEscaped;
      }
      break;
    }
  }
  sink_.Text(text.substr(i, 1));
  return i + 1;
}

}  // namespace lf
