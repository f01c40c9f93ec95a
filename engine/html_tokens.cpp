#include "engine/html_tokens.h"

#include <array>

#include "engine/html_chars.h"

namespace lf {

using html::IsAlpha;
using html::IsSpace;
using html::kEquals;
using html::kGreater;
using html::kSlash;
using html::kSpace;
using html::Lower;
using html::NameEnd;
using html::Next;
using html::SameName;

namespace {

// Of many attributes, the names are looked up in a set instead of one after the other.
constexpr std::size_t kFewAttributes = 8;

// Appends the name, lower-cased.
void AppendName(std::string& out, std::string_view name) {
  static constexpr std::array<char, 256> kLower = [] {
    std::array<char, 256> lower{};
    for (int c = 0; c < 256; ++c) lower[c] = Lower(static_cast<char>(c));
    return lower;
  }();
  const std::size_t start = out.size();
  out.append(name);
  for (char *p = out.data() + start, *end = out.data() + out.size(); p != end; ++p)
    *p = kLower[static_cast<unsigned char>(*p)];
}

std::string LowerName(std::string_view name) {
  std::string lower;
  AppendName(lower, name);
  return lower;
}

// Elements whose contents are text up to their own end tag.
bool HoldsRawText(std::string_view name) {
  static constexpr std::array<std::string_view, 7> kNames = {"title",  "textarea", "style",   "xmp",
                                                             "iframe", "noembed",  "noframes"};
  if (name.size() < 3) return false;
  for (std::string_view raw : kNames)
    if (name == raw) return true;
  return false;
}

}  // namespace

std::optional<std::string_view> HtmlTag::Find(std::string_view name) const {
  for (std::size_t i = 0; i < spans_.size(); ++i)
    if (SameName(AttributeName(i), name)) return AttributeValue(i);
  return std::nullopt;
}

void HtmlTag::Keep() {
  if (kept_) return;
  text_.clear();
  for (Span& span : spans_) {
    const std::size_t name = text_.size();
    text_.append(input_ + span.name, span.nameSize);
    const std::size_t value = text_.size();
    text_.append(input_ + span.value, span.valueSize);
    span.name = name;
    span.value = value;
  }
  kept_ = true;
}

bool HtmlTokenizer::Feed(std::string_view text) {
  tag_.input_ = text.data();
  std::size_t i = 0;
  while (i < text.size() && !stopped_) {
    if (state_ < State::CommentStart)
      i = Outside(text, i);
    else if (state_ < State::TagName)
      i = InComment(text, i);
    else if (state_ < State::RawText)
      i = InTag(text, i);
    else if (state_ < State::Script)
      i = InRawText(text, i);
    else if (state_ < State::ScriptEscaped)
      i = InScript(text, i);
    else
      i = InEscapedScript(text, i);
  }
  // A tag that goes on in the next piece keeps what it holds of this one.
  if (state_ >= State::TagName && state_ < State::RawText) tag_.Keep();
  return !stopped_;
}

std::size_t HtmlTokenizer::Outside(std::string_view text, std::size_t i) {
  const char c = text[i];
  switch (state_) {
    case State::Data: {
      const std::size_t lt = Next(text, i, '<');
      if (lt > i) sink_.Text(text.substr(i, lt - i));
      if (lt == text.size()) return lt;
      state_ = State::TagOpen;
      // The usual case, a tag, is read on at once.
      const bool end = lt + 2 < text.size() && text[lt + 1] == '/';
      if (lt + 1 == text.size() || !IsAlpha(text[lt + 1 + end])) return lt + 1;
      StartTag(end);
      state_ = State::TagName;
      return InTag(text, lt + 1 + end);
    }
    case State::TagOpen:
      if (c == '!') {
        state_ = State::MarkupDeclaration;
      } else if (c == '/') {
        state_ = State::EndTagOpen;
      } else if (IsAlpha(c)) {
        StartTag(false);
        state_ = State::TagName;
        return i;
      } else if (c == '?') {
        state_ = State::BogusComment;
        return i;
      } else {
        sink_.Text("<");
        state_ = State::Data;
        return i;
      }
      return i + 1;
    case State::EndTagOpen:
      if (IsAlpha(c)) {
        StartTag(true);
        state_ = State::TagName;
        return i;
      }
      state_ = c == '>' ? State::Data : State::BogusComment;
      return c == '>' ? i + 1 : i;
    case State::MarkupDeclaration:
      // "<!DOCTYPE", "<![CDATA[" outside foreign content and every other "<!" but a comment
      // end at the next ">", as a bogus comment does.
      state_ = c == '-' ? State::MarkupDash : State::BogusComment;
      return c == '-' ? i + 1 : i;
    case State::MarkupDash:
      state_ = c == '-' ? State::CommentStart : State::BogusComment;
      return c == '-' ? i + 1 : i;
    case State::BogusComment: {
      const std::size_t gt = Next(text, i, '>');
      if (gt < text.size()) state_ = State::Data;
      return gt + 1;
    }
    default:  // PlainText
      sink_.Text(text.substr(i));
      return text.size();
  }
}

std::size_t HtmlTokenizer::InComment(std::string_view text, std::size_t i) {
  const char c = text[i];
  switch (state_) {
    case State::CommentStart:
      state_ = c == '-' ? State::CommentStartDash : c == '>' ? State::Data : State::Comment;
      return c == '-' || c == '>' ? i + 1 : i;
    case State::CommentStartDash:
    case State::CommentEndDash:
      state_ = c == '-'                                        ? State::CommentEnd
               : c == '>' && state_ == State::CommentStartDash ? State::Data
                                                               : State::Comment;
      return state_ == State::Comment ? i : i + 1;
    case State::Comment: {
      const std::size_t dash = Next(text, i, '-');
      if (dash < text.size()) state_ = State::CommentEndDash;
      return dash + 1;
    }
    case State::CommentEnd:
      if (c == '-') return i + 1;
      state_ = c == '>' ? State::Data : c == '!' ? State::CommentEndBang : State::Comment;
      return state_ == State::Comment ? i : i + 1;
    default:  // CommentEndBang
      state_ = c == '-' ? State::CommentEndDash : c == '>' ? State::Data : State::Comment;
      return state_ == State::Comment ? i : i + 1;
  }
}

std::size_t HtmlTokenizer::InTag(std::string_view text, std::size_t i) {
  // A tag is read here to its end, without a way back through Feed for every state. Each
  // state moves i past what it took, or leaves it for the next state to take again.
  while (i < text.size()) {
    if (state_ >= State::ValueDoubleQuoted) {
      if (state_ >= State::RawText) return i;
      i = InValue(text, i);
      continue;
    }
    if (state_ < State::TagName) return i;
    const char c = text[i];
    switch (state_) {
      case State::TagName: {
        const std::size_t end = NameEnd(text, i, kSpace | kSlash | kGreater);
        for (std::size_t k = i; k < end; ++k) tag_.name_.push_back(Lower(text[k]));
        i = end;
        if (end == text.size()) break;
        if (text[end] == '>') {
          EmitTag();
        } else if (text[end] == '/') {
          state_ = State::SelfClosing;
        } else {
          state_ = State::BeforeAttributeName;
          if (!tag_.kept_) i = QuotedAttributes(text, i);
        }
        ++i;
        break;
      }
      case State::BeforeAttributeName:
        if (IsSpace(c)) {
          ++i;
        } else if (c == '/' || c == '>') {
          state_ = State::AfterAttributeName;
        } else {
          StartAttribute(i);
          state_ = State::AttributeName;
          if (c == '=') {
            Take(text, i, i + 1);
            ++tag_.spans_.back().nameSize;
            ++i;
          }
        }
        break;
      case State::AttributeName: {
        const std::size_t end = NameEnd(text, i, kSpace | kSlash | kGreater | kEquals);
        Take(text, i, end);
        tag_.spans_.back().nameSize += end - i;
        i = end;
        if (end < text.size() && text[end] == '=') {
          state_ = State::BeforeAttributeValue;
          ++i;
        } else if (end < text.size()) {
          state_ = State::AfterAttributeName;
        }
        break;
      }
      default:
        i += BetweenAttributes(c, i);
        break;
    }
  }
  return i;
}

std::size_t HtmlTokenizer::BetweenAttributes(char c, std::size_t i) {
  switch (state_) {
    case State::AfterAttributeName:
      if (IsSpace(c)) return 1;
      if (c == '/') {
        state_ = State::SelfClosing;
      } else if (c == '=') {
        state_ = State::BeforeAttributeValue;
      } else if (c == '>') {
        EmitTag();
      } else {
        StartAttribute(i);
        state_ = State::AttributeName;
        return 0;
      }
      return 1;
    case State::BeforeAttributeValue:
      if (IsSpace(c)) return 1;
      if (c == '"' || c == '\'') {
        state_ = c == '"' ? State::ValueDoubleQuoted : State::ValueSingleQuoted;
      } else if (c == '>') {
        EmitTag();
      } else {
        state_ = State::ValueUnquoted;
        return 0;
      }
      return 1;
    case State::AfterValueQuoted:
      if (c == '>') {
        EmitTag();
        return 1;
      }
      state_ = c == '/' ? State::SelfClosing : State::BeforeAttributeName;
      return IsSpace(c) || c == '/' ? 1 : 0;
    default:  // SelfClosing
      if (c == '>') {
        tag_.selfClosing_ = true;
        EmitTag();
        return 1;
      }
      state_ = State::BeforeAttributeName;
      return 0;
  }
}

std::size_t HtmlTokenizer::QuotedAttributes(std::string_view text, std::size_t i) {
  // The usual attributes, NAME="value" or NAME='value' after blanks, are read in one go; at
  // anything else the states go on from where it stands.
  while (true) {
    std::size_t at = i + 1;
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at == text.size() || !IsAlpha(text[at])) return at - 1;
    const std::size_t name = at;
    at = NameEnd(text, at, kSpace | kSlash | kGreater | kEquals);
    if (at + 1 >= text.size() || text[at] != '=' || (text[at + 1] != '"' && text[at + 1] != '\''))
      return name - 1;
    const std::size_t quote = Next(text, at + 2, text[at + 1]);
    if (quote == text.size() || quote + 1 == text.size()) return name - 1;
    StartAttribute(name);
    HtmlTag::Span& span = tag_.spans_.back();
    span.nameSize = at - name;
    span.value = at + 2;
    span.valueSize = quote - at - 2;
    i = quote + 1;
    if (text[i] == '>') {
      EmitTag();
      return i;
    }
    if (!IsSpace(text[i])) {
      state_ = State::AfterValueQuoted;
      return i - 1;
    }
  }
}

std::size_t HtmlTokenizer::InValue(std::string_view text, std::size_t i) {
  HtmlTag::Span& span = tag_.spans_.back();
  if (span.valueSize == 0) span.value = tag_.kept_ ? tag_.text_.size() : i;
  if (state_ == State::ValueUnquoted) {
    const std::size_t end = NameEnd(text, i, kSpace | kGreater);
    Take(text, i, end);
    span.valueSize += end - i;
    if (end == text.size()) return end;
    if (text[end] == '>')
      EmitTag();
    else
      state_ = State::BeforeAttributeName;
    return end + 1;
  }
  const std::size_t quote = Next(text, i, state_ == State::ValueDoubleQuoted ? '"' : '\'');
  Take(text, i, quote);
  span.valueSize += quote - i;
  if (quote < text.size()) state_ = State::AfterValueQuoted;
  return quote + 1;
}

void HtmlTokenizer::StartTag(bool end) {
  tag_.name_.clear();
  tag_.end_ = end;
  tag_.selfClosing_ = false;
  tag_.kept_ = false;
  tag_.spans_.clear();
  if (!names_.empty()) names_.clear();
  seen_ = 0;
  inAttribute_ = false;
}

void HtmlTokenizer::StartAttribute(std::size_t i) {
  EndAttribute();
  tag_.spans_.push_back({tag_.kept_ ? tag_.text_.size() : i, 0, 0, 0});
  inAttribute_ = true;
}

void HtmlTokenizer::Take(std::string_view text, std::size_t i, std::size_t end) {
  if (tag_.kept_) tag_.text_.append(text.substr(i, end - i));
}

void HtmlTokenizer::EndAttribute() {
  if (!inAttribute_) return;
  inAttribute_ = false;
  std::vector<HtmlTag::Span>& spans = tag_.spans_;
  const std::size_t last = spans.size() - 1;
  const std::string_view name = tag_.AttributeName(last);
  bool repeated = false;
  if (spans.size() <= kFewAttributes) {
    // A name of a length and first letter not seen in the tag before is new at once.
    const unsigned char first = name.empty() ? 0 : static_cast<unsigned char>(Lower(name[0]));
    const std::uint64_t bit = std::uint64_t{1} << ((name.size() + first) % 64);
    const bool maybe = (seen_ & bit) != 0;
    seen_ |= bit;
    for (std::size_t i = 0; maybe && i < last && !repeated; ++i)
      repeated = spans[i].nameSize == name.size() && SameName(tag_.AttributeName(i), name);
  } else {
    if (names_.empty())
      for (std::size_t i = 0; i < last; ++i) names_.insert(LowerName(tag_.AttributeName(i)));
    repeated = !names_.insert(LowerName(name)).second;
  }
  if (!repeated) return;
  if (tag_.kept_) tag_.text_.resize(spans[last].name);
  spans.pop_back();
}

bool HtmlTokenizer::EmitTag() {
  EndAttribute();
  state_ = State::Data;
  if (!tag_.end_ && tag_.name_.size() >= 3) {
    if (tag_.name_ == "plaintext") {
      state_ = State::PlainText;
    } else if (tag_.name_ == "script" || HoldsRawText(tag_.name_)) {
      rawEnd_ = tag_.name_;
      state_ = tag_.name_ == "script" ? State::Script : State::RawText;
    }
  }
  stopped_ = !sink_.Tag(tag_);
  return !stopped_;
}

void HtmlTokenizer::Finish() {
  if (stopped_) return;
  if (state_ == State::TagOpen || state_ == State::RawLessThan || state_ == State::ScriptLessThan ||
      state_ == State::ScriptEscapedLessThan) {
    sink_.Text("<");
  } else if (state_ == State::EndTagOpen) {
    sink_.Text("</");
  } else if (state_ == State::RawEndTagOpen || state_ == State::RawEndTagName) {
    sink_.Text(pending_);
  } else if (state_ >= State::TagName && state_ < State::RawText) {
    EndAttribute();
    if (!tag_.end_) sink_.CutOff(tag_);
  }
  state_ = State::Data;
}

}  // namespace lf
