#include "XmlMarkup.h"

#include "Utf16Text.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {
namespace {

constexpr uint32_t kFirstElementCapacity = 500;

struct Entity {
  const wchar_t* name;  // with the ampersand and the semicolon
  size_t length;
  wchar_t character;
};

const Entity kEntities[] = {
    {L"&amp;", 5, L'&'}, {L"&lt;", 4, L'<'}, {L"&gt;", 4, L'>'},
    {L"&quot;", 6, L'"'}, {L"&apos;", 6, L'\''},
};

bool IsSpace(wchar_t c) { return c > 0 && c <= 32; }

void SkipWhitespace(wchar_t*& p) {
  while (IsSpace(*p)) ++p;
}

// Element and attribute names; anything beyond ASCII counts as a letter.
bool IsNameChar(wchar_t c) {
  return c == L'_' || c == L':' || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
         (c >= L'0' && c <= L'9') || static_cast<uint32_t>(c) >= 0x80;
}

wchar_t FoldCase(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool EqualsIgnoringCase(const wchar_t* a, const wchar_t* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    if (FoldCase(*a) != FoldCase(*b)) return false;
  }
  return *a == *b;
}

void CopyText(const wchar_t* text, size_t available, wchar_t* buffer, size_t length) {
  if (buffer == nullptr || length == 0) return;
  size_t n = 0;
  while (n + 1 < length && n < available && text[n] != 0) {
    buffer[n] = text[n];
    ++n;
  }
  buffer[n] = 0;
}

std::unique_ptr<wchar_t[]> MakeText(const std::wstring& text) {
  std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[text.size() + 1]);
  if (buffer) {
    std::copy(text.begin(), text.end(), buffer.get());
    buffer[text.size()] = 0;
  }
  return buffer;
}

std::wstring AnsiToUtf16Units(const uint8_t* bytes, size_t size) {
#ifdef _WIN32
  if (size == 0 || size > 0x7FFFFFFF) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes),
                                    static_cast<int>(size), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes), static_cast<int>(size),
                      &text[0], n);
  return text;
#else
  // Hosts without a system code page read the bytes as Latin-1.
  return std::wstring(bytes, bytes + size);
#endif
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CXmlMarkupNode

CXmlMarkupNode::CXmlMarkupNode(CXmlMarkup* owner, uint32_t position)
    : position_(position), owner_(owner) {}

CXmlMarkupNode CXmlMarkupNode::Other(uint32_t position) const {
  if (owner_ == nullptr || position == 0) return CXmlMarkupNode();
  return CXmlMarkupNode(owner_, position);
}

bool CXmlMarkupNode::IsValid() const { return owner_ != nullptr; }

CXmlMarkupNode CXmlMarkupNode::Parent() const {
  return owner_ ? Other(owner_->elements_[position_].parent) : CXmlMarkupNode();
}

CXmlMarkupNode CXmlMarkupNode::NextSibling() const {
  return owner_ ? Other(owner_->elements_[position_].next) : CXmlMarkupNode();
}

CXmlMarkupNode CXmlMarkupNode::FirstChild() const {
  return owner_ ? Other(owner_->elements_[position_].child) : CXmlMarkupNode();
}

CXmlMarkupNode CXmlMarkupNode::ChildByName(const wchar_t* name) const {
  if (owner_ == nullptr || name == nullptr) return CXmlMarkupNode();
  for (uint32_t at = owner_->elements_[position_].child; at != 0;
       at = owner_->elements_[at].next) {
    if (EqualsIgnoringCase(owner_->text_.get() + owner_->elements_[at].start, name))
      return CXmlMarkupNode(owner_, at);
  }
  return CXmlMarkupNode();
}

bool CXmlMarkupNode::HasSiblings() const {
  return owner_ != nullptr && owner_->elements_[position_].next != 0;
}

bool CXmlMarkupNode::HasChildren() const {
  return owner_ != nullptr && owner_->elements_[position_].child != 0;
}

const wchar_t* CXmlMarkupNode::Name() const {
  return owner_ ? owner_->text_.get() + owner_->elements_[position_].start : nullptr;
}

const wchar_t* CXmlMarkupNode::Value() const {
  return owner_ ? owner_->text_.get() + owner_->elements_[position_].data : nullptr;
}

bool CXmlMarkupNode::HasAttributes() const { return AttributeCount() > 0; }

int CXmlMarkupNode::AttributeCount() const {
  if (owner_ == nullptr) return 0;
  if (attributeCount_ == 0) ScanAttributes();
  return static_cast<int>(attributeCount_);
}

const wchar_t* CXmlMarkupNode::AttributeName(int index) const {
  if (owner_ == nullptr) return nullptr;
  if (index < 0 || index >= AttributeCount()) return L"";
  return owner_->text_.get() + attributes_[index].name;
}

const wchar_t* CXmlMarkupNode::AttributeValue(int index) const {
  if (owner_ == nullptr) return nullptr;
  if (index < 0 || index >= AttributeCount()) return L"";
  return owner_->text_.get() + attributes_[index].value;
}

const wchar_t* CXmlMarkupNode::AttributeValue(const wchar_t* name) const {
  if (owner_ == nullptr) return nullptr;
  const int index = FindAttribute(name);
  return index < 0 ? L"" : owner_->text_.get() + attributes_[index].value;
}

bool CXmlMarkupNode::HasAttribute(const wchar_t* name) const {
  return owner_ != nullptr && FindAttribute(name) >= 0;
}

bool CXmlMarkupNode::CopyAttributeValue(int index, wchar_t* buffer, size_t length) const {
  if (owner_ == nullptr || index < 0 || index >= AttributeCount()) return false;
  CopyText(owner_->text_.get() + attributes_[index].value, static_cast<size_t>(-1), buffer,
           length);
  return true;
}

bool CXmlMarkupNode::CopyAttributeValue(const wchar_t* name, wchar_t* buffer,
                                        size_t length) const {
  if (owner_ == nullptr) return false;
  const int index = FindAttribute(name);
  return index >= 0 && CopyAttributeValue(index, buffer, length);
}

int CXmlMarkupNode::FindAttribute(const wchar_t* name) const {
  if (name == nullptr) return -1;
  const int count = AttributeCount();
  for (int i = 0; i < count; ++i) {
    if (EqualsIgnoringCase(owner_->text_.get() + attributes_[i].name, name)) return i;
  }
  return -1;
}

// Walks the runs the parser left between the element name and its data: name, NUL, the
// blanks where "=" stood, a quote, the value, NUL.
void CXmlMarkupNode::ScanAttributes() const {
  attributeCount_ = 0;
  const wchar_t* text = owner_->text_.get();
  const CXmlMarkup::Element& element = owner_->elements_[position_];
  const wchar_t* p = text + element.start;
  const wchar_t* end = text + element.data;
  p += std::wcslen(p) + 1;
  while (p < end && attributeCount_ < kMaxMarkupAttributes) {
    while (p < end && IsSpace(*p)) ++p;
    if (p >= end || !IsNameChar(*p)) return;
    const wchar_t* name = p;
    while (p < end && *p != 0) ++p;
    if (p >= end) return;
    ++p;
    while (p < end && IsSpace(*p)) ++p;
    if (p >= end || *p != L'"') return;
    ++p;
    attributes_[attributeCount_].name = owner_->Offset(name);
    attributes_[attributeCount_].value = owner_->Offset(p);
    ++attributeCount_;
    while (p < end && *p != 0) ++p;
    ++p;
  }
}

// ---------------------------------------------------------------------------------------
// CXmlMarkup

CXmlMarkup::CXmlMarkup(const wchar_t* text) {
  if (text != nullptr) LoadText(text);
}

CXmlMarkup::~CXmlMarkup() = default;

bool CXmlMarkup::LoadText(const wchar_t* text) {
  Clear();
  if (text == nullptr) return false;
  return TakeText(MakeText(std::wstring(text)));
}

bool CXmlMarkup::LoadBuffer(const void* bytes, size_t size, int encoding) {
  Clear();
  if (bytes == nullptr && size != 0) return false;
  const uint8_t* data = static_cast<const uint8_t*>(bytes);
  std::wstring text;
  if (encoding == kEncodingUtf8) {
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
      data += 3;
      size -= 3;
    }
    text = Utf8ToUtf16Units(data, size);
  } else if (encoding == kEncodingAnsi) {
    text = AnsiToUtf16Units(data, size);
  } else {
    const bool bigEndian = size >= 2 && data[0] == 0xFE && data[1] == 0xFF;
    const bool littleEndian = size >= 2 && data[0] == 0xFF && data[1] == 0xFE;
    if (!bigEndian && !littleEndian) {
      FailLoad(L"Missing byte-order mark");
      return false;
    }
    const size_t count = size / 2 - 1;
    text.resize(count);
    for (size_t i = 0; i < count; ++i) {
      const uint8_t a = data[2 + 2 * i], b = data[3 + 2 * i];
      text[i] = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
  }
  return TakeText(MakeText(text));
}

void CXmlMarkup::Clear() {
  text_.reset();
  elements_.clear();
  elements_.shrink_to_fit();
  hasElements_ = false;
}

bool CXmlMarkup::IsValid() const { return hasElements_; }

void CXmlMarkup::SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }

void CXmlMarkup::GetErrorMessage(wchar_t* buffer, size_t length) const {
  CopyText(errorMessage_, kErrorMessageChars, buffer, length);
}

void CXmlMarkup::GetErrorLocation(wchar_t* buffer, size_t length) const {
  CopyText(errorLocation_, kErrorLocationChars, buffer, length);
}

CXmlMarkupNode CXmlMarkup::Root() {
  if (!hasElements_ || elements_.size() < 2) return CXmlMarkupNode();
  return CXmlMarkupNode(this, 1);
}

bool CXmlMarkup::TakeText(std::unique_ptr<wchar_t[]> text) {
  if (!text) {
    FailLoad(L"Failed to allocate memory");
    return false;
  }
  text_ = std::move(text);
  if (!Parse()) {
    Clear();
    return false;
  }
  return true;
}

uint32_t CXmlMarkup::Offset(const wchar_t* at) const {
  return static_cast<uint32_t>(at - text_.get());
}

bool CXmlMarkup::Fail(const wchar_t* message, const wchar_t* at) {
  CopyText(message, kErrorMessageChars, errorMessage_, kErrorMessageChars);
  CopyText(at, kErrorLocationChars - 1, errorLocation_, kErrorLocationChars);
  return false;
}

void CXmlMarkup::FailLoad(const wchar_t* message) {
  Clear();
  CopyText(message, kErrorMessageChars, errorMessage_, kErrorMessageChars);
  errorLocation_[0] = 0;
}

uint32_t CXmlMarkup::AddElement(uint32_t start, uint32_t parent) {
  if (elements_.size() == elements_.capacity()) {
    const size_t capacity = elements_.capacity();
    elements_.reserve(capacity == 0 ? kFirstElementCapacity
                                    : capacity + capacity / 2 + kFirstElementCapacity);
  }
  elements_.push_back(Element{start, 0, 0, parent, 0});
  return static_cast<uint32_t>(elements_.size() - 1);
}

bool CXmlMarkup::Parse() {
  elements_.clear();
  AddElement(0, 0);  // the sentinel no handle names
  hasElements_ = true;
  errorMessage_[0] = 0;
  errorLocation_[0] = 0;
  wchar_t* cursor = text_.get();
  if (!ParseChildren(0, 0, cursor)) return false;
  // A closing tag that no element opened.
  if (*cursor == L'<') return Fail(L"Unmatched closing tag", cursor);
  return true;
}

bool CXmlMarkup::ParseChildren(uint32_t parent, size_t depth, wchar_t*& p) {
  if (depth >= kMaxNestingDepth) return Fail(L"Elements nested too deeply", p);
  SkipWhitespace(p);
  uint32_t previous = 0;
  for (;;) {
    if (*p == 0 && parent <= 1) return true;
    SkipWhitespace(p);
    if (*p != L'<') return Fail(L"Expected start tag", p);
    if (p[1] == L'/') return true;
    *p++ = 0;
    SkipWhitespace(p);
    if (*p == L'!' || *p == L'?') {
      const wchar_t* close = *p == L'!' ? L"->" : L"?>";
      wchar_t* found = std::wcsstr(p, close);
      p = found != nullptr ? found + 2 : p + std::wcslen(p);
      SkipWhitespace(p);
      continue;
    }
    const uint32_t index = AddElement(Offset(p), parent);
    if (previous != 0) {
      elements_[previous].next = index;
    } else if (parent != 0) {
      elements_[parent].child = index;
    }
    previous = index;
    wchar_t* name = p;
    while (IsNameChar(*p)) ++p;
    if (*p == 0) return Fail(L"Error parsing element name", p);
    wchar_t* nameEnd = p;
    if (!ParseAttributes(p)) return false;
    SkipWhitespace(p);
    if (p[0] == L'/' && p[1] == L'>') {
      elements_[index].data = Offset(p);
      *p = 0;
      p += 2;
    } else {
      if (*p != L'>') return Fail(L"Expected start-tag closing", p);
      ++p;
      elements_[index].data = Offset(p);
      wchar_t* valueEnd = p;
      ParseValue(p, L'<', valueEnd);
      if (*p == 0 && parent <= 1) {
        // The text ends inside the element: keep its name and value terminated.
        *valueEnd = 0;
        *nameEnd = 0;
        return true;
      }
      if (*p != L'<') return Fail(L"Expected end-tag start", p);
      if (p[1] != L'/' && !ParseChildren(index, depth + 1, p)) return false;
      if (p[0] == L'<' && p[1] == L'/') {
        *valueEnd = 0;
        *p = 0;
        p += 2;
        SkipWhitespace(p);
        const size_t nameLength = static_cast<size_t>(nameEnd - name);
        if (std::wcsncmp(p, name, nameLength) != 0) return Fail(L"Unmatched closing tag", p);
        p += nameLength;
        SkipWhitespace(p);
        if (*p != L'>') return Fail(L"Unmatched closing tag", *p == 0 ? p : p + 1);
        ++p;
      }
    }
    *nameEnd = 0;
    SkipWhitespace(p);
  }
}

bool CXmlMarkup::ParseAttributes(wchar_t*& p) {
  if ((p[0] == L'/' && p[1] == L'>') || p[0] == L'>') return true;
  *p++ = 0;
  SkipWhitespace(p);
  if (*p == 0) return true;
  while (*p != L'>' && *p != L'/') {
    while (IsNameChar(*p)) ++p;
    wchar_t* nameEnd = p;
    SkipWhitespace(p);
    if (*p != L'=') return Fail(L"Error while parsing attributes", p);
    *p = L' ';
    *nameEnd = 0;
    ++p;
    SkipWhitespace(p);
    if (*p != L'"') return Fail(L"Expected attribute value", *p == 0 ? p : p + 1);
    ++p;
    wchar_t* valueEnd = p;
    ParseValue(p, L'"', valueEnd);
    if (*p == 0) return Fail(L"Error while parsing attribute string", p);
    *valueEnd = 0;
    if (valueEnd != p) *p = L' ';
    ++p;
    SkipWhitespace(p);
    if (*p == 0) return true;
  }
  return true;
}

void CXmlMarkup::ParseValue(wchar_t*& p, wchar_t end, wchar_t*& destination) {
  wchar_t* out = p;
  while (*p != 0 && *p != end) {
    if (*p == L'&') {
      const Entity* match = nullptr;
      for (const Entity& entity : kEntities) {
        if (std::wcsncmp(p, entity.name, entity.length) == 0) {
          match = &entity;
          break;
        }
      }
      if (match != nullptr) {
        *out++ = match->character;
        p += match->length;
      } else {
        *out++ = *p++;
      }
      continue;
    }
    if (*p == L' ') {
      *out++ = *p++;
      if (!preserveWhitespace_) SkipWhitespace(p);
      continue;
    }
    *out++ = *p++;
  }
  // The shrunk tail reads as blanks; its first character is left for the terminator.
  for (wchar_t* blank = out + 1; blank < p; ++blank) *blank = L' ';
  destination = out;
}

}  // namespace SkinUI
