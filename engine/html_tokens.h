// The tags and the text of HTML as a browser tells them apart (the WHATWG tokenizer's states),
// read in pieces that may end anywhere: a tag, an attribute value or a comment may go on in
// the next piece. Every byte is looked at once, so the time grows with the input alone.
//
// Text is Shift-JIS: none of the bytes that end tags, values or comments is ever the second
// byte of a character. Character references are left as written (DecodeHtml takes them).
// Tag names are lower-cased; of attributes of one name in any letter case the first is kept.
// What the tree builder does to the tokenizer is done here as browsers do it: the text of
// TITLE and TEXTAREA, of STYLE, XMP, IFRAME, NOEMBED and NOFRAMES is text up to its own end
// tag, that of SCRIPT as far as its escapes let it end, and everything after PLAINTEXT is
// text (as in a document without scripts, which a file of bookmarks is).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace lf {

// A start or end tag with its attributes. The names and values are views into the input
// the tag was read from, until Keep copies them into the tag itself (as the tokenizer does
// for a tag that goes on in the next piece of input).
class HtmlTag {
 public:
  // Lower-case.
  std::string_view Name() const { return name_; }
  bool IsEnd() const { return end_; }
  bool SelfClosing() const { return selfClosing_; }
  std::size_t AttributeCount() const { return spans_.size(); }
  // As written: compare it ignoring the letter case, as Find does.
  std::string_view AttributeName(std::size_t i) const {
    return {Base() + spans_[i].name, spans_[i].nameSize};
  }
  // As written: references not decoded.
  std::string_view AttributeValue(std::size_t i) const {
    return {Base() + spans_[i].value, spans_[i].valueSize};
  }
  // The value of the attribute of that lower-case name in any letter case, if the tag has one.
  std::optional<std::string_view> Find(std::string_view name) const;
  // Holds the attributes in the tag itself, so that they outlive the input.
  void Keep();

 private:
  friend class HtmlTokenizer;
  struct Span {
    std::size_t name;  // offsets from Base()
    std::size_t nameSize;
    std::size_t value;
    std::size_t valueSize;
  };
  const char* Base() const { return kept_ ? text_.data() : input_; }

  std::string name_;
  bool end_ = false;
  bool selfClosing_ = false;
  bool kept_ = false;            // the names and values are in text_
  const char* input_ = nullptr;  // else in the input
  std::string text_;
  std::vector<Span> spans_;
};

// Where the tokenizer hands what it reads.
class HtmlSink {
 public:
  virtual ~HtmlSink() = default;
  // Text between tags (also a "<" that begins no tag), in pieces as the input came.
  virtual void Text(std::string_view text) = 0;
  // A whole tag, valid until the next piece of input is read (HtmlTag::Keep); false stops
  // the reading.
  virtual bool Tag(const HtmlTag& tag) = 0;
  // A start tag that the end of the input cut off, which a browser drops.
  virtual void CutOff(const HtmlTag& tag) { (void)tag; }
};

class HtmlTokenizer {
 public:
  explicit HtmlTokenizer(HtmlSink& sink) : sink_(sink) {}

  // Reads the next piece of the input, which needs to stay as it is only until Feed returns;
  // false once the sink has stopped the reading.
  bool Feed(std::string_view text);
  // The end of the input: what is still open is handed over as a browser would.
  void Finish();

 private:
  // In the order of the functions that read them (see Feed).
  enum class State : unsigned char {
    // Outside
    Data,
    TagOpen,
    EndTagOpen,
    MarkupDeclaration,
    MarkupDash,
    BogusComment,
    PlainText,
    // InComment
    CommentStart,
    CommentStartDash,
    Comment,
    CommentEndDash,
    CommentEnd,
    CommentEndBang,
    // InTag
    TagName,
    BeforeAttributeName,
    AttributeName,
    AfterAttributeName,
    BeforeAttributeValue,
    AfterValueQuoted,
    SelfClosing,
    // InValue
    ValueDoubleQuoted,
    ValueSingleQuoted,
    ValueUnquoted,
    // InRawText
    RawText,
    RawLessThan,
    RawEndTagOpen,
    RawEndTagName,
    // InScript
    Script,
    ScriptLessThan,
    ScriptEscapeStart,
    ScriptEscapeStartDash,
    // InEscapedScript
    ScriptEscaped,
    ScriptEscapedDash,
    ScriptEscapedDashDash,
    ScriptEscapedLessThan,
    ScriptDoubleEscapeStart,
    ScriptDoubleEscaped,
    ScriptDoubleEscapedDash,
    ScriptDoubleEscapedDashDash,
    ScriptDoubleEscapedLessThan,
    ScriptDoubleEscapeEnd,
  };

  // Each reads the input from i on in the states it is named for and returns where the
  // next state goes on reading.
  std::size_t Outside(std::string_view text, std::size_t i);
  std::size_t InComment(std::string_view text, std::size_t i);
  std::size_t InRawText(std::string_view text, std::size_t i);
  std::size_t InScript(std::string_view text, std::size_t i);
  std::size_t InEscapedScript(std::string_view text, std::size_t i);
  std::size_t InTag(std::string_view text, std::size_t i);  // also the values
  // How far the state after an attribute name or value takes c at i: 1, or 0 when the next
  // state takes it again.
  std::size_t BetweenAttributes(char c, std::size_t i);
  std::size_t InValue(std::string_view text, std::size_t i);
  // Reads the attributes after a tag's name (which ends at i) while they are of the usual
  // form; returns where the state it leaves in ends, the next byte to take less one.
  std::size_t QuotedAttributes(std::string_view text, std::size_t i);

  void StartTag(bool end);
  // Begins an attribute whose name begins at i.
  void StartAttribute(std::size_t i);
  // Takes text from i to end into the name or value being read, where the tag keeps them.
  void Take(std::string_view text, std::size_t i, std::size_t end);
  // Drops the attribute just read when the tag has one of its name already.
  void EndAttribute();
  // Hands the tag over and goes on in the state it leads to; false when the sink stopped.
  bool EmitTag();
  bool AppropriateEndTag() const { return tag_.name_ == rawEnd_; }

  HtmlSink& sink_;
  State state_ = State::Data;
  HtmlTag tag_;
  bool inAttribute_ = false;
  bool stopped_ = false;
  std::string rawEnd_;                     // the element whose end tag ends the raw text
  State rawState_ = State::RawText;        // the state of raw text an end tag may end
  std::string pending_;                    // "</" and the letters read after it in raw text
  std::string scriptTag_;                  // the letters of a tag inside an escaped script
  std::unordered_set<std::string> names_;  // the lower-case attribute names of a tag with many
  std::uint64_t seen_ = 0;  // a bit for each length and first letter of the tag's names
};

}  // namespace lf
